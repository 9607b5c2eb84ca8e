#include "resultsdatabase.h"
#include "resultsstore.h"
#include "resultssummary.h"
#include "runjson.h"
#include "samplerun.h"
#include "temporaryfolder.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

QStringList idsOf(const QList<RunRecord> &runs)
{
    QStringList ids;
    for (const RunRecord &run : runs)
        ids << run.id;
    return ids;
}

RunRecord runOf(const QString &id, const QString &sequence, const QDateTime &started,
                const QList<QPair<QString, QString>> &units, const QStringList &failingSteps = {})
{
    RunRecord run;
    run.id = id;
    run.sequence = sequence;
    run.started = started;
    run.ended = started.addSecs(5);
    run.end = QStringLiteral("completed");
    run.verdict = QStringLiteral("Passed");
    int cycle = 0;
    for (const auto &[serial, verdict] : units)
        run.units.append({++cycle, serial, serial, QString(), verdict});
    for (const QString &name : failingSteps) {
        RunRecord::Step step;
        step.number = name.section(QLatin1Char(' '), 0, 0);
        step.item = name.section(QLatin1Char(' '), 1);
        step.type = QStringLiteral("Infrastructure Test");
        step.status = QStringLiteral("Failed");
        step.started = started;
        run.steps.append(step);
    }
    return run;
}

} // namespace

