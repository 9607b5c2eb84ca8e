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

// Runs the seqrun binary of this build (SEQRUN_FILE) with `arguments`;
// `input` is what an operator types on standard input.
inline SeqrunResult seqrun(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(QStringLiteral(SEQRUN_FILE), arguments);
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
