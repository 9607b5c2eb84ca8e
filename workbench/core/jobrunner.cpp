#include "jobrunner.h"

#include "hxmjob.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// A line that never ends is handed on in pieces of this size, so that a
// program printing without line breaks cannot fill the host's memory.
constexpr qsizetype LongestLine = 64 * 1024;

QString textOf(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void closeDescriptor(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Standard output and error of a job reach the host as datagrams on one
// socket: the kernel queues them in the order they were written, whichever
// channel they came through, and the sender's address tells the channels
// apart. Two pipes could not say which of two quick writes came first.
struct OutputSockets
{
    int receiver = -1;
    int out = -1;
    int err = -1;
    QByteArray outAddress;
    QByteArray errAddress;

    ~OutputSockets()
    {
        closeDescriptor(receiver);
        closeSenders();
    }
    void closeSenders()
    {
        closeDescriptor(out);
        closeDescriptor(err);
    }

    static QByteArray addressOf(int fd)
    {
        sockaddr_un address{};
        socklen_t length = sizeof(address);
        if (::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return QByteArray();
        return QByteArray(reinterpret_cast<const char *>(&address), int(length));
    }

    // A socket with a name of its own that the kernel picks (autobind).
    static int boundSocket(int flags = 0)
    {
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | flags, 0);
        if (fd < 0)
            return -1;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(sa_family_t)) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    int sender(const QByteArray &receiverAddress, QByteArray &ownAddress)
    {
        const int fd = boundSocket();
        if (fd < 0)
            return -1;
        // One write of a program is one datagram; the largest buffer the
        // system allows keeps large writes whole.
        const int size = 4 * 1024 * 1024;
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof(size));
        if (::connect(fd, reinterpret_cast<const sockaddr *>(receiverAddress.constData()),
                      socklen_t(receiverAddress.size()))
            != 0) {
            ::close(fd);
            return -1;
        }
        ownAddress = addressOf(fd);
        return fd;
    }

    bool isOpen() const { return receiver >= 0 && out >= 0 && err >= 0; }

    bool open()
    {
        receiver = boundSocket(SOCK_NONBLOCK);
        if (receiver < 0)
            return false;
        const QByteArray address = addressOf(receiver);
        out = sender(address, outAddress);
        err = sender(address, errAddress);
        return out >= 0 && err >= 0 && !outAddress.isEmpty() && !errAddress.isEmpty();
    }
};

// A process outside the host that ends the process groups of running jobs
// when the host ends without doing so itself (killed, crashed). It learns
// of each group as the job starts and forgets it as the job ends; the end
// of the host closes its socket.
class GroupGuard
{
public:
    static GroupGuard &instance()
    {
        static GroupGuard guard;
        return guard;
    }
    void watch(pid_t group) { send(group); }
    void forget(pid_t group) { send(-group); }

private:
    GroupGuard()
    {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return;
        // Room for the jobs of a few seconds between two looks of the guard.
        const int size = 1024 * 1024;
        ::setsockopt(ends[0], SOL_SOCKET, SO_SNDBUF, &size, sizeof(size));
        const pid_t pid = ::fork();
        if (pid == 0)
            guard(ends[1]);   // never returns
        ::close(ends[1]);
        if (pid < 0) {
            ::close(ends[0]);
            return;
        }
        socket = ends[0];
    }

    void send(qint32 value)
    {
        if (socket >= 0)
            (void)::send(socket, &value, sizeof(value), MSG_NOSIGNAL);
    }

    // Runs in a copy of the host made by fork: only system calls and the
    // stack from here on.
    [[noreturn]] static void guard(int socket)
    {
        ::setsid();
        for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGPIPE, SIGTSTP})
            ::signal(signal, SIG_IGN);
        const int in = 3;
        if (socket != in) {
            ::dup2(socket, in);
        }
        // Nothing of the host may stay open here: a pipe of another job held
        // by the guard would never see its end.
        if (::syscall(SYS_close_range, in + 1, ~0U, 0) != 0) {
            const long open = ::sysconf(_SC_OPEN_MAX);
            for (int fd = in + 1; fd < (open > 0 ? open : 1024); ++fd)
                ::close(fd);
        }
        const int null = ::open("/dev/null", O_RDWR);
        for (int fd = 0; fd < 3; ++fd)
            ::dup2(null, fd);
        if (null > in)
            ::close(null);

        constexpr int Capacity = 4096;
        pid_t groups[Capacity];
        int count = 0;
        qint32 value = 0;
        size_t have = 0;
        // The guard wakes up when the host's end closes, or ten times a
        // second to take in what the host sent; never once per job, which
        // would cost every step a switch to this process and back.
        pollfd hangUp{in, POLLRDHUP, 0};
        bool hostGone = false;
        while (!hostGone) {
            if (::poll(&hangUp, 1, 100) < 0 && errno != EINTR)
                break;
            hostGone = (hangUp.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
            for (;;) {
                char byte[256];
                const ssize_t got = ::recv(in, byte, sizeof(byte), MSG_DONTWAIT);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got == 0)
                    hostGone = true;
                if (got <= 0)
                    break;
                for (ssize_t i = 0; i < got; ++i) {
                    reinterpret_cast<char *>(&value)[have++] = byte[i];
                    if (have < sizeof(value))
                        continue;
                    have = 0;
                    if (value > 0 && count < Capacity) {
                        groups[count++] = value;
                    } else if (value < 0) {
                        for (int g = 0; g < count; ++g) {
                            if (groups[g] == -value) {
                                groups[g] = groups[--count];
                                break;
                            }
                        }
                    }
                }
            }
        }
        for (int g = 0; g < count; ++g)
            ::kill(-groups[g], SIGKILL);
        ::_exit(0);
    }

    int socket = -1;
};

