#pragma once

#include <QHash>
#include <QObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <vector>

#include <sys/types.h>

class HxmJob;
class QSocketNotifier;

// Runs host jobs as processes: forwards their console output line by line,
// standard output and error in the order the program wrote them, and
// reports their end with the process's exit code. Every job is reported
// exactly once, whether it ran, could not start or was killed.
//
// A job's process is started without copying the host (a clone that shares
// its memory until the program runs, as vfork does), so starting one costs
// the same however large the host has grown. Each job
// leads a process group of its own; cancelling a job ends the whole group,
// and so does the end of the host, even a killed one.
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

    // Starts `program` with `arguments` in `directory` (empty: the host's
    // own). The job object stays valid until its end has been reported.
    HxmJob *start(const QString &program, const QStringList &arguments, const QString &directory,
                  const QProcessEnvironment &environment, std::unique_ptr<HxmJob> job);
    // A job that cannot run: its end is reported like any other, with
    // StartFailedExitCode and `message`, which is also its error output.
    HxmJob *fail(std::unique_ptr<HxmJob> job, const QString &message);
    // A command line for the platform's shell.
    HxmJob *startShell(const QString &commandLine, const QString &directory,
                       std::unique_ptr<HxmJob> job);

    void kill(HxmJob *job);
    void killAll();
    HxmJob *currentJob() const;
    int runningCount() const { return int(running.size()); }

    // Why `program` cannot be started in `directory` with `environment`'s
    // PATH, or an empty text when nothing speaks against it.
    static QString startProblem(const QString &program, const QString &directory,
                                const QProcessEnvironment &environment);

Q_SIGNALS:
    void finished(HxmJob *job, const QString &message, int exitCode);
    void standardOutput(HxmJob *job, const QString &text);
    void standardError(HxmJob *job, const QString &text);
    // the job never ran, for `reason`; sent before its error output and end
    void startFailed(HxmJob *job, const QString &reason);

private:
    struct Running;

    static std::vector<char *> shellEnvironment(QByteArray &path);
    Running *add(std::unique_ptr<HxmJob> job);
    void prepareSpare();
    void refuse(Running &entry, const QString &problem);
    void launch(Running &entry, const QString &program, const QByteArray &path, char *const argv[],
                char *const envp[], const QString &directory, const QProcessEnvironment *environment);
    void watchProcess(Running &entry, pid_t pid);
    void readOutput(Running &entry);
    void emitLines(Running &entry, QByteArray &buffer, bool isError, bool flushAll);
    void reap(Running &entry);
    void end(Running *entry, int exitCode, const QString &message);
    Running *find(HxmJob *job) const;

    QList<Running *> running;   // in the order the jobs started
    std::unique_ptr<Running> spare;   // a job's place with its output channel open
};
