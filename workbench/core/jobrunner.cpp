#include "jobrunner.h"

#include "hxmjob.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

QString textOf(const QByteArray &line)
{
    QByteArray trimmed = line;
    if (trimmed.endsWith('\n'))
        trimmed.chop(1);
    if (trimmed.endsWith('\r'))
        trimmed.chop(1);
    return QString::fromLocal8Bit(trimmed);
}

} // namespace

JobRunner::JobRunner(QObject *parent) : QObject(parent)
{
}

JobRunner::~JobRunner()
{
    for (Running *entry : std::as_const(running)) {
        entry->process->disconnect(this);
#if defined(Q_OS_UNIX)
        if (const qint64 pid = entry->process->processId(); pid > 0)
            ::kill(-pid_t(pid), SIGKILL);
#endif
        entry->process->kill();
        entry->process->waitForFinished(3000);
        delete entry->process;
        delete entry;
    }
}

HxmJob *JobRunner::startShell(const QString &commandLine, const QString &directory,
                              std::unique_ptr<HxmJob> job)
{
#if defined(Q_OS_WIN)
    return start(QStringLiteral("cmd"), {QStringLiteral("/c"), commandLine}, directory,
                 QProcessEnvironment::systemEnvironment(), std::move(job));
#else
    // Tools that come with the host (the controller simulator) are found
    // by name, as if they were installed on the system.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString path = environment.value(QStringLiteral("PATH"));
    environment.insert(QStringLiteral("PATH"),
                       QCoreApplication::applicationDirPath()
                           + (path.isEmpty() ? QString() : QStringLiteral(":") + path));
    return start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine}, directory,
                 environment, std::move(job));
#endif
}

HxmJob *JobRunner::start(const QString &program, const QStringList &arguments,
                         const QString &directory, const QProcessEnvironment &environment,
                         std::unique_ptr<HxmJob> job)
{
    return start(program, arguments, directory, environment, std::move(job), QString());
}

HxmJob *JobRunner::start(const QString &program, const QStringList &arguments,
                         const QString &directory, const QProcessEnvironment &environment,
                         std::unique_ptr<HxmJob> job, const QString &refusal)
{
    auto *process = new QProcess(this);
    auto *entry = new Running;
    entry->job = std::move(job);
    entry->process = process;
    HxmJob *handle = entry->job.get();
    running.insert(process, entry);
    order.append(handle);

    process->setProgram(program);
    process->setArguments(arguments);
    if (!directory.isEmpty())
        process->setWorkingDirectory(directory);
    process->setProcessEnvironment(environment);
#if defined(Q_OS_UNIX)
    // Each job leads a process group of its own, so that cancelling it also
    // ends what its shell started.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif

    connect(process, &QProcess::readyReadStandardOutput, this, [this, process] {
        if (Running *found = running.value(process))
            readOutput(*found, false);
    });
    connect(process, &QProcess::readyReadStandardError, this, [this, process] {
        if (Running *found = running.value(process))
            readOutput(*found, false);
    });
    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        Running *found = running.value(process);
        if (!found)
            return;
        readOutput(*found, true);
        if (found->killed)
            end(process, KilledExitCode, tr("Cancelled"));
        else if (status == QProcess::CrashExit)
            end(process, StartFailedExitCode,
                tr("'%1' ended abnormally: %2").arg(process->program(), process->errorString()));
        else
            end(process, exitCode, QString());
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        end(process, StartFailedExitCode,
            tr("Could not start '%1' in '%2': %3")
                .arg(process->program(), process->workingDirectory(), process->errorString()));
    });

    if (!refusal.isEmpty())
        end(process, StartFailedExitCode, refusal);
    else
        process->start();
    return handle;
}

HxmJob *JobRunner::fail(std::unique_ptr<HxmJob> job, const QString &message)
{
    // Goes through the same path as a program that failed to start, so the
    // caller sees one kind of end whatever went wrong.
    return start(QString(), {}, QString(), QProcessEnvironment(), std::move(job), message);
}

void JobRunner::readOutput(Running &entry, bool flushAll)
{
    entry.stdoutBuffer += entry.process->readAllStandardOutput();
    entry.stderrBuffer += entry.process->readAllStandardError();
    const auto emitLines = [&](QByteArray &buffer, bool isError) {
        qsizetype newline;
        while ((newline = buffer.indexOf('\n')) >= 0) {
            const QString text = textOf(buffer.left(newline + 1));
            buffer.remove(0, newline + 1);
            isError ? Q_EMIT standardError(entry.job.get(), text)
                    : Q_EMIT standardOutput(entry.job.get(), text);
        }
        if (flushAll && !buffer.isEmpty()) {
            const QString text = textOf(buffer);
            buffer.clear();
            isError ? Q_EMIT standardError(entry.job.get(), text)
                    : Q_EMIT standardOutput(entry.job.get(), text);
        }
    };
    emitLines(entry.stdoutBuffer, false);
    emitLines(entry.stderrBuffer, true);
}

void JobRunner::end(QProcess *process, int exitCode, const QString &message)
{
    Running *entry = running.value(process);
    if (!entry || entry->ended)
        return;
    entry->ended = true;
    if (!message.isEmpty())
        entry->job->message = message;
    // Reported from the event loop, not from inside the process's own
    // signal, so that whoever starts the next job does so on a flat stack.
    QTimer::singleShot(0, this, [this, process, exitCode] {
        Running *done = running.take(process);
        if (!done)
            return;
        order.removeAll(done->job.get());
        Q_EMIT finished(done->job.get(), done->job->message, exitCode);
        process->deleteLater();
        delete done;
    });
}

JobRunner::Running *JobRunner::find(HxmJob *job)
{
    for (Running *entry : std::as_const(running)) {
        if (entry->job.get() == job)
            return entry;
    }
    return nullptr;
}

void JobRunner::kill(HxmJob *job)
{
    Running *entry = find(job);
    if (!entry || entry->ended)
        return;
    entry->killed = true;
#if defined(Q_OS_UNIX)
    if (const qint64 pid = entry->process->processId(); pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
#endif
    entry->process->kill();
}

void JobRunner::killAll()
{
    for (HxmJob *job : std::as_const(order))
        kill(job);
}

HxmJob *JobRunner::currentJob() const
{
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        for (Running *entry : running) {
            if (entry->job.get() == *it && !entry->ended)
                return *it;
        }
    }
    return nullptr;
}
