#include "appsequenceservice.h"
#include "democopy.h"
#include "hxmjob.h"
#include "jobrunner.h"
#include "mainprocessservice.h"
#include "sampleprojecthost.h"
#include "seqrunprocess.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Receives a job's signals by slot name, as the plug-in does, and keeps
// both output channels in one list in the order they arrived.
class JobListener : public QObject
{
    Q_OBJECT

public:
    QStringList output;   // "out:" or "err:" and the line
    QList<int> exitCodes;
    QStringList messages;
    int statusId = -1;
    QString parametersSeen;

    QString errors() const { return output.filter(QStringLiteral("err:")).join(u'\n'); }

public Q_SLOTS:
    void finished(HxmJob *job, const QString &message, int exitCode)
    {
        exitCodes.append(exitCode);
        messages.append(message);
        statusId = job ? job->statusId : -1;
        if (job)
            parametersSeen = job->parameters.value(QStringLiteral("ItemNumber"));
    }
    void stdoutText(HxmJob *, const QString &text) { output.append(QStringLiteral("out:") + text); }
    void stderrText(HxmJob *, const QString &text) { output.append(QStringLiteral("err:") + text); }
};

class JobTest : public ::testing::Test
{
protected:

    void addApplication(const QString &name, const QString &script)
    {
        const QString program = QStringLiteral("apps/") + name + QStringLiteral(".sh");
        folder.write(QStringLiteral("project/") + program, script.toUtf8());
        ProjectApplication application;
        application.name = name;
        application.type = QStringLiteral("Scan Suite Runner");
        application.program = program;
        project.applications.append(application);
    }

    void listen(JobListener &listener)
    {
        AppSequenceService &service = host.appSequence();
        service.connectJobFinished(&listener, SLOT(finished(HxmJob*,QString,int)));
        service.connectStdout(&listener, SLOT(stdoutText(HxmJob*,QString)));
        service.connectStderr(&listener, SLOT(stderrText(HxmJob*,QString)));
    }

    HxmJob *startCommand(JobListener &listener, const QString &command, const QString &directory)
    {
        return host.processes().startProcess(command, directory, &listener,
                                             SLOT(finished(HxmJob*,QString,int)),
                                             SLOT(stdoutText(HxmJob*,QString)),
                                             SLOT(stderrText(HxmJob*,QString)));
    }

    bool waitFor(const JobListener &listener, int count = 1)
    {
        return QTest::qWaitFor([&] { return listener.exitCodes.size() >= count; }, 20000);
    }

    SampleProjectHost sample;
    TemporaryFolder &folder = sample.folder;
    HostProject &project = sample.project;
    WorkbenchHost &host = sample.host;
};

// The processes whose process group is `group`.
QStringList processesInGroup(qint64 group)
{
    QStringList found;
    QDirIterator proc(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (proc.hasNext()) {
        QFile stat(proc.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid pgrp ...": the name may hold blanks
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == group && fields.at(0) != "Z")
            found.append(QString::fromUtf8(line.left(line.indexOf(')') + 1)));
    }
    return found;
}

} // namespace

TEST_F(JobTest, AnApplicationGetsItsParametersAndEndsWithItsExitCode)
{
    addApplication(QStringLiteral("Board"),
                   QStringLiteral("echo \"first line\"\n"
                                  "echo \"<oops> to stderr\" >&2\n"
                                  "grep '^ItemNumber=' \"$1\"\n"
                                  "printf 'a line in'; printf ' two writes\\n'\n"
                                  "printf 'no newline at the end'\n"
                                  "printf tail >&2\n"
                                  "exit 3\n"));
    JobListener listener;
    listen(listener);
    const QMap<QString, QString> parameters{{QStringLiteral("ItemNumber"), QStringLiteral("7")},
                                            {QStringLiteral("Show"), QStringLiteral("Status")}};
    ASSERT_NE(host.appSequence().execute(QStringLiteral("Board"), parameters, false), 0);
    ASSERT_TRUE(waitFor(listener));
    EXPECT_EQ(listener.exitCodes, QList<int>{3});
    EXPECT_EQ(listener.messages, QStringList{QStringLiteral("Rejected")});
    EXPECT_EQ(listener.statusId, 10);
    EXPECT_EQ(listener.parametersSeen, QStringLiteral("7"));
    // both channels in the order they were written; a line written in two
    // pieces is one line, and an unfinished last line still arrives
    EXPECT_EQ(listener.output,
              QStringList({QStringLiteral("out:first line"), QStringLiteral("err:<oops> to stderr"),
                           QStringLiteral("out:ItemNumber=7"), QStringLiteral("out:a line in two writes"),
                           QStringLiteral("out:no newline at the end"), QStringLiteral("err:tail")}));
}