// What the new process does before it becomes the program. It runs in the
// host's memory on a stack of the host's while the host's thread waits
// (CLONE_VFORK), so it makes system calls only.
struct ProcessSetup
{
    const char *path;
    char *const *argv;
    char *const *envp;
    const char *directory;   // null: the host's own
    int out;
    int err;
    int error = 0;   // why the program did not start
};

// Makes `fd` the descriptor `target` that the program keeps.
bool installDescriptor(int fd, int target)
{
    if (fd == target)
        return ::fcntl(fd, F_SETFD, 0) == 0;
    return ::dup2(fd, target) == target;
}

int becomeProgram(void *data)
{
    auto *setup = static_cast<ProcessSetup *>(data);
    // Every signal arrives blocked (the host blocked them all for the
    // start): none of the host's handlers can run in this copy. The
    // program starts with each signal at its default and none blocked,
    // whatever the host ignores or blocks.
    struct sigaction byDefault{};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &byDefault, nullptr);
    // Its own process group, so that cancelling the job also ends what its
    // shell started.
    ::setpgid(0, 0);
    int out = setup->out;
    int err = setup->err;
    if (out < 3)
        out = ::fcntl(out, F_DUPFD_CLOEXEC, 3);
    if (err < 3)
        err = ::fcntl(err, F_DUPFD_CLOEXEC, 3);
    int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    // A host without standard output or error would hand those numbers out.
    if (input == 1 || input == 2)
        input = ::fcntl(input, F_DUPFD_CLOEXEC, 3);
    if (out < 0 || err < 0 || input < 0 || !installDescriptor(out, 1)
        || !installDescriptor(err, 2) || !installDescriptor(input, 0)
        || (setup->directory && ::chdir(setup->directory) != 0)) {
        setup->error = errno;
        ::_exit(127);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(setup->path, setup->argv, setup->envp);
    setup->error = errno;
    ::_exit(127);
}

// Starts `path` the way vfork does, without copying the host, whatever its
// size: 0 and the new process in `pid`, or why not as an errno value.
int spawnProcess(pid_t &pid, const char *path, char *const argv[], char *const envp[],
                 const char *directory, int out, int err)
{
    ProcessSetup setup{path, argv, envp, directory, out, err};
    alignas(16) char stack[32 * 1024];
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &before);
    pid = ::clone(becomeProgram, stack + sizeof(stack), CLONE_VM | CLONE_VFORK | SIGCHLD, &setup);
    const int cloneError = errno;
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (pid < 0)
        return cloneError;
    if (setup.error != 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return setup.error;
    }
    return 0;
}

