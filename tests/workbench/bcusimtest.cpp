#include "qstringprinter.h"
#include "temporaryfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct BcusimRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// `timer` runs from before the start, so a wait is never under-counted.
BcusimRun start(const QString &directory, const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(directory);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    BcusimRun run;
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "bcusim did not end";
    }
    run.elapsedMs = timer.elapsed();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

BcusimRun bcusim(const QString &directory, const QStringList &arguments)
{
    return start(directory, QStringLiteral(BCUSIM_FILE), arguments);
}

// A command line as the host runs it: through the shell.
BcusimRun shell(const QString &directory, const QString &commandLine)
{
    return start(directory, QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
}

QStringList args(const char *text)
{
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST(Bcusim, AWriteIsSeenByALaterRead)
{
    TemporaryFolder folder;
    const BcusimRun write = bcusim(folder.path(), args("-M -uo15,5,13 -uo3,0x1,2"));
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.out.contains(QStringLiteral("TAP 3 write control 15, data 5")))
        << write.out.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("iopins.dat"))));

    const BcusimRun read = bcusim(folder.path(), args("-M -ui,124"));
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("iopins.dat")),
              "ioctrl1=15\niodata1=5\nioctrl2=3\niodata2=1\nioctrl4=0\niodata4=0\n");

    // Negative words, as "%d" writes a pattern with bit 31 set, wrap to 32 bits.
    ASSERT_EQ(bcusim(folder.path(), args("-uo-1,-2147483648,4")).exitCode, 0);
    ASSERT_EQ(bcusim(folder.path(), args("-ui,4")).exitCode, 0);
    EXPECT_EQ(folder.read(QStringLiteral("iopins.dat")), "ioctrl4=4294967295\niodata4=2147483648\n");
}

TEST(Bcusim, LevelsAndSwitchesChangeTheKeptState)
{
    const struct { const char *arguments; const char *expectedLines; } cases[] = {
        {"-M -L18,7,13 -L33", "tap1.level=33\ntap1.threshold=16\ntap2.level=33"},
        {"-M -L18,7,13", "tap1.level=18\ntap1.threshold=7\ntap2.level=0\ntap2.threshold=0\n"
                         "tap3.level=18"},
        {"-M -ns -L25", "resets=1\ntap1.level=0"},
        {"-M -nr -L25", "resets=0\ntap1.level=25"},
    };
    for (const auto &c : cases) {
        TemporaryFolder folder;
        const BcusimRun run = bcusim(folder.path(), args(c.arguments));
        ASSERT_EQ(run.exitCode, 0) << c.arguments << run.err.toStdString();
        const QString state = QString::fromUtf8(folder.read(QStringLiteral("bcusim.state")));
        QString expected = QString::fromLatin1(c.expectedLines);
        // Each expected line stands in the state in the order given.
        qsizetype at = 0;
        for (const QString &line : expected.split(u'\n')) {
            at = state.indexOf(line + u'\n', at);
            EXPECT_GE(at, 0) << c.arguments << ": " << line.toStdString() << "\n"
                             << state.toStdString();
            if (at < 0)
                break;
        }
    }
}

TEST(Bcusim, ReadUntilMatchHoldsAtOnceOrTimesOut)
{
    TemporaryFolder folder;
    ASSERT_EQ(bcusim(folder.path(), args("-uo15,5,1 -uo15,6,2")).exitCode, 0);

    const struct { const char *arguments; int exitCode; qint64 minMs; qint64 maxMs; } cases[] = {
        {"-uw15,5,5000,1", 0, 0, 4000},
        {"-uw3,13,5000,1", 0, 0, 4000},        // only the masked bits count
        {"-uw15,5,300,12", 1, 300, 4000},      // TAP 2 does not match: waits, then fails
        {"-uw15,5,0,2", 1, 0, 4000},
        {"-uw15,5,600000,2", 1, 2000, 8000},   // long time-outs are cut to 2 s
    };
    for (const auto &c : cases) {
        const BcusimRun run = bcusim(folder.path(), args(c.arguments));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << run.err.toStdString();
        EXPECT_GE(run.elapsedMs, c.minMs) << c.arguments;
        EXPECT_LT(run.elapsedMs, c.maxMs) << c.arguments;
        if (c.exitCode == 1)
            EXPECT_TRUE(run.out.contains(QStringLiteral("no match"))) << run.out.toStdString();
    }
}