TEST_F(JobTest, ACommandRunsInTheProjectFolderOrSaysWhyItCannot)
{
    const QString projectFolder = QDir(project.directory()).canonicalPath();
    QDir().mkpath(projectFolder + QStringLiteral("/apps"));
    const struct
    {
        QString directory;
        QString command;
        int exitCode;
        QString said;   // a line of the output
    } cases[] = {
        {QString(), QStringLiteral("pwd"), 0, QStringLiteral("out:") + projectFolder},
        {QStringLiteral("apps"), QStringLiteral("pwd"), 0, QStringLiteral("out:") + projectFolder + QStringLiteral("/apps")},
        {folder.path(), QStringLiteral("pwd"), 0, QStringLiteral("out:") + QDir(folder.path()).canonicalPath()},
        {QStringLiteral("nowhere"), QStringLiteral("pwd"), 2,
         QStringLiteral("err:The working directory '%1/nowhere' does not exist.").arg(projectFolder)},
    };
    for (const auto &c : cases) {
        JobListener listener;
        ASSERT_NE(startCommand(listener, c.command, c.directory), nullptr);
        ASSERT_TRUE(waitFor(listener));
        EXPECT_EQ(listener.exitCodes, QList<int>{c.exitCode}) << c.directory.toStdString();
        EXPECT_TRUE(listener.output.contains(c.said)) << listener.output.join(u'|').toStdString();
    }
    // the host's log says it too
    EXPECT_EQ(host.logview().lines(QStringLiteral("Output")).filter(QStringLiteral("nowhere' does not exist")).size(), 1);
    EXPECT_EQ(host.processes().startProcess(QStringLiteral("   "), QString(), nullptr, nullptr,
                                            nullptr, nullptr),
              nullptr);
}

TEST_F(JobTest, ACommandStartsCleanWhateverTheHostIgnoresOrBlocks)
{
    // The host's variables as they are at the start, its program folder
    // first on PATH; no signal ignored or blocked; no input.
    qputenv("JOB_TEST_VARIABLE", "set late");
    const auto hangUp = std::signal(SIGHUP, SIG_IGN);
    sigset_t blocked;
    sigset_t before;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &before);
    JobListener listener;
    startCommand(listener,
                 QStringLiteral("echo \"$JOB_TEST_VARIABLE\"; echo \"${PATH%%:*}\"; "
                                "grep -E '^Sig(Ign|Blk)' /proc/self/status; cat"),
                 QString());
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    std::signal(SIGHUP, hangUp);
    qunsetenv("JOB_TEST_VARIABLE");
    ASSERT_TRUE(waitFor(listener));
    EXPECT_EQ(listener.output,
              QStringList({QStringLiteral("out:set late"),
                           QStringLiteral("out:") + QCoreApplication::applicationDirPath(),
                           QStringLiteral("out:SigBlk:\t0000000000000000"),
                           QStringLiteral("out:SigIgn:\t0000000000000000")}));
    EXPECT_EQ(listener.exitCodes, QList<int>{0});
}