// The program's full path as it will be started, searching PATH for a bare
// name; `problem` says why there is none.
QString resolveProgram(const QString &program, const QString &directory,
                       const QProcessEnvironment &environment, QString &problem)
{
    if (program.isEmpty()) {
        problem = JobRunner::tr("No program to start.");
        return QString();
    }
    QStringList candidates;
    if (program.contains(u'/')) {
        candidates.append(QDir(directory.isEmpty() ? QDir::currentPath() : directory)
                              .absoluteFilePath(program));
    } else {
        const QString path = environment.value(QStringLiteral("PATH"),
                                               QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
        for (const QString &folder : path.split(u':', Qt::SkipEmptyParts))
            candidates.append(QDir(folder).absoluteFilePath(program));
    }
    bool foundOne = false;
    for (const QString &candidate : std::as_const(candidates)) {
        const QFileInfo file(candidate);
        if (!file.exists())
            continue;
        foundOne = true;
        if (file.isFile() && file.isExecutable())
            return candidate;
    }
    problem = foundOne ? JobRunner::tr("'%1' is not an executable program.").arg(program)
                       : JobRunner::tr("'%1' was not found.").arg(program);
    return QString();
}

} // namespace

struct JobRunner::Running
{
    std::unique_ptr<HxmJob> job;
    pid_t pid = -1;
    int processFd = -1;   // a pidfd that becomes readable when the process ends
    OutputSockets sockets;
    std::unique_ptr<QSocketNotifier> outputNotifier;
    std::unique_ptr<QSocketNotifier> endNotifier;
    std::unique_ptr<QTimer> endPoll;   // where the system has no pidfd
    QByteArray stdoutBuffer;
    QByteArray stderrBuffer;
    QString startProblem;   // why the job never ran
    bool killed = false;
    bool ended = false;

    ~Running() { closeDescriptor(processFd); }
};

JobRunner::JobRunner(QObject *parent) : QObject(parent)
{
}

JobRunner::~JobRunner()
{
    for (Running *entry : std::as_const(running)) {
        if (entry->pid > 0 && !entry->ended) {
            ::kill(-entry->pid, SIGKILL);
            ::kill(entry->pid, SIGKILL);
            int status = 0;
            ::waitpid(entry->pid, &status, 0);
            GroupGuard::instance().forget(entry->pid);
        }
        delete entry;
    }
}

// The host's own environment with the host's program folder first on PATH,
// as a new process takes it. Read straight from the process's variables:
// going through QProcessEnvironment cost more than the rest of a start.
std::vector<char *> JobRunner::shellEnvironment(QByteArray &path)
{
    static const QByteArray folder = QFile::encodeName(QCoreApplication::applicationDirPath());
    std::vector<char *> variables;
    bool hasPath = false;
    for (char **variable = environ; variable && *variable; ++variable) {
        if (std::strncmp(*variable, "PATH=", 5) != 0) {
            variables.push_back(*variable);
        } else if (!hasPath) {
            const char *rest = *variable + 5;
            path = "PATH=" + folder + (*rest ? ":" + QByteArray(rest) : QByteArray());
            hasPath = true;
        }
    }
    if (!hasPath)
        path = "PATH=" + folder;
    variables.push_back(path.data());
    variables.push_back(nullptr);
    return variables;
}

HxmJob *JobRunner::startShell(const QString &commandLine, const QString &directory,
                              std::unique_ptr<HxmJob> job)
{
    // Tools that come with the host (the controller simulator) are found
    // by name, as if they were installed on the system.
    static const QString shell = QStringLiteral("/bin/sh");
    QByteArray path;
    const std::vector<char *> envp = shellEnvironment(path);
    QByteArray command = commandLine.toLocal8Bit();
    char program[] = "/bin/sh";
    char option[] = "-c";
    char *const argv[] = {program, option, command.data(), nullptr};
    Running *entry = add(std::move(job));
    launch(*entry, shell, program, argv, envp.data(), directory, nullptr);
    return entry->job.get();
}

QString JobRunner::startProblem(const QString &program, const QString &directory,
                                const QProcessEnvironment &environment)
{
    if (!directory.isEmpty() && !QFileInfo(directory).isDir())
        return tr("The working directory '%1' does not exist.").arg(QDir::toNativeSeparators(directory));
    QString problem;
    resolveProgram(program, directory, environment, problem);
    return problem;
}

JobRunner::Running *JobRunner::add(std::unique_ptr<HxmJob> job)
{
    Running *entry = spare ? spare.release() : new Running;
    entry->job = std::move(job);
    running.append(entry);
    return entry;
}