TEST(Bcusim, BadOptionsEndWithCode2AndNameTheOption)
{
    const char *const cases[] = {
        "-x", "-uo5", "-uo5,6,7,8", "-uo0x,1", "-uo5,6,15", "-ui2", "-ui,", "-uw1,2,-5",
        "-uw1,2,3,0", "-L-1", "-L18,9,1,2", "-uo4294967296,0", "word",
    };
    TemporaryFolder folder;
    for (const char *option : cases) {
        const BcusimRun run =
            bcusim(folder.path(), {QStringLiteral("-M"), QString::fromLatin1(option)});
        EXPECT_EQ(run.exitCode, 2) << option;
        EXPECT_TRUE(run.err.contains(QStringLiteral("'%1'").arg(QString::fromLatin1(option))))
            << option << ": " << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("bcusim.state")))) << option;
    }
    const BcusimRun reset = bcusim(folder.path(), args("--reset -uo1,2"));
    EXPECT_EQ(reset.exitCode, 2);
    EXPECT_TRUE(reset.err.contains(QStringLiteral("--reset"))) << reset.err.toStdString();

    const BcusimRun help = bcusim(folder.path(), args("--help"));
    EXPECT_EQ(help.exitCode, 0);
}

TEST(Bcusim, ResetReleasesThePins)
{
    TemporaryFolder folder;
    ASSERT_EQ(bcusim(folder.path(), args("-M -L18 -uo15,5")).exitCode, 0);
    // The reset command line as an instrument's "Reset.0" gives it, through the shell.
    const QString resetLine = QStringLiteral("'%1' --reset").arg(QStringLiteral(BCUSIM_FILE))
                              + QStringLiteral(" -a\"USB 0\"");
    const BcusimRun reset = shell(folder.path(), resetLine);
    ASSERT_EQ(reset.exitCode, 0) << reset.err.toStdString();
    EXPECT_TRUE(reset.out.contains(QStringLiteral("reset controller 'USB 0'")))
        << reset.out.toStdString();
    const QByteArray state = folder.read(QStringLiteral("bcusim.state"));
    EXPECT_TRUE(state.contains("resets=2\n")) << state.constData();
    EXPECT_TRUE(state.contains("tap1.level=0\n")) << state.constData();

    ASSERT_EQ(bcusim(folder.path(), args("-M -nr -ui,1")).exitCode, 0);
    EXPECT_EQ(folder.read(QStringLiteral("iopins.dat")), "ioctrl1=0\niodata1=0\n");
}

TEST(Bcusim, ADamagedStateFileIsNamedAndLeftAlone)
{
    const struct { const char *content; const char *problem; } cases[] = {
        {"tap1.control=5\nnonsense\n", "line 2: expected key=value"},
        {"tap5.data=1\n", "line 1: unknown key 'tap5.data'"},
        {"# note\ntap1.data=x\n", "line 2: bad value 'x' for 'tap1.data'"},
        {"resets=-1\n", "line 1: bad reset count"},
    };
    for (const auto &c : cases) {
        TemporaryFolder folder;
        folder.write(QStringLiteral("bcusim.state"), c.content);
        const BcusimRun run = bcusim(folder.path(), args("-ui"));
        EXPECT_EQ(run.exitCode, 2) << c.content;
        EXPECT_TRUE(run.err.contains(QStringLiteral("bcusim.state, ")))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.problem))) << run.err.toStdString();
        EXPECT_EQ(folder.read(QStringLiteral("bcusim.state")), QByteArray(c.content));
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("iopins.dat"))));
    }
}
