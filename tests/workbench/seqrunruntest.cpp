#include "democopy.h"
#include "seqrunprocess.h"
#include "temporaryfolder.h"

#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

// The HTML of the report a run named on its "Report:" line; empty when it
// named none or the file cannot be read.
QString reportOf(const SeqrunResult &run)
{
    const QRegularExpressionMatch report =
        QRegularExpression(QStringLiteral("Report: (.*\\.html)")).match(run.out);
    QFile file(report.captured(1));
    if (!report.hasMatch() || !file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The stored sequence `title` of the project in `directory`; null when the
// project file cannot be read or has no such sequence.
QDomElement storedSequence(const QString &directory, const QString &title)
{
    QFile file(directory + QStringLiteral("/project.xml"));
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return QDomElement();
    QDomElement sequence = document.documentElement().firstChildElement(QStringLiteral("plugin"))
                               .firstChildElement(QStringLiteral("sequence"));
    while (!sequence.isNull() && sequence.attribute(QStringLiteral("Title")) != title)
        sequence = sequence.nextSiblingElement(QStringLiteral("sequence"));
    return sequence;
}

class SeqrunRunTest : public DemoProjectTest
{
};

} // namespace

TEST_F(SeqrunRunTest, TheDemoBoardTestPassesAndLeavesItsReportAndResults)
{
    const SeqrunResult run = seqrun({QStringLiteral("run"), project, QStringLiteral("Board Test")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("Verdict: Passed")));
    // one line per finished step; the flash step needs a second attempt in every cycle
    EXPECT_EQ(run.out.count(QRegularExpression(QStringLiteral("\\bFlash +Failed"))), 2);
    EXPECT_EQ(run.out.count(QLatin1String("Sequence Cycle")), 0);

    const QString html = reportOf(run);
    EXPECT_EQ(html.count(QLatin1String("Sequence Cycle")), 2) << run.out.toStdString();

    // the run's results were saved with the project
    const QDomElement firstStep = storedSequence(project, QStringLiteral("Board Test"))
                                      .firstChildElement(QStringLiteral("sequenceelement"));
    EXPECT_EQ(firstStep.attribute(QStringLiteral("Column.Status")), QStringLiteral("Passed"));
    EXPECT_EQ(firstStep.attribute(QStringLiteral("Status")), QStringLiteral("1"));
    EXPECT_EQ(firstStep.attribute(QStringLiteral("Count")), QStringLiteral("2"));

    // The same run in another process on another copy stores the same bytes,
    // apart from the run's own report entry (named after its time).
    TemporaryFolder otherFolder;
    const QString other = copyDemo(otherFolder);
    ASSERT_EQ(seqrun({QStringLiteral("run"), other, QStringLiteral("Board Test")}).exitCode, 0);
    const auto storedWithoutReports = [](const QString &directory) {
        QFile file(directory + QStringLiteral("/project.xml"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArrayList lines = file.readAll().split('\n');
        lines.removeIf([](const QByteArray &line) { return line.trimmed().startsWith("<report "); });
        return lines.join('\n').toStdString();
    };
    EXPECT_EQ(storedWithoutReports(project), storedWithoutReports(other));
}

TEST_F(SeqrunRunTest, TheInstrumentCheckWritesPinsAndReadsThemBackThroughTheSimulator)
{
    const SeqrunResult run = seqrun({QStringLiteral("run"), project, QStringLiteral("Instrument Check")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    // what the simulator read back after the write, and that the match held
    EXPECT_TRUE(reportOf(run).contains(QLatin1String("TAP 1:   Control = 0b1111, Data = 0b0101"))) << run.out.toStdString();
}

TEST_F(SeqrunRunTest, PinPatternsASequenceListLosesAreNamedAndAStepWithoutPinsIsAnError)
{
    const QString list = folder.filePath(QStringLiteral("check.seql"));
    const SeqrunResult exported =
        seqrun({QStringLiteral("export"), project, QStringLiteral("Instrument Check"), list});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.err.contains(QLatin1String("does not keep the I/O pin patterns of this step (TapInfo1.IoPinWCtrl")))
        << exported.err.toStdString();

    ASSERT_EQ(seqrun({QStringLiteral("import"), project, QStringLiteral("Copy"), list}).exitCode, 0);
    const SeqrunResult run = seqrun({QStringLiteral("run"), project, QStringLiteral("Copy")});
    // the write step that lost its patterns is an Error, and its stop action ends the run
    EXPECT_NE(run.exitCode, 0) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("has no pin to write or read"))) << run.err.toStdString();
}

TEST_F(SeqrunRunTest, PauseQuestionsTakeTheAnswerGiven)
{
    const struct
    {
        const char *answer;
        int exitCode;
        const char *pauseStatus;
        const char *said;
        const char *verdict;
    } cases[] = {
        {"no", 1, "Failed", "[answered: No]", "Failed"},
        // a time-out stops the run in front of the next step
        {"timeout", 3, "Timeout", "[not answered: the time-out runs out]", "Stopped"},
        {"yes", 0, "Passed", "[answered: Yes]", "Passed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        const SeqrunResult run = seqrun({QStringLiteral("run"), project, QStringLiteral("Instrument Check"),
                                         QStringLiteral("--answer"), QLatin1String(c.answer)});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("PAUSE .* %1").arg(QLatin1String(c.pauseStatus)))))
            << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.said))) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QLatin1String("Verdict: ") + QLatin1String(c.verdict)));
        EXPECT_EQ(run.out.contains(QLatin1String("Reset ")), c.exitCode != 3);
    }
    EXPECT_EQ(seqrun({QStringLiteral("run"), project, QStringLiteral("Instrument Check"),
                      QStringLiteral("--answer"), QStringLiteral("maybe")})
                  .exitCode,
              64);
}

