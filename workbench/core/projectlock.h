#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class QLockFile;

// The lock a process holds on a project folder for as long as it may write
// the project, so that two writers never overwrite each other's work: a
// lock file beside "project.xml" naming the holder. A lock left behind by a
// process that no longer runs is taken over. Readers need no lock.
class ProjectLock
{
    Q_DECLARE_TR_FUNCTIONS(ProjectLock)

public:
    static inline const QString FileName = QStringLiteral("project.xml.lock");

    explicit ProjectLock(const QString &directory);
    ~ProjectLock();
    ProjectLock(const ProjectLock &) = delete;
    ProjectLock &operator=(const ProjectLock &) = delete;

    // Takes the lock, waiting up to `waitMilliseconds` for another writer to
    // finish. False when it stays taken; holder() then says by whom.
    [[nodiscard]] bool acquire(int waitMilliseconds);
    bool isHeld() const { return held; }
    QString directory() const { return folder; }
    // The process that holds the lock: program, process id, host and since
    // when; empty when nobody holds it.
    QString holder() const;

private:
    QString folder;
    std::unique_ptr<QLockFile> file;
    bool held = false;
};
