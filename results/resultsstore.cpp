#include "resultsstore.h"

#include "resultsdatabase.h"

#include <QDir>

QString ResultsStore::serverLocation(const QString &setting)
{
    const QString environment = qEnvironmentVariable("ORV_RESULTS_DB").trimmed();
    return environment.isEmpty() ? setting.trimmed() : environment;
}

QString ResultsStore::localLocation(const QString &projectDirectory)
{
    return QDir(projectDirectory).filePath(QStringLiteral("results.sqlite"));
}

ResultsStore::Outcome ResultsStore::record(const RunRecord &run, const QString &projectDirectory,
                                           const QString &server)
{
    Outcome outcome;
    {
        ResultsDatabase local(localLocation(projectDirectory));
        if (!local.open() || !local.insertRun(run, server.isEmpty())) {
            outcome.problem = local.errorString();
            return outcome;
        }
    }
    outcome.recorded = true;
    if (server.isEmpty())
        return outcome;
    Outcome delivery = deliver(projectDirectory, server);
    delivery.recorded = true;
    return delivery;
}

ResultsStore::Outcome ResultsStore::deliver(const QString &projectDirectory, const QString &server)
{
    Outcome outcome;
    ResultsDatabase local(localLocation(projectDirectory));
    if (!local.open()) {
        outcome.problem = local.errorString();
        return outcome;
    }
    ResultsDatabase::Filter waiting;
    waiting.undeliveredOnly = true;
    const QList<RunRecord> runs = local.runs(waiting);
    outcome.pending = int(runs.size());
    if (runs.isEmpty())
        return outcome;
    ResultsDatabase remote(server);
    if (!remote.open()) {
        outcome.problem = remote.errorString();
        return outcome;
    }
    // The server has the run before the station forgets it is waiting; a
    // crash in between only makes the next delivery find it there already.
    for (const RunRecord &run : runs) {
        if (!remote.insertRun(run)) {
            outcome.problem = remote.errorString();
            return outcome;
        }
        if (!local.markDelivered(run.id)) {
            outcome.problem = local.errorString();
            return outcome;
        }
        ++outcome.delivered;
        --outcome.pending;
    }
    return outcome;
}
