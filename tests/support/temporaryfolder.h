#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A folder that lives as long as the test, with small helpers to put files in it.
class TemporaryFolder
{
public:
    TemporaryFolder();

    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    // writes `content` as it stands and returns the file's path
    QString write(const QString &name, const QByteArray &content) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir dir;
};
