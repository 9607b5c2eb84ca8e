#pragma once

#include "hximainjob.h"
#include "hximainprocess.h"
#include "hximainprocessex.h"
#include "serviceobject.h"

#include <QObject>
#include <QPointer>

class DatabaseService;
class JobRunner;

// "HxiMainProcess", "HxiMainProcessEx" and "HxiMainJob": command lines run
// through the platform's shell as host jobs, each reported to the slots the
// caller named. A job's working directory is taken relative to the open
// project's folder, and an empty one is that folder itself.
class MainProcessService final : public QObject,
                                 public ServiceObject<VemoInterface::HxiMainProcessEx>
{
    Q_OBJECT

public:
    explicit MainProcessService(DatabaseService *database = nullptr);
    ~MainProcessService() override;

    HxmJob *startProcess(const QString &commandLine, const QString &directory, QObject *receiver,
                         const char *finishedSlot, const char *stdoutSlot,
                         const char *stderrSlot) override;
    void killProcess(HxmJob *job) override;

    VemoInterface::HxiMainProcess *plainInterface() { return &plain; }
    VemoInterface::HxiMainJob *jobInterface() { return &jobs; }
    int referenceCountAll() const
    {
        return referenceCount() + plain.referenceCount() + jobs.referenceCount();
    }

    // Jobs started elsewhere in the host (applications) that the job
    // service must also see and abort.
    void addJobSource(JobRunner *source) { runners.prepend(source); sources.append(source); }

    // Where a job asked to run in `directory` runs.
    QString workingDirectory(const QString &directory) const;

    // The job that started last and has not ended; null when none runs.
    HxmJob *currentJob() const;
    void abortJob(HxmJob *job);

Q_SIGNALS:
    // a command line that could not be started, and why
    void startFailed(const QString &reason);

private:
    class Plain final : public ServiceObject<VemoInterface::HxiMainProcess>
    {
    public:
        explicit Plain(MainProcessService *owner)
            : ServiceObject(QStringLiteral("HxiMainProcess")), owner(owner)
        {
        }
        HxmJob *startProcess(const QString &commandLine, const QString &directory,
                             QObject *receiver, const char *finishedSlot) override
        {
            return owner->startProcess(commandLine, directory, receiver, finishedSlot, nullptr,
                                       nullptr);
        }

    private:
        MainProcessService *owner;
    };
    class Jobs final : public ServiceObject<VemoInterface::HxiMainJob>
    {
    public:
        explicit Jobs(MainProcessService *owner)
            : ServiceObject(QStringLiteral("HxiMainJob")), owner(owner)
        {
        }
        HxmJob *currentJob() override { return owner->currentJob(); }
        void abortJob(HxmJob *job) override { owner->abortJob(job); }

    private:
        MainProcessService *owner;
    };

    struct Route
    {
        QPointer<QObject> receiver;
        QByteArray slotNames;
        JobRunner *runner;
    };
    JobRunner *runnerFor(QObject *receiver, const char *finishedSlot, const char *stdoutSlot,
                         const char *stderrSlot);
    void retireWhenIdle(JobRunner *runner);

    DatabaseService *database;
    Plain plain;
    Jobs jobs;
    QList<JobRunner *> runners;
    QList<JobRunner *> sources;
    QList<Route> routes;   // the runners kept for the next job
};
