#include "hxapplication.h"

#include <QDir>
#include <QFileInfo>

namespace VemoDatabase {

HxApplication::HxApplication(const QString &name, const QString &type, const QString &folder)
    : appName(name), appType(type), appFolder(folder)
{
}

QString HxApplication::convertFileNameRelativeApplicationPathToAbsolutePath(
    const QString &fileName) const
{
    if (fileName.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(fileName) || appFolder.isEmpty())
        return QDir::cleanPath(fileName);
    return QDir::cleanPath(QDir(appFolder).absoluteFilePath(fileName));
}

QString HxApplication::convertFileNameAtArchiveToRelativeApplicationPath(
    const QString &fileName) const
{
    if (appFolder.isEmpty() || !QDir::isAbsolutePath(fileName))
        return fileName;
    const QString folder = QDir::cleanPath(QDir(appFolder).absolutePath());
    const QString file = QDir::cleanPath(fileName);
    // Only files below the application folder travel with it in an archive;
    // their place is then relative to wherever the archive unpacks it.
    if (!file.startsWith(folder + QLatin1Char('/')))
        return fileName;
    return QDir(folder).relativeFilePath(file);
}

} // namespace VemoDatabase
