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
    JobRunner *runner = runnerFor(receiver, finishedSlot, stdoutSlot, stderrSlot);
    // The runner of the newest job is asked first for the current one.
    runners.removeOne(runner);
    runners.append(runner);
    auto job = std::make_unique<HxmJob>();
    job->applicationFilePath = commandLine;
    return runner->startShell(commandLine, workingDirectory(directory), std::move(job));
}

JobRunner *MainProcessService::runnerFor(QObject *receiver, const char *finishedSlot,
                                         const char *stdoutSlot, const char *stderrSlot)
{
    // One runner for each receiver and set of slots, so each job reaches
    // exactly the slots named for it. It is kept for the next job with the
    // same ones: a sequence's steps all name the same, and connecting by
    // name costs more than the rest of a start.
    const QByteArray slotNames = QByteArray(finishedSlot) + '\n' + QByteArray(stdoutSlot) + '\n'
                                 + QByteArray(stderrSlot);
    for (const Route &route : std::as_const(routes)) {
        if (route.receiver == receiver && route.slotNames == slotNames)
            return route.runner;
    }
    auto *runner = new JobRunner(this);
    runners.append(runner);
    routes.append({receiver, slotNames, runner});
    if (receiver && finishedSlot)
        connect(runner, SIGNAL(finished(HxmJob*,QString,int)), receiver, finishedSlot);
    if (receiver && stdoutSlot)
        connect(runner, SIGNAL(standardOutput(HxmJob*,QString)), receiver, stdoutSlot);
    if (receiver && stderrSlot)
        connect(runner, SIGNAL(standardError(HxmJob*,QString)), receiver, stderrSlot);
    connect(runner, &JobRunner::startFailed, this,
            [this](HxmJob *, const QString &reason) { Q_EMIT startFailed(reason); });
    if (receiver) {
        // Jobs still running for a receiver that is gone end unheard; the
        // runner goes with the last of them.
        connect(receiver, &QObject::destroyed, this, [this, runner] {
            routes.removeIf([runner](const Route &route) { return route.runner == runner; });
            retireWhenIdle(runner);
            connect(runner, &JobRunner::finished, this, [this, runner] { retireWhenIdle(runner); });
        });
    }
    return runner;
}

void MainProcessService::retireWhenIdle(JobRunner *runner)
{
    if (runner->runningCount() > 0 || !runners.contains(runner))
        return;
    runners.removeAll(runner);
    runner->deleteLater();
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
