// What starting a job costs the host as the host grows: N jobs running
// `true` through the host's job runner (a clone sharing its memory) and through QProcess
// (fork, own group), in a host that holds 0 MB and then 1 GB of its own memory.
//
//   build/bin/jobstartbench [jobs]

#include "hxmjob.h"
#include "jobrunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>
#include <cstring>

namespace {

double jobRunnerStart(int jobs)
{
    JobRunner runner;
    QEventLoop loop;
    int done = 0;
    QObject::connect(&runner, &JobRunner::finished, &loop, [&] {
        if (++done == jobs)
            loop.quit();
        else
            runner.start(QStringLiteral("/bin/true"), {}, QString(), QProcessEnvironment::systemEnvironment(),
                         std::make_unique<HxmJob>());
    });
    QElapsedTimer clock;
    clock.start();
    runner.start(QStringLiteral("/bin/true"), {}, QString(), QProcessEnvironment::systemEnvironment(),
                 std::make_unique<HxmJob>());
    loop.exec();
    return double(clock.nsecsElapsed()) / 1000.0 / jobs;
}

double qProcessStart(int jobs)
{
    QElapsedTimer clock;
    clock.start();
    for (int job = 0; job < jobs; ++job) {
        // as the host started jobs before: in a process group of their own
        QProcess process;
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
        process.start(QStringLiteral("/bin/true"), {});
        process.waitForFinished();
    }
    return double(clock.nsecsElapsed()) / 1000.0 / jobs;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int jobs = argc > 1 ? std::atoi(argv[1]) : 300;
    for (const int megabytes : {0, 2048}) {
        const size_t size = size_t(megabytes) * 1024 * 1024;
        void *ballast = size ? ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                             : nullptr;
        if (ballast) {
            // small pages, as a host's many small allocations have them
            ::madvise(ballast, size, MADV_NOHUGEPAGE);
            std::memset(ballast, 1, size);   // pages the host really holds
        }
        const double spawned = jobRunnerStart(jobs);
        const double forked = qProcessStart(jobs);
        std::printf("host holding %4d MB: job runner %6.0f us per job, QProcess (fork, own group) %6.0f us per job\n",
                    megabytes, spawned, forked);
        if (ballast)
            ::munmap(ballast, size);
    }
    std::printf("goal: the job runner's cost does not grow with the host\n");
    return 0;
}