TEST_F(SeqrunRunTest, UnitsAreIdentifiedFromTheCommandAndByTheOperator)
{
    const QStringList arguments = {QStringLiteral("run"), project, QStringLiteral("Instrument Check"),
                                   QStringLiteral("--units"), QStringLiteral("2"),
                                   QStringLiteral("--serial"), QStringLiteral("SN-7"),
                                   QStringLiteral("--ask")};
    // The first unit comes from --serial; the operator answers the first
    // question, keeps the second unit's proposal and says no to its question.
    const SeqrunResult run = seqrun(arguments, "y\n\n\nn\n");
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    for (const char *asked : {"[answered: S/N SN-7]", "S/N [SN-8]:", "Yes/No [Yes]:"})
        EXPECT_TRUE(run.err.contains(QLatin1String(asked))) << asked << "\n" << run.err.toStdString();
    EXPECT_EQ(reportOf(run).count(QLatin1String("Unit Serial Number : SN-")), 2);

    // The sequence keeps its own cycle count and the last unit tested.
    const QDomElement sequence = storedSequence(project, QStringLiteral("Instrument Check"));
    EXPECT_EQ(sequence.attribute(QStringLiteral("RepeatCount")), QStringLiteral("3"));
    EXPECT_EQ(sequence.attribute(QStringLiteral("UutSerNumber")), QStringLiteral("SN-8"));

    // When the operator's input ends, the unit asked for is refused and the
    // run ends there.
    const SeqrunResult refused = seqrun(arguments, "y\n");
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.out.contains(QLatin1String("Verdict: Cancelled"))) << refused.out.toStdString();
    EXPECT_EQ(refused.out.count(QLatin1String("Label unit")), 1);
}

TEST_F(SeqrunRunTest, CtrlCCancelsTheRunAndKeepsTheReport)
{
    // a step that would wait half a minute
    ASSERT_TRUE(editProject(project, QStringLiteral("echo Board passed the interconnect test"),
                            QStringLiteral("sleep 30")));
    const std::unique_ptr<QProcess> started = startSeqrun({QStringLiteral("run"), project, QStringLiteral("Board Test")});
    QProcess &process = *started;
    ASSERT_TRUE(process.waitForStarted());
    QString out;
    while (!out.contains(QLatin1String("Interconnect")) && process.waitForReadyRead(20000))
        out += QString::fromUtf8(process.readAllStandardOutput());
    ASSERT_TRUE(out.contains(QLatin1String("Interconnect"))) << out.toStdString();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(20000));
    out += QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Label board +Cancelled"))))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QLatin1String("Verdict: Cancelled")));
    EXPECT_TRUE(out.contains(QLatin1String("Report: ")));
}

TEST_F(SeqrunRunTest, VerdictsAndOptionsBecomeExitCodes)
{

    // an error the run goes past still makes the verdict "Error"
    const SeqrunResult bench = seqrun({QStringLiteral("run"), project, QStringLiteral("Bench Check")});
    EXPECT_EQ(bench.exitCode, 2) << bench.out.toStdString();
    EXPECT_TRUE(bench.out.contains(QLatin1String("Verdict: Error")));
    EXPECT_TRUE(bench.out.contains(QLatin1String("Skipped")));

    // one application on its own, three times
    const SeqrunResult single = seqrun({QStringLiteral("run"), project, QStringLiteral("Board Test"),
                                  QStringLiteral("--single"), QStringLiteral("1"),
                                  QStringLiteral("--repeat"), QStringLiteral("3")});
    EXPECT_EQ(single.exitCode, 0) << single.out.toStdString() << single.err.toStdString();
    EXPECT_EQ(single.out.count(QLatin1String("Chain Integrity Test")), 3);
    EXPECT_FALSE(single.out.contains(QLatin1String("Interconnect")));

    const struct
    {
        QStringList arguments;
        int exitCode;
        const char *says;
    } refusals[] = {
        {{QStringLiteral("run"), project, QStringLiteral("No Such Sequence")}, 66, "no sequence"},
        {{QStringLiteral("run"), project}, 64, "project folder and a sequence title"},
        {{QStringLiteral("run"), project, QStringLiteral("Board Test"), QStringLiteral("--repeat"),
          QStringLiteral("zero")},
         64, "--repeat needs a number"},
        {{QStringLiteral("run"), project, QStringLiteral("Board Test"), QStringLiteral("--single"),
          QStringLiteral("99")},
         64, "has 18 steps"},
    };
    for (const auto &c : refusals) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const SeqrunResult run = seqrun(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << run.err.toStdString();
    }
}