TEST(ResultsDatabaseTest, ARunReadsBackAsItWasWrittenAndIsStoredOnce)
{
    TemporaryFolder folder;
    ResultsDatabase database(folder.filePath(QStringLiteral("results.sqlite")));
    ASSERT_TRUE(database.open()) << database.errorString().toStdString();
    const RunRecord run = sampleRun();
    ASSERT_TRUE(database.insertRun(run)) << database.errorString().toStdString();
    ASSERT_TRUE(database.insertRun(run));
    const QList<RunRecord> stored = database.runs({});
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(RunJson::toObject(stored.first()), RunJson::toObject(run));

    const RunRecord later = runOf(QStringLiteral("later"), QStringLiteral("Other"), run.started.addDays(2),
                                  {{QStringLiteral("DB-0200"), QStringLiteral("Passed")}});
    ASSERT_TRUE(database.insertRun(later));
    struct Case
    {
        const char *name;
        ResultsDatabase::Filter filter;
        QStringList ids;
    };
    const QList<Case> cases = {
        {"all, in time order", {}, {run.id, later.id}},
        {"by sequence", {QStringLiteral("Other")}, {later.id}},
        {"by serial number", {{}, QStringLiteral("DB-0102")}, {run.id}},
        {"since a day", {{}, {}, run.started.addDays(1)}, {later.id}},
        {"until a day", {{}, {}, {}, run.started.addDays(1)}, {run.id}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(idsOf(database.runs(c.filter)), c.ids);
    }
}

// An older database is brought up to date by the migrations it lacks.
TEST(ResultsDatabaseTest, AnOlderSchemaIsUpgradedInPlace)
{
    TemporaryFolder folder;
    const QString file = folder.filePath(QStringLiteral("results.sqlite"));
    {
        ResultsDatabase database(file);
        ASSERT_TRUE(database.open());
        ASSERT_TRUE(database.insertRun(sampleRun()));
    }
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(file);
        ASSERT_TRUE(raw.open());
        QSqlQuery query(raw);
        for (const char *statement : {"DROP INDEX units_by_serial", "DROP INDEX units_by_run", "DROP INDEX steps_by_run",
                                      "DROP INDEX runs_by_sequence", "DROP INDEX runs_by_time",
                                      "UPDATE schema_version SET version = 1"})
            ASSERT_TRUE(query.exec(QLatin1String(statement)));
        query.finish();
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    ResultsDatabase database(file);
    ASSERT_TRUE(database.open()) << database.errorString().toStdString();
    EXPECT_EQ(database.schemaVersion(), 2);
    EXPECT_EQ(database.runs({}).size(), 1);
}

// The station keeps every run; the server gets each one exactly once,
// however often delivery is tried and wherever it was cut off.
TEST(ResultsDatabaseTest, RunsWaitForAnUnreachableServerAndArriveOnce)
{
    TemporaryFolder folder;
    const QString project = folder.path();
    const QString unreachable = QStringLiteral("postgresql://orv@127.0.0.1:1/results");
    const ResultsStore::Outcome kept = ResultsStore::record(sampleRun(QStringLiteral("first")), project, unreachable);
    EXPECT_TRUE(kept.recorded);
    EXPECT_EQ(kept.pending, 1);
    EXPECT_FALSE(kept.problem.isEmpty());

    // the server, here a second database file, already got the second run
    // once before the station could note it
    const QString server = folder.filePath(QStringLiteral("server/line.sqlite"));
    ASSERT_TRUE(ResultsStore::record(sampleRun(QStringLiteral("second")), project, unreachable).recorded);
    {
        ResultsDatabase line(server);
        ASSERT_TRUE(line.open());
        ASSERT_TRUE(line.insertRun(sampleRun(QStringLiteral("second"))));
    }
    const ResultsStore::Outcome delivered = ResultsStore::deliver(project, server);
    EXPECT_EQ(delivered.delivered, 2) << delivered.problem.toStdString();
    EXPECT_EQ(delivered.pending, 0);
    EXPECT_EQ(ResultsStore::deliver(project, server).delivered, 0);
    const ResultsStore::Outcome third = ResultsStore::record(sampleRun(QStringLiteral("third")), project, server);
    EXPECT_EQ(third.delivered, 1);

    ResultsDatabase line(server);
    ASSERT_TRUE(line.open());
    QStringList ids = idsOf(line.runs({}));
    ids.sort();
    EXPECT_EQ(ids, QStringList({"first", "second", "third"}));
    ResultsDatabase local(ResultsStore::localLocation(project));
    ASSERT_TRUE(local.open());
    EXPECT_EQ(local.runs({}).size(), 3);
}

// First-pass yield counts a unit's first test, final yield its last; a
// run without units is one unit nobody named.
TEST(ResultsSummaryTest, YieldsFailingStepsAndTheRunsOfASerialNumber)
{
    const QDateTime day1(QDate(2026, 2, 3), QTime(9, 0));
    const QDateTime day2 = day1.addDays(1);
    const QString board = QStringLiteral("Board Test");
    RunRecord anonymous = runOf(QStringLiteral("r4"), QStringLiteral("Check"), day2, {});
    anonymous.verdict = QStringLiteral("Failed");
    const QList<RunRecord> runs = {
        runOf(QStringLiteral("r1"), board, day1,
              {{"A", "Failed"}, {"B", "Passed"}, {"C", "Failed"}}, {"3 Flash", "2 Chain", "3 Flash"}),
        runOf(QStringLiteral("r2"), board, day2, {{"A", "Passed"}, {"C", "Error"}}, {"3 Flash"}),
        runOf(QStringLiteral("r3"), board, day2, {{"D", "Incomplete"}}),
        runOf(QStringLiteral("r3b"), board, day2, {{"D", "Passed"}}),
        anonymous,
    };
    const ResultsSummary summary = ResultsSummary::of(runs, QStringLiteral("A"));
    ASSERT_EQ(summary.sequences.size(), 2);
    const ResultsSummary::SequenceYield &yield = summary.sequences.at(0);
    EXPECT_EQ(yield.sequence, board);
    EXPECT_EQ(yield.runs, 4);
    EXPECT_EQ(yield.units, 4);
    EXPECT_EQ(yield.firstPassed, 2);      // B, and D once its stopped test went on
    EXPECT_EQ(yield.finallyPassed, 3);    // A, B, D
    EXPECT_EQ(summary.sequences.at(1).units, 1);
    EXPECT_EQ(summary.sequences.at(1).firstPassed, 0);

    ASSERT_EQ(summary.failingSteps.size(), 2);
    EXPECT_EQ(summary.failingSteps.at(0).step, QStringLiteral("3 Flash"));
    EXPECT_EQ(summary.failingSteps.at(0).failures, 3);

    ASSERT_EQ(summary.days.size(), 2);
    EXPECT_EQ(summary.days.at(0).units, 3);   // A, B, C first tested on day 1
    EXPECT_EQ(summary.days.at(0).firstPassed, 1);
    EXPECT_EQ(summary.days.at(1).units, 2);   // D and the unnamed one

    // named units only, each with its first and last verdict
    ASSERT_EQ(summary.units.size(), 4);
    const auto a = std::find_if(summary.units.cbegin(), summary.units.cend(),
                                [](const ResultsSummary::UnitResult &unit) { return unit.serialNumber == QLatin1String("A"); });
    ASSERT_NE(a, summary.units.cend());
    EXPECT_EQ(QStringList({QString::number(a->tests), a->firstVerdict, a->lastVerdict}),
              QStringList({"2", "Failed", "Passed"}));

    ASSERT_EQ(summary.serialRuns.size(), 2);
    EXPECT_EQ(summary.serialRuns.at(0).verdict, QStringLiteral("Failed"));
    EXPECT_EQ(summary.serialRuns.at(1).verdict, QStringLiteral("Passed"));
}
