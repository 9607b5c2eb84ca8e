#pragma once

#include <QString>

// The folders a sequence's reports and the files of its runs go to, all
// below the project folder the host reports.
class ReportPaths
{
public:
    ReportPaths(const QString &projectDirectory, const QString &sequenceName);

    // Sequences/<sequence>: the report files
    QString sequenceFolder() const;
    // Sequences/<sequence>/<report name>: output and report files of one run
    QString runFolder(const QString &reportName) const;
    // Sequences/<sequence>/Results[/<unit folder>]: an empty unit folder
    // stands for "no unit identification"
    QString resultsFolder(const QString &unitFolder = QString()) const;
    // Sequences/<sequence>/UnitReports, or the configured folder when the
    // default is switched off
    QString unitReportsFolder(bool defaultPath, const QString &configuredPath) const;
    // Sequences/<sequence>/Export
    QString exportFolder() const;

    // Creates `path` with all its parents, one component at a time, so that
    // both "\" and "/" separate components whatever the platform and a drive
    // prefix such as "C:" is not mistaken for a folder. Succeeds when the
    // final folder exists, whether or not it was created here.
    [[nodiscard]] static bool makePath(const QString &path);

    // A folder name made from a person's text (a unit folder): safe as one
    // name; empty stays empty, which means "no folder".
    static QString folderName(const QString &text);

    // `parts` joined with "/" and converted to the platform's separators;
    // empty parts are left out
    static QString join(const QStringList &parts);

private:
    QString projectDirectory;
    QString sequenceName;
};
