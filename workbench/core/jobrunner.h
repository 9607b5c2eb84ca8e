#pragma once

#include <QHash>
#include <QObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>

class HxmJob;
class QProcess;

// Runs host jobs as processes: forwards their console output line by line
// and reports their end with the process's exit code. Every job is
// reported exactly once, whether it ran, could not start or was killed.
class JobRunner : public QObject
{
    Q_OBJECT

public:
    // The exit code a killed job ends with.
    static constexpr int KilledExitCode = 198;
    // The exit code of a job whose program could not be started.
    static constexpr int StartFailedExitCode = 2;

    explicit JobRunner(QObject *parent = nullptr);
    ~JobRunner() override;

    // Starts `program` with `arguments` in `directory`. The job object stays
    // valid until its end has been reported.
    HxmJob *start(const QString &program, const QStringList &arguments, const QString &directory,
                  const QProcessEnvironment &environment, std::unique_ptr<HxmJob> job);
    // A job that cannot run: its end is reported like any other, with
    // StartFailedExitCode and `message`.
    HxmJob *fail(std::unique_ptr<HxmJob> job, const QString &message);
    // A command line for the platform's shell.
    HxmJob *startShell(const QString &commandLine, const QString &directory,
                       std::unique_ptr<HxmJob> job);

    void kill(HxmJob *job);
    void killAll();
    HxmJob *currentJob() const;
    int runningCount() const { return int(running.size()); }

Q_SIGNALS:
    void finished(HxmJob *job, const QString &message, int exitCode);
    void standardOutput(HxmJob *job, const QString &text);
    void standardError(HxmJob *job, const QString &text);

private:
    struct Running
    {
        std::unique_ptr<HxmJob> job;
        QProcess *process = nullptr;
        QByteArray stdoutBuffer;
        QByteArray stderrBuffer;
        bool killed = false;
        bool ended = false;
    };

    HxmJob *start(const QString &program, const QStringList &arguments, const QString &directory,
                  const QProcessEnvironment &environment, std::unique_ptr<HxmJob> job,
                  const QString &refusal);
    void readOutput(Running &entry, bool flushAll);
    void end(QProcess *process, int exitCode, const QString &message);
    Running *find(HxmJob *job);

    QHash<QProcess *, Running *> running;
    QList<HxmJob *> order;
};
