#include "appsequenceservice.h"
#include "hostproject.h"
#include "hxmjob.h"
#include "mainprocessservice.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Receives a job's signals by slot name, as the plug-in does.
class JobListener : public QObject
{
    Q_OBJECT

public:
    QStringList out;
    QStringList err;
    QList<int> exitCodes;
    QStringList messages;
    int statusId = -1;
    QString parametersSeen;

public Q_SLOTS:
    void finished(HxmJob *job, const QString &message, int exitCode)
    {
        exitCodes.append(exitCode);
        messages.append(message);
        statusId = job ? job->statusId : -1;
        if (job)
            parametersSeen = job->parameters.value(QStringLiteral("ItemNumber"));
    }
    void stdoutText(HxmJob *, const QString &text) { out.append(text); }
    void stderrText(HxmJob *, const QString &text) { err.append(text); }
};

class JobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.create(folder.filePath(QStringLiteral("project")), QStringLiteral("Jobs")));
        host.setProject(&project);
    }

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

    bool waitFor(const JobListener &listener, int count = 1)
    {
        return QTest::qWaitFor([&] { return listener.exitCodes.size() >= count; }, 20000);
    }

    TemporaryFolder folder;
    HostProject project;
    WorkbenchHost host;
};

} // namespace

TEST_F(JobTest, AnApplicationGetsItsParametersAndEndsWithItsExitCode)
{
    addApplication(QStringLiteral("Board"),
                   QStringLiteral("echo \"first line\"\n"
                                  "echo \"<oops> to stderr\" >&2\n"
                                  "grep '^ItemNumber=' \"$1\"\n"
                                  "printf 'no newline at the end'\n"
                                  "exit 3\n"));
    JobListener listener;
    AppSequenceService &service = host.appSequence();
    service.connectJobFinished(&listener, SLOT(finished(HxmJob*,QString,int)));
    service.connectStdout(&listener, SLOT(stdoutText(HxmJob*,QString)));
    service.connectStderr(&listener, SLOT(stderrText(HxmJob*,QString)));

    const QMap<QString, QString> parameters{{QStringLiteral("ItemNumber"), QStringLiteral("7")},
                                            {QStringLiteral("Show"), QStringLiteral("Status")}};
    ASSERT_NE(service.execute(QStringLiteral("Board"), parameters, false), 0);
    ASSERT_TRUE(waitFor(listener));
    EXPECT_EQ(listener.exitCodes, QList<int>{3});
    EXPECT_EQ(listener.messages, QStringList{QStringLiteral("Rejected")});
    EXPECT_EQ(listener.statusId, 10);
    EXPECT_EQ(listener.parametersSeen, QStringLiteral("7"));
    EXPECT_EQ(listener.out, QStringList({QStringLiteral("first line"), QStringLiteral("ItemNumber=7"),
                                         QStringLiteral("no newline at the end")}));
    EXPECT_EQ(listener.err, QStringList{QStringLiteral("<oops> to stderr")});
}

TEST_F(JobTest, ExitCodesMapToHostStatuses)
{
    const struct
    {
        int exitCode;
        int statusId;
        const char *text;
    } cases[] = {{0, 8, "Passed"},   {1, 9, "Failed"},  {2, 11, "Error"}, {3, 10, "Rejected"},
                 {4, 0, "Skipped"},  {7, 9, "Failed"},  {66000, 11, "Timeout"}};
    for (const auto &c : cases) {
        EXPECT_EQ(AppSequenceService::statusIdForExitCode(c.exitCode), c.statusId) << c.exitCode;
        EXPECT_EQ(AppSequenceService::statusTextForExitCode(c.exitCode), QLatin1String(c.text));
    }
}

TEST_F(JobTest, AMissingProgramEndsAsAnErrorThatSaysWhy)
{
    const struct
    {
        const char *name;
        const char *program;
        const char *says;
    } cases[] = {
        {"Ghost", "apps/ghost.sh", "does not exist"},
        {"Converted", "", "has no program"},
    };
    for (const auto &c : cases) {
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

TEST_F(JobTest, AbortingTheCurrentJobKillsItsProcess)
{
    addApplication(QStringLiteral("Slow"), QStringLiteral("echo started\nexec sleep 30\n"));
    JobListener listener;
    host.appSequence().connectJobFinished(&listener, SLOT(finished(HxmJob*,QString,int)));
    host.appSequence().connectStdout(&listener, SLOT(stdoutText(HxmJob*,QString)));
    ASSERT_NE(host.appSequence().execute(QStringLiteral("Slow"), {}, false), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.out.isEmpty(); }, 20000));

    HxmJob *running = host.processes().currentJob();
    ASSERT_NE(running, nullptr);
    QElapsedTimer clock;
    clock.start();
    host.processes().abortJob(running);
    ASSERT_TRUE(waitFor(listener));
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(listener.exitCodes, QList<int>{2});
    EXPECT_EQ(listener.messages, QStringList{QStringLiteral("Cancelled")});
    EXPECT_EQ(host.processes().currentJob(), nullptr);
}

TEST_F(JobTest, CommandLinesReachTheSlotsNamedForThem)
{
    JobListener first;
    JobListener second;
    MainProcessService &processes = host.processes();
    const QString dir = folder.path();
    HxmJob *a = processes.startProcess(QStringLiteral("echo one; pwd; exit 5"), dir, &first,
                                       SLOT(finished(HxmJob*,QString,int)),
                                       SLOT(stdoutText(HxmJob*,QString)), nullptr);
    HxmJob *b = processes.startProcess(QStringLiteral("echo two >&2"), dir, &second,
                                       SLOT(finished(HxmJob*,QString,int)), nullptr,
                                       SLOT(stderrText(HxmJob*,QString)));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(processes.startProcess(QStringLiteral("   "), dir, &first, nullptr, nullptr, nullptr),
              nullptr);
    ASSERT_TRUE(waitFor(first));
    ASSERT_TRUE(waitFor(second));
    EXPECT_EQ(first.exitCodes, QList<int>{5});
    EXPECT_EQ(first.out, QStringList({QStringLiteral("one"), QDir(dir).canonicalPath()}));
    EXPECT_EQ(second.exitCodes, QList<int>{0});
    EXPECT_EQ(second.err, QStringList{QStringLiteral("two")});
    EXPECT_TRUE(second.out.isEmpty());
}

#include "jobrunnertest.moc"
