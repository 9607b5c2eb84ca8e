#include "mainprocessservice.h"

#include "databaseservice.h"
#include "hostproject.h"
#include "hxmjob.h"
#include "jobrunner.h"

#include <QDir>

MainProcessService::MainProcessService(DatabaseService *database)
    : ServiceObject(QStringLiteral("HxiMainProcessEx")), database(database), plain(this), jobs(this)
{
}

QString MainProcessService::workingDirectory(const QString &directory) const
{
    // Where the host was started must not decide where a project's
    // commands run.
    const HostProject *project = database ? database->project() : nullptr;
    if (!project)
        return directory;
    const QDir projectFolder(project->directory());
    return directory.trimmed().isEmpty()
               ? projectFolder.absolutePath()
               : QDir::cleanPath(projectFolder.absoluteFilePath(QDir::fromNativeSeparators(directory)));
}

MainProcessService::~MainProcessService() = default;

HxmJob *MainProcessService::startProcess(const QString &commandLine, const QString &directory,
                                         QObject *receiver, const char *finishedSlot,
                                         const char *stdoutSlot, const char *stderrSlot)
{
    if (commandLine.trimmed().isEmpty())
        return nullptr;
    // One runner per job, so each job reaches exactly the slots named for it.
    auto *runner = new JobRunner(this);
    runners.append(runner);
    if (receiver && finishedSlot)
        connect(runner, SIGNAL(finished(HxmJob*,QString,int)), receiver, finishedSlot);
    if (receiver && stdoutSlot)
        connect(runner, SIGNAL(standardOutput(HxmJob*,QString)), receiver, stdoutSlot);
    if (receiver && stderrSlot)
        connect(runner, SIGNAL(standardError(HxmJob*,QString)), receiver, stderrSlot);
    connect(runner, &JobRunner::startFailed, this,
            [this](HxmJob *, const QString &reason) { Q_EMIT startFailed(reason); });
    connect(runner, &JobRunner::finished, this, [this, runner] {
        runners.removeAll(runner);
        runner->deleteLater();
    });
    auto job = std::make_unique<HxmJob>();
    job->applicationFilePath = commandLine;
    return runner->startShell(commandLine, workingDirectory(directory), std::move(job));
}

void MainProcessService::killProcess(HxmJob *job)
{
    abortJob(job);
}

HxmJob *MainProcessService::currentJob() const
{
    for (auto it = runners.crbegin(); it != runners.crend(); ++it) {
        if (HxmJob *job = (*it)->currentJob())
            return job;
    }
    return nullptr;
}

void MainProcessService::abortJob(HxmJob *job)
{
    for (JobRunner *runner : std::as_const(runners))
        runner->kill(job);
}
