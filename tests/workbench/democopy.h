#pragma once

#include "temporaryfolder.h"

#include <QDir>
#include <QFile>

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
