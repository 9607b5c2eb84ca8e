#pragma once

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// What one run of the seqrun program said and how it ended.
struct SeqrunResult
{
    int exitCode;
    QString out;
    QString err;
};

// Starts the seqrun binary of this build (SEQRUN_FILE) with `arguments`;
// each entry of `environment` is set, or removed when its value is empty.
inline std::unique_ptr<QProcess> startSeqrun(const QStringList &arguments,
                                             const QMap<QString, QString> &environment = {})
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.begin(); it != environment.end(); ++it) {
        if (it.value().isEmpty())
            variables.remove(it.key());
        else
            variables.insert(it.key(), it.value());
    }
    process->setProcessEnvironment(variables);
    process->start(QStringLiteral(SEQRUN_FILE), arguments);
    return process;
}

// Waits for a started seqrun to end; `input` is what an operator types on
// standard input.
inline SeqrunResult finishSeqrun(QProcess &process, const QByteArray &input = QByteArray())
{
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(180000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

inline SeqrunResult seqrun(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    return finishSeqrun(*startSeqrun(arguments), input);
}
