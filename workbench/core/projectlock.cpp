#include "projectlock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

ProjectLock::ProjectLock(const QString &directory)
    : folder(QFileInfo(directory).absoluteFilePath()),
      file(std::make_unique<QLockFile>(QDir(folder).filePath(FileName)))
{
    // A run may write for hours; only a holder that is gone gives the lock up.
    file->setStaleLockTime(0);
}

ProjectLock::~ProjectLock() = default;

bool ProjectLock::acquire(int waitMilliseconds)
{
    if (!held)
        held = file->tryLock(waitMilliseconds);
    return held;
}

QString ProjectLock::holder() const
{
    qint64 pid = 0;
    QString hostName;
    QString program;
    if (!file->getLockInfo(&pid, &hostName, &program))
        return QString();
    const QDateTime since = QFileInfo(QDir(folder).filePath(FileName)).lastModified();
    return tr("%1 (process %2 on %3, since %4)")
        .arg(program.isEmpty() ? tr("another program") : program)
        .arg(pid)
        .arg(hostName, since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}
