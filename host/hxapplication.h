#pragma once

#include <QString>
#include <QStringList>

namespace VemoDatabase {

// A project application as the host's database describes it: its name, its
// type, the folder its files live in and the names of its TAP connectors.
class HxApplication
{
public:
    HxApplication() = default;
    HxApplication(const QString &name, const QString &type, const QString &folder);

    QString name() const { return appName; }
    QString type() const { return appType; }
    // the application's own folder; relative file names of the application
    // are relative to it
    QString folder() const { return appFolder; }
    QStringList tapConnectors() const { return taps; }
    void setTapConnectors(const QStringList &names) { taps = names; }

    // A file name relative to the application folder becomes absolute;
    // absolute names are returned cleaned; an empty name stays empty.
    QString convertFileNameRelativeApplicationPathToAbsolutePath(const QString &fileName) const;
    // An absolute file name inside the archive's copy of the application
    // folder becomes relative to that folder; anything else is returned as
    // it was given.
    QString convertFileNameAtArchiveToRelativeApplicationPath(const QString &fileName) const;

private:
    QString appName;
    QString appType;
    QString appFolder;
    QStringList taps;
};

} // namespace VemoDatabase
