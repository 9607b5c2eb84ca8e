#pragma once

#include "runrecord.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// The results database of a station or a line: the project's SQLite file,
// or a PostgreSQL server named by "postgresql://user@host:port/database".
// It creates and upgrades its own schema; every run is written in one
// transaction and is known by its id, so it is never stored twice.
class ResultsDatabase
{
public:
    struct Filter
    {
        QString sequence;
        QString serialNumber;
        QDateTime since;          // runs started at or after
        QDateTime until;          // runs started before
        bool undeliveredOnly = false;
    };

    explicit ResultsDatabase(const QString &location);
    ~ResultsDatabase();
    ResultsDatabase(const ResultsDatabase &) = delete;
    ResultsDatabase &operator=(const ResultsDatabase &) = delete;

    static bool isServerLocation(const QString &location);

    // connects, and creates or upgrades the schema
    [[nodiscard]] bool open();
    QString errorString() const { return problem; }
    QString location() const { return where; }
    int schemaVersion();

    // false with an error text when the run could not be written; a run
    // already stored (same id) counts as written
    [[nodiscard]] bool insertRun(const RunRecord &record, bool delivered = true);
    [[nodiscard]] bool markDelivered(const QString &runId);
    QList<RunRecord> runs(const Filter &filter);

private:
    bool isPostgres() const;
    bool connect();
    bool exec(const QString &statement);
    bool begin();
    bool commit();
    void rollback();
    bool migrate();
    bool hasRun(const QString &runId, bool &found);
    bool fail(const QString &what, const QString &detail);

    QString where;
    QString connectionName;
    QString problem;
};
