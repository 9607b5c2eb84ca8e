#pragma once

#include "temporaryfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// The demo project, copied so the checked-in one never changes.
inline QString copyDemo(const TemporaryFolder &folder)
{
    const QString target = folder.filePath(QStringLiteral("demo"));
    QDir source(QStringLiteral(ORV_DEMO_DIR));
    QDir().mkpath(target + QStringLiteral("/apps"));
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), target + QLatin1Char('/') + name);
    QDir apps(source.filePath(QStringLiteral("apps")));
    for (const QString &name : apps.entryList(QDir::Files)) {
        const QString copy = target + QStringLiteral("/apps/") + name;
        QFile::copy(apps.filePath(name), copy);
        QFile::setPermissions(copy, QFile::permissions(apps.filePath(name)));
    }
    return target;
}

// Replaces `from` by `to` in a copied project's file, e.g. to make a step wait.
inline bool editProject(const QString &project, const QString &from, const QString &to)
{
    QFile file(project + QStringLiteral("/project.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString xml = QString::fromUtf8(file.readAll());
    file.close();
    if (!xml.contains(from) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(xml.replace(from, to).toUtf8()) > 0;
}

// A test with a copy of the demo project of its own.
class DemoProjectTest : public ::testing::Test
{
protected:
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
};
