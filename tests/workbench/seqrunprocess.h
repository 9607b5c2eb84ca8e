#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What one run of the seqrun program said and how it ended.
struct SeqrunResult
{
    int exitCode;
    QString out;
    QString err;
};

// Runs the seqrun binary of this build (SEQRUN_FILE) with `arguments`.
inline SeqrunResult seqrun(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(SEQRUN_FILE), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