TEST_F(JobTest, AProgramThatCannotStartEndsAsAnErrorThatSaysWhy)
{
    const QString plain = folder.write(QStringLiteral("plain.txt"), "not a program");
    const struct
    {
        QString program;
        QString reason;
    } cases[] = {
        {QStringLiteral("no-such-program-anywhere"), QStringLiteral("was not found")},
        {folder.filePath(QStringLiteral("missing/tool")), QStringLiteral("was not found")},
        {plain, QStringLiteral("is not an executable program")},
        {folder.path(), QStringLiteral("is not an executable program")},
    };
    for (const auto &c : cases) {
        JobRunner runner;
        JobListener listener;
        QObject::connect(&runner, &JobRunner::finished, &listener, &JobListener::finished);
        QObject::connect(&runner, &JobRunner::standardError, &listener, &JobListener::stderrText);
        runner.start(c.program, {}, QString(), QProcessEnvironment::systemEnvironment(),
                     std::make_unique<HxmJob>());
        ASSERT_TRUE(waitFor(listener));
        EXPECT_EQ(listener.exitCodes, QList<int>{JobRunner::StartFailedExitCode});
        // the reason is both the job's message and its error output
        EXPECT_TRUE(listener.messages.value(0).contains(c.reason)) << listener.messages.value(0).toStdString();
        EXPECT_EQ(listener.errors(), QStringLiteral("err:") + listener.messages.value(0));
    }

    // applications whose program is missing or not named
    const struct
    {
        const char *name;
        const char *program;
        const char *says;
    } applications[] = {
        {"Ghost", "apps/ghost.sh", "does not exist"},
        {"Converted", "", "has no program"},
    };
    for (const auto &c : applications) {
        ProjectApplication application;
        application.name = QLatin1String(c.name);
        application.type = QStringLiteral("Scan Suite Runner");
        application.program = QLatin1String(c.program);
        project.applications.append(application);

        JobListener listener;
        host.appSequence().connectJobFinished(&listener, SLOT(finished(HxmJob*,QString,int)));
        ASSERT_NE(host.appSequence().execute(application.name, {}, false), 0) << c.name;
        ASSERT_TRUE(waitFor(listener));
        EXPECT_EQ(listener.exitCodes, QList<int>{2});
        EXPECT_TRUE(listener.messages.first().contains(QLatin1String(c.says)))
            << listener.messages.first().toStdString();
    }
    // an application the project does not have is refused at once
    EXPECT_EQ(host.appSequence().execute(QStringLiteral("Nobody"), {}, false), 0);
}

TEST_F(JobTest, JobsOfAReceiverThatIsGoneEndUnheardAndTheNextStartsAnew)
{
    auto *gone = new JobListener;
    ASSERT_NE(startCommand(*gone, QStringLiteral("sleep 0.2"), QString()), nullptr);
    delete gone;
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.processes().currentJob() == nullptr; }, 20000));
    JobListener listener;
    ASSERT_NE(startCommand(listener, QStringLiteral("echo again"), QString()), nullptr);
    ASSERT_TRUE(waitFor(listener));
    EXPECT_EQ(listener.output, QStringList{QStringLiteral("out:again")});
}

// A step's processes end with the host that started them, even when the
// host is killed and cannot clean up; what the run did so far is on disk.
TEST(JobGroupTest, AStepsProcessesDieWithAKilledHostAndItsReportStays)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    ASSERT_TRUE(editProject(project, QStringLiteral("echo Board passed the interconnect test"),
                            QStringLiteral("echo $$ &gt; step.pid; sleep 30; echo never")));
    const std::unique_ptr<QProcess> started = startSeqrun({QStringLiteral("run"), project, QStringLiteral("Board Test")});
    QProcess &seqrun = *started;
    ASSERT_TRUE(seqrun.waitForStarted());
    const QString pidFile = project + QStringLiteral("/step.pid");
    // generous waits: a loaded machine starts seqrun and its first steps slowly
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(pidFile).size() > 0; }, 60000));
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const qint64 group = pid.readAll().trimmed().toLongLong();
    ASSERT_GT(group, 0);
    ASSERT_FALSE(processesInGroup(group).isEmpty());

    ::kill(pid_t(seqrun.processId()), SIGKILL);
    ASSERT_TRUE(seqrun.waitForFinished(20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return processesInGroup(group).isEmpty(); }, 15000))
        << processesInGroup(group).join(u' ').toStdString();

    const QStringList reports = QDir(project + QStringLiteral("/Sequences/Board Test"))
                                    .entryList({QStringLiteral("SequenceReport-*.html")}, QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    QFile report(project + QStringLiteral("/Sequences/Board Test/") + reports.first());
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QByteArray html = report.readAll();
    EXPECT_TRUE(html.contains("<td><b>Chain</b></td>"));
    EXPECT_TRUE(html.contains("<td><b>Interconnect</b></td>"));
}

#include "jobrunnertest.moc"
