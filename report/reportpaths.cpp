#include "reportpaths.h"

#include "textboundary.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

ReportPaths::ReportPaths(const QString &projectDirectory, const QString &sequenceName)
    : projectDirectory(projectDirectory), sequenceName(sequenceName)
{
}

QString ReportPaths::join(const QStringList &parts)
{
    QStringList used;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            used.append(part);
    }
    return QDir::toNativeSeparators(used.join(QLatin1Char('/')));
}

QString ReportPaths::sequenceFolder() const
{
    return join({projectDirectory, QStringLiteral("Sequences"),
                 TextBoundary::sequenceFolderName(sequenceName)});
}

QString ReportPaths::runFolder(const QString &reportName) const
{
    return join({sequenceFolder(), reportName});
}

QString ReportPaths::resultsFolder(const QString &unitFolder) const
{
    return join({sequenceFolder(), QStringLiteral("Results"), unitFolder});
}

QString ReportPaths::unitReportsFolder(bool defaultPath, const QString &configuredPath) const
{
    if (defaultPath)
        return join({sequenceFolder(), QStringLiteral("UnitReports")});
    return QDir::toNativeSeparators(configuredPath);
}

QString ReportPaths::exportFolder() const
{
    return join({sequenceFolder(), QStringLiteral("Export")});
}

bool ReportPaths::makePath(const QString &path)
{
    if (path.isEmpty())
        return false;
    QDir dir;
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QChar c = path.at(i);
        if (c != QLatin1Char('/') && c != QLatin1Char('\\'))
            continue;
        const QString prefix = path.left(i);
        const QChar last = prefix.back();
        // "C:" names a drive, and a doubled separator adds no component
        if (last == QLatin1Char(':') || last == QLatin1Char('/') || last == QLatin1Char('\\'))
            continue;
        if (!QFileInfo(prefix).isDir())
            dir.mkdir(prefix);   // a failure shows in the final check
    }
    if (!QFileInfo(path).isDir())
        dir.mkdir(path);
    return QFileInfo(path).isDir();
}
