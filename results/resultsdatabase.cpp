#include "resultsdatabase.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

namespace {

QAtomicInt connectionCounter;

// Each migration brings the schema from the version before it to its own
// number; a database is never downgraded. "%KEY%" is the engine's
// self-numbering key, "%REF%" a column that refers to one.
const QList<QStringList> Migrations = {
    {
        QStringLiteral("CREATE TABLE runs (id %KEY%, uid TEXT NOT NULL UNIQUE, project TEXT, "
                       "sequence TEXT NOT NULL, started TEXT, started_utc TEXT NOT NULL, ended TEXT, "
                       "user_name TEXT, privilege TEXT, host TEXT, verdict TEXT, run_end TEXT, "
                       "report_file TEXT, delivered INTEGER NOT NULL DEFAULT 1)"),
        QStringLiteral("CREATE TABLE units (id %KEY%, run_id %REF% NOT NULL REFERENCES runs(id) "
                       "ON DELETE CASCADE, cycle INTEGER, serial TEXT, folder TEXT, taps TEXT, "
                       "verdict TEXT)"),
        QStringLiteral("CREATE TABLE steps (id %KEY%, run_id %REF% NOT NULL REFERENCES runs(id) "
                       "ON DELETE CASCADE, cycle INTEGER, number TEXT, type TEXT, operation TEXT, "
                       "item TEXT, status TEXT, exit_code INTEGER, started TEXT, duration_ms BIGINT, "
                       "pause_answer TEXT, output_files TEXT, output TEXT, counts INTEGER)"),
    },
    {
        QStringLiteral("CREATE INDEX units_by_serial ON units (serial)"),
        QStringLiteral("CREATE INDEX units_by_run ON units (run_id)"),
        QStringLiteral("CREATE INDEX steps_by_run ON steps (run_id)"),
        QStringLiteral("CREATE INDEX runs_by_sequence ON runs (sequence)"),
        QStringLiteral("CREATE INDEX runs_by_time ON runs (started_utc)"),
    },
};

QString utcText(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime timeFrom(const QVariant &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

} // namespace

ResultsDatabase::ResultsDatabase(const QString &location)
    : where(location),
      connectionName(QStringLiteral("orv-results-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

ResultsDatabase::~ResultsDatabase()
{
    if (QSqlDatabase::contains(connectionName)) {
        QSqlDatabase::database(connectionName, false).close();
        QSqlDatabase::removeDatabase(connectionName);
    }
}

bool ResultsDatabase::isServerLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://"))
           || location.startsWith(QLatin1String("postgres://"));
}

bool ResultsDatabase::isPostgres() const
{
    return isServerLocation(where);
}

bool ResultsDatabase::fail(const QString &what, const QString &detail)
{
    problem = detail.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, detail);
    return false;
}

bool ResultsDatabase::open()
{
    if (connect())
        return true;
    // Say which database, but never its password.
    const QString name = isPostgres() ? QUrl(where).toString(QUrl::RemovePassword) : QDir::toNativeSeparators(where);
    problem = QStringLiteral("results database %1: %2").arg(name, problem);
    return false;
}

bool ResultsDatabase::connect()
{
    QSqlDatabase db;
    if (isPostgres()) {
        const QUrl url(where);
        if (!url.isValid() || url.path().size() < 2)
            return fail(QStringLiteral("not a database address"), QString());
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        const QUrlQuery query(url);
        // "?host=/run/postgresql" reaches a server through its Unix socket
        db.setHostName(query.hasQueryItem(QStringLiteral("host")) ? query.queryItemValue(QStringLiteral("host"))
                                                                  : url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1));
        // An unreachable server must not hold a station up for long.
        db.setConnectOptions(QStringLiteral("connect_timeout=3"));
    } else {
        QDir().mkpath(QFileInfo(where).absolutePath());
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(where);
        // Several processes of one station may record at the same time.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    }
    if (!db.isValid())
        return fail(QStringLiteral("no database driver"), db.lastError().text());
    if (!db.open())
        return fail(QStringLiteral("cannot connect"), db.lastError().text());
    // The server's notes ("already exists, skipping") are no news to a station.
    if (isPostgres() && !exec(QStringLiteral("SET client_min_messages TO WARNING")))
        return false;
    if (!isPostgres() && !(exec(QStringLiteral("PRAGMA journal_mode=WAL"))
                           && exec(QStringLiteral("PRAGMA foreign_keys=ON"))))
        return false;
    return migrate();
}

bool ResultsDatabase::exec(const QString &statement)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    if (query.exec(statement))
        return true;
    return fail(QStringLiteral("%1 failed").arg(statement.section(QLatin1Char(' '), 0, 2)),
                query.lastError().text());
}

// SQLite takes the write lock at the start, so two writers queue up behind
// the busy time-out instead of failing at the first write.
bool ResultsDatabase::begin()
{
    return exec(isPostgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

bool ResultsDatabase::commit()
{
    return exec(QStringLiteral("COMMIT"));
}

void ResultsDatabase::rollback()
{
    const QString kept = problem;
    exec(QStringLiteral("ROLLBACK"));
    problem = kept;
}

int ResultsDatabase::schemaVersion()
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    if (!query.exec(QStringLiteral("SELECT version FROM schema_version")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

bool ResultsDatabase::migrate()
{
    if (!begin())
        return false;
    // Stations that start together must not build the schema twice.
    if (isPostgres() && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(7310014)"))) {
        rollback();
        return false;
    }
    if (!exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"))) {
        rollback();
        return false;
    }
    const int version = schemaVersion();
    const QString key = isPostgres() ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                     : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QString ref = isPostgres() ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER");
    for (int number = version; number < Migrations.size(); ++number) {
        for (QString statement : Migrations.at(number)) {
            statement.replace(QLatin1String("%KEY%"), key).replace(QLatin1String("%REF%"), ref);
            if (!exec(statement)) {
                rollback();
                return false;
            }
        }
    }
    if (version < Migrations.size()) {
        const QString mark = version == 0 ? QStringLiteral("INSERT INTO schema_version VALUES (%1)")
                                          : QStringLiteral("UPDATE schema_version SET version = %1");
        if (!exec(mark.arg(Migrations.size()))) {
            rollback();
            return false;
        }
    }
    return commit();
}

bool ResultsDatabase::hasRun(const QString &runId, bool &found)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    query.prepare(QStringLiteral("SELECT id FROM runs WHERE uid = ?"));
    query.addBindValue(runId);
    if (!query.exec())
        return fail(QStringLiteral("cannot look up run %1").arg(runId), query.lastError().text());
    found = query.next();
    return true;
}

bool ResultsDatabase::insertRun(const RunRecord &record, bool delivered)
{
    if (!begin())
        return false;
    bool found = false;
    if (!hasRun(record.id, found)) {
        rollback();
        return false;
    }
    if (found)
        return commit();

    const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery run(db);
    run.prepare(QStringLiteral(
        "INSERT INTO runs (uid, project, sequence, started, started_utc, ended, user_name, privilege, "
        "host, verdict, run_end, report_file, delivered) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?) RETURNING id"));
    for (const QVariant &value :
         {QVariant(record.id), QVariant(record.project), QVariant(record.sequence),
          QVariant(RunRecord::timeText(record.started)), QVariant(utcText(record.started)),
          QVariant(RunRecord::timeText(record.ended)), QVariant(record.user), QVariant(record.privilege),
          QVariant(record.host), QVariant(record.verdict), QVariant(record.end),
          QVariant(record.reportFile), QVariant(delivered ? 1 : 0)})
        run.addBindValue(value);
    if (!run.exec() || !run.next()) {
        fail(QStringLiteral("cannot record run %1").arg(record.id), run.lastError().text());
        rollback();
        return false;
    }
    const qint64 runKey = run.value(0).toLongLong();
    run.finish();

    QSqlQuery unit(db);
    unit.prepare(QStringLiteral(
        "INSERT INTO units (run_id, cycle, serial, folder, taps, verdict) VALUES (?,?,?,?,?,?)"));
    for (const RunRecord::Unit &u : record.units) {
        for (const QVariant &value : {QVariant(runKey), QVariant(u.cycle), QVariant(u.serialNumber),
                                      QVariant(u.folder), QVariant(u.taps), QVariant(u.verdict)})
            unit.addBindValue(value);
        if (!unit.exec()) {
            fail(QStringLiteral("cannot record a unit of run %1").arg(record.id), unit.lastError().text());
            rollback();
            return false;
        }
    }
    QSqlQuery step(db);
    step.prepare(QStringLiteral(
        "INSERT INTO steps (run_id, cycle, number, type, operation, item, status, exit_code, started, "
        "duration_ms, pause_answer, output_files, output, counts) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const RunRecord::Step &s : record.steps) {
        for (const QVariant &value :
             {QVariant(runKey), QVariant(s.cycle), QVariant(s.number), QVariant(s.type),
              QVariant(s.operation), QVariant(s.item), QVariant(s.status), QVariant(s.exitCode),
              QVariant(RunRecord::timeText(s.started)), QVariant(s.durationMs), QVariant(s.pauseAnswer),
              QVariant(s.outputFiles.join(QLatin1Char('\n'))), QVariant(s.output),
              QVariant(s.countsToVerdict ? 1 : 0)})
            step.addBindValue(value);
        if (!step.exec()) {
            fail(QStringLiteral("cannot record a step of run %1").arg(record.id), step.lastError().text());
            rollback();
            return false;
        }
    }
    return commit();
}

bool ResultsDatabase::markDelivered(const QString &runId)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    query.prepare(QStringLiteral("UPDATE runs SET delivered = 1 WHERE uid = ?"));
    query.addBindValue(runId);
    if (!query.exec())
        return fail(QStringLiteral("cannot mark run %1 delivered").arg(runId), query.lastError().text());
    return true;
}

QList<RunRecord> ResultsDatabase::runs(const Filter &filter)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.sequence.isEmpty()) {
        conditions << QStringLiteral("sequence = ?");
        values << filter.sequence;
    }
    if (!filter.serialNumber.isEmpty()) {
        conditions << QStringLiteral("id IN (SELECT run_id FROM units WHERE serial = ?)");
        values << filter.serialNumber;
    }
    if (filter.since.isValid()) {
        conditions << QStringLiteral("started_utc >= ?");
        values << utcText(filter.since);
    }
    if (filter.until.isValid()) {
        conditions << QStringLiteral("started_utc < ?");
        values << utcText(filter.until);
    }
    if (filter.undeliveredOnly)
        conditions << QStringLiteral("delivered = 0");
    const QString where = conditions.isEmpty() ? QString()
                                               : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    auto select = [&](const QString &statement) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(statement);
        for (const QVariant &value : std::as_const(values))
            query.addBindValue(value);
        if (!query.exec())
            fail(QStringLiteral("cannot read the results"), query.lastError().text());
        return query;
    };

    QList<RunRecord> result;
    QHash<qint64, qsizetype> byKey;
    QSqlQuery run = select(QStringLiteral(
        "SELECT id, uid, project, sequence, started, ended, user_name, privilege, host, verdict, run_end, "
        "report_file FROM runs") + where + QStringLiteral(" ORDER BY started_utc, id"));
    while (run.next()) {
        RunRecord record;
        record.id = run.value(1).toString();
        record.project = run.value(2).toString();
        record.sequence = run.value(3).toString();
        record.started = timeFrom(run.value(4));
        record.ended = timeFrom(run.value(5));
        record.user = run.value(6).toString();
        record.privilege = run.value(7).toString();
        record.host = run.value(8).toString();
        record.verdict = run.value(9).toString();
        record.end = run.value(10).toString();
        record.reportFile = run.value(11).toString();
        byKey.insert(run.value(0).toLongLong(), result.size());
        result.append(record);
    }
    const QString runKeys = QStringLiteral(" WHERE run_id IN (SELECT id FROM runs") + where + QStringLiteral(")");
    QSqlQuery unit = select(QStringLiteral("SELECT run_id, cycle, serial, folder, taps, verdict FROM units")
                            + runKeys + QStringLiteral(" ORDER BY id"));
    while (unit.next()) {
        const auto at = byKey.constFind(unit.value(0).toLongLong());
        if (at == byKey.constEnd())
            continue;
        result[*at].units.append({unit.value(1).toInt(), unit.value(2).toString(), unit.value(3).toString(),
                                  unit.value(4).toString(), unit.value(5).toString()});
    }
    QSqlQuery step = select(QStringLiteral(
        "SELECT run_id, cycle, number, type, operation, item, status, exit_code, started, duration_ms, "
        "pause_answer, output_files, output, counts FROM steps") + runKeys + QStringLiteral(" ORDER BY id"));
    while (step.next()) {
        const auto at = byKey.constFind(step.value(0).toLongLong());
        if (at == byKey.constEnd())
            continue;
        RunRecord::Step s;
        s.cycle = step.value(1).toInt();
        s.number = step.value(2).toString();
        s.type = step.value(3).toString();
        s.operation = step.value(4).toString();
        s.item = step.value(5).toString();
        s.status = step.value(6).toString();
        s.exitCode = step.value(7).toInt();
        s.started = timeFrom(step.value(8));
        s.durationMs = step.value(9).toLongLong();
        s.pauseAnswer = step.value(10).toString();
        const QString files = step.value(11).toString();
        s.outputFiles = files.isEmpty() ? QStringList() : files.split(QLatin1Char('\n'));
        s.output = step.value(12).toString();
        s.countsToVerdict = step.value(13).toInt() != 0;
        result[*at].steps.append(s);
    }
    return result;
}