HxmJob *JobRunner::start(const QString &program, const QStringList &arguments,
                         const QString &directory, const QProcessEnvironment &environment,
                         std::unique_ptr<HxmJob> job)
{
    Running *entry = add(std::move(job));
    QString problem;
    const QString path = resolveProgram(program, directory, environment, problem);
    if (!problem.isEmpty()) {
        // A missing working directory is the better answer when both fail.
        refuse(*entry, startProblem(program, directory, environment));
        return entry->job.get();
    }

    std::vector<QByteArray> argumentBytes{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        argumentBytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> environmentBytes;
    for (const QString &variable : environment.toStringList())
        environmentBytes.push_back(variable.toLocal8Bit());
    std::vector<char *> envp;
    for (QByteArray &variable : environmentBytes)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    launch(*entry, program, QFile::encodeName(path), argv.data(), envp.data(), directory,
           &environment);
    return entry->job.get();
}

void JobRunner::refuse(Running &entry, const QString &problem)
{
    entry.startProblem = problem;
    end(&entry, StartFailedExitCode, problem);
}

void JobRunner::launch(Running &entry, const QString &program, const QByteArray &path,
                       char *const argv[], char *const envp[], const QString &directory,
                       const QProcessEnvironment *environment)
{
    if (!entry.sockets.isOpen() && !entry.sockets.open()) {
        refuse(entry, tr("No output channel for '%1': %2").arg(program, systemError(errno)));
        return;
    }
    const QByteArray workingDirectory = QFile::encodeName(directory);

    pid_t pid = -1;
    const int error = spawnProcess(pid, path.constData(), argv, envp,
                                   workingDirectory.isEmpty() ? nullptr : workingDirectory.constData(),
                                   entry.sockets.out, entry.sockets.err);
    // The senders now belong to the program alone: their last close is what
    // ends its output.
    entry.sockets.closeSenders();
    if (error != 0) {
        // Looked into only now: a start that works needs no questions asked.
        QString problem = startProblem(program, directory,
                                       environment ? *environment
                                                   : QProcessEnvironment::systemEnvironment());
        if (problem.isEmpty())
            problem = tr("Could not start '%1' in '%2': %3")
                          .arg(program, QDir::toNativeSeparators(directory), systemError(error));
        refuse(entry, problem);
        return;
    }
    watchProcess(entry, pid);
    prepareSpare();
}

// The next job's output channel is made while this job's program runs, not
// in the time between the end of one job and the start of the next.
void JobRunner::prepareSpare()
{
    if (spare)
        return;
    auto next = std::make_unique<Running>();
    if (next->sockets.open())
        spare = std::move(next);
}

void JobRunner::watchProcess(Running &entry, pid_t pid)
{
    Running *const job = &entry;
    entry.pid = pid;
    GroupGuard::instance().watch(pid);

    entry.outputNotifier = std::make_unique<QSocketNotifier>(entry.sockets.receiver,
                                                             QSocketNotifier::Read);
    connect(entry.outputNotifier.get(), &QSocketNotifier::activated, this,
            [this, job] { readOutput(*job); });
    entry.processFd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (entry.processFd >= 0) {
        entry.endNotifier = std::make_unique<QSocketNotifier>(entry.processFd, QSocketNotifier::Read);
        connect(entry.endNotifier.get(), &QSocketNotifier::activated, this,
                [this, job] { reap(*job); });
    } else {
        entry.endPoll = std::make_unique<QTimer>();
        connect(entry.endPoll.get(), &QTimer::timeout, this, [this, job] { reap(*job); });
        entry.endPoll->start(5);
    }
}

HxmJob *JobRunner::fail(std::unique_ptr<HxmJob> job, const QString &message)
{
    // Goes through the same path as a program that failed to start, so the
    // caller sees one kind of end whatever went wrong.
    Running *entry = add(std::move(job));
    refuse(*entry, message);
    return entry->job.get();
}

void JobRunner::emitLines(Running &entry, QByteArray &buffer, bool isError, bool flushAll)
{
    const auto emitText = [&](const QByteArray &line) {
        const QString text = textOf(line);
        isError ? Q_EMIT standardError(entry.job.get(), text)
                : Q_EMIT standardOutput(entry.job.get(), text);
    };
    qsizetype start = 0;
    qsizetype newline;
    while ((newline = buffer.indexOf('\n', start)) >= 0) {
        emitText(buffer.mid(start, newline + 1 - start));
        start = newline + 1;
    }
    buffer.remove(0, start);
    while (buffer.size() >= LongestLine) {
        emitText(buffer.left(LongestLine));
        buffer.remove(0, LongestLine);
    }
    if (flushAll && !buffer.isEmpty()) {
        emitText(buffer);
        buffer.clear();
    }
}

void JobRunner::readOutput(Running &entry)
{
    if (entry.sockets.receiver < 0)
        return;
    QByteArray datagram;
    for (;;) {
        const ssize_t size = ::recv(entry.sockets.receiver, nullptr, 0,
                                    MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
        if (size < 0 && errno == EINTR)
            continue;
        if (size < 0)
            break;
        datagram.resize(qMax<qsizetype>(size, 1));
        sockaddr_un from{};
        socklen_t fromLength = sizeof(from);
        const ssize_t got = ::recvfrom(entry.sockets.receiver, datagram.data(), datagram.size(),
                                       MSG_DONTWAIT, reinterpret_cast<sockaddr *>(&from), &fromLength);
        if (got < 0)
            break;
        const QByteArray sender(reinterpret_cast<const char *>(&from), int(fromLength));
        // Anything else on the system that finds the socket is not the job.
        const bool isError = sender == entry.sockets.errAddress;
        if (!isError && sender != entry.sockets.outAddress)
            continue;
        QByteArray &buffer = isError ? entry.stderrBuffer : entry.stdoutBuffer;
        buffer.append(datagram.constData(), got);
        emitLines(entry, buffer, isError, false);
    }
}

void JobRunner::reap(Running &entry)
{
    if (entry.ended || entry.pid <= 0)
        return;
    int status = 0;
    const pid_t done = ::waitpid(entry.pid, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR))
        return;
    // Everything the program wrote before it ended is queued by now.
    readOutput(entry);
    emitLines(entry, entry.stdoutBuffer, false, true);
    emitLines(entry, entry.stderrBuffer, true, true);
    GroupGuard::instance().forget(entry.pid);
    entry.outputNotifier.reset();
    entry.endNotifier.reset();
    entry.endPoll.reset();
    closeDescriptor(entry.sockets.receiver);

    if (entry.killed)
        end(&entry, KilledExitCode, tr("Cancelled"));
    else if (done > 0 && WIFEXITED(status))
        end(&entry, WEXITSTATUS(status), QString());
    else if (done > 0 && WIFSIGNALED(status))
        end(&entry, StartFailedExitCode,
            tr("'%1' ended abnormally: signal %2").arg(entry.job->applicationFilePath).arg(WTERMSIG(status)));
    else
        end(&entry, StartFailedExitCode, tr("'%1' ended abnormally: %2")
                                             .arg(entry.job->applicationFilePath, systemError(errno)));
}

void JobRunner::end(Running *entry, int exitCode, const QString &message)
{
    if (entry->ended)
        return;
    entry->ended = true;
    if (!message.isEmpty())
        entry->job->message = message;
    // Reported from the event loop, not from inside the caller's stack, so
    // that whoever starts the next job does so on a flat stack. A job that
    // never ran says why on its error output first, where the run's report
    // keeps a step's output.
    QTimer::singleShot(0, this, [this, entry, exitCode] {
        if (!running.removeOne(entry))
            return;
        if (!entry->startProblem.isEmpty()) {
            Q_EMIT startFailed(entry->job.get(), entry->startProblem);
            Q_EMIT standardError(entry->job.get(), entry->startProblem);
        }
        Q_EMIT finished(entry->job.get(), entry->job->message, exitCode);
        delete entry;
    });
}

JobRunner::Running *JobRunner::find(HxmJob *job) const
{
    for (Running *entry : running) {
        if (entry->job.get() == job)
            return entry;
    }
    return nullptr;
}

void JobRunner::kill(HxmJob *job)
{
    Running *entry = find(job);
    if (!entry || entry->ended || entry->pid <= 0)
        return;
    entry->killed = true;
    ::kill(-entry->pid, SIGKILL);
    ::kill(entry->pid, SIGKILL);
}

void JobRunner::killAll()
{
    for (Running *entry : std::as_const(running))
        kill(entry->job.get());
}

HxmJob *JobRunner::currentJob() const
{
    for (auto it = running.crbegin(); it != running.crend(); ++it) {
        if (!(*it)->ended)
            return (*it)->job.get();
    }
    return nullptr;
}
