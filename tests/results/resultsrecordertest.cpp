#include "resultsrecorder.h"

#include <gtest/gtest.h>

namespace {

RunRecord::Step step(int cycle, const QString &status, bool counts = true)
{
    RunRecord::Step s;
    s.cycle = cycle;
    s.number = QStringLiteral("1");
    s.status = status;
    s.countsToVerdict = counts;
    return s;
}

} // namespace

// Each unit is judged by the steps of its own cycle, by severity, and a unit
// that a stop or cancel cut short has not passed.
TEST(ResultsRecorderTest, UnitsAreJudgedByTheStepsOfTheirCycle)
{
    struct Case
    {
        const char *name;
        QList<RunRecord::Step> steps;
        QString end;
        QStringList verdicts;   // of units in cycles 1 and 2
    };
    const QList<Case> cases = {
        {"each cycle its own", {step(1, "Failed"), step(2, "Passed")}, "completed", {"Failed", "Passed"}},
        {"error outweighs failure", {step(1, "Failed"), step(1, "Timeout"), step(2, "Done")}, "completed",
         {"Error", "Passed"}},
        {"uncounted steps do not judge", {step(1, "Failed", false), step(2, "Error", false)}, "completed",
         {"Passed", "Passed"}},
        {"stopped during the second unit", {step(1, "Passed"), step(2, "Passed")}, "stopped",
         {"Passed", "Incomplete"}},
        {"cancel marks the running step", {step(1, "Passed"), step(2, "Cancelled")}, "cancelled",
         {"Passed", "Error"}},
        {"rejected and skipped never fail", {step(1, "Rejected"), step(2, "Skipped")}, "completed",
         {"Passed", "Passed"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResultsRecorder recorder;
        recorder.runStarted({});
        int unitCycle = 0;
        for (const RunRecord::Step &s : c.steps) {
            if (s.cycle > unitCycle) {
                unitCycle = s.cycle;
                recorder.unitIdentified(s.cycle, QStringLiteral("SN-%1").arg(s.cycle), QString(), QString());
            }
            recorder.stepFinished(s);
        }
        const std::optional<RunRecord> record = recorder.runEnded(c.end, QStringLiteral("Passed"), QString());
        ASSERT_TRUE(record);
        QStringList verdicts;
        for (const RunRecord::Unit &unit : record->units)
            verdicts << unit.verdict;
        EXPECT_EQ(verdicts, c.verdicts);
    }
}

TEST(ResultsRecorderTest, TimeTextsCarryMillisecondsAndTheOffset)
{
    const QDate day(2026, 2, 3);
    const QTime time(9, 5, 7, 4);
    const struct
    {
        QDateTime moment;
        QString text;
    } cases[] = {
        {QDateTime(day, time, Qt::OffsetFromUTC, -(5 * 3600 + 30 * 60)), QStringLiteral("2026-02-03T09:05:07.004-05:30")},
        {QDateTime(day, time, Qt::UTC), QStringLiteral("2026-02-03T09:05:07.004+00:00")},
        {QDateTime(QDate(987, 12, 31), QTime(23, 59, 59, 999), Qt::OffsetFromUTC, 36000),
         QStringLiteral("0987-12-31T23:59:59.999+10:00")},
        {QDateTime(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RunRecord::timeText(c.moment), c.text) << qPrintable(c.text);
    // a local time prints with the offset it has there
    const QDateTime local(day, time, Qt::LocalTime);
    EXPECT_EQ(RunRecord::timeText(local), RunRecord::timeText(local.toOffsetFromUtc(local.offsetFromUtc())));
}

TEST(ResultsRecorderTest, StepsStartWhereTheEventBeforeThemEnded)
{
    QDateTime now = QDateTime(QDate(2026, 2, 3), QTime(9, 0), Qt::OffsetFromUTC, 3600);
    ResultsRecorder recorder;
    recorder.setClock([&now] { return now; });
    RunRecord header;
    header.sequence = QStringLiteral("Board Test");
    recorder.runStarted(header);
    now = now.addMSecs(1500);   // the operator identifies the unit
    recorder.unitIdentified(1, QStringLiteral("SN-1"), QString(), QString());
    now = now.addMSecs(250);
    recorder.stepFinished(step(1, "Passed"));
    now = now.addMSecs(40);
    recorder.stepFinished(step(1, "Failed"));
    const std::optional<RunRecord> record = recorder.runEnded(QStringLiteral("completed"), QStringLiteral("Failed"), {});
    ASSERT_TRUE(record);
    EXPECT_EQ(record->sequence, QStringLiteral("Board Test"));
    EXPECT_EQ(RunRecord::timeText(record->started), QStringLiteral("2026-02-03T09:00:00.000+01:00"));
    ASSERT_EQ(record->steps.size(), 2);
    EXPECT_EQ(record->steps.at(0).durationMs, 250);
    EXPECT_EQ(record->steps.at(1).durationMs, 40);
    EXPECT_EQ(record->steps.at(1).started, record->started.addMSecs(1750));
    EXPECT_EQ(record->ended, record->started.addMSecs(1790));

    // a run that never got to a unit or a step leaves nothing, and each run
    // has an id of its own
    recorder.runStarted(header);
    EXPECT_FALSE(recorder.runEnded(QStringLiteral("cancelled"), QStringLiteral("Passed"), {}));
    recorder.stepFinished(step(1, "Passed"));
    const std::optional<RunRecord> next = recorder.runEnded(QStringLiteral("completed"), QStringLiteral("Passed"), {});
    ASSERT_TRUE(next);
    EXPECT_NE(next->id, record->id);
}

// Stopped in the middle of a unit and continued: the continued record has
// the unit, judged by its steps before and after the stop.
TEST(ResultsRecorderTest, AContinuedRunCarriesTheInterruptedUnit)
{
    struct Case
    {
        const char *name;
        QString beforeStop;
        QString afterContinue;
        int cycleAfterContinue;
        QStringList units;   // "serial verdict" of the continued record
    };
    const QList<Case> cases = {
        {"fails before the stop", "Failed", "Passed", 1, {"SN-1 Failed"}},
        {"passes throughout", "Passed", "Passed", 1, {"SN-1 Passed"}},
        {"stop between two units", "Passed", "Passed", 2, {"SN-2 Passed"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResultsRecorder recorder;
        recorder.runStarted({});
        recorder.unitIdentified(1, QStringLiteral("SN-1"), QString(), QString());
        recorder.stepFinished(step(1, c.beforeStop));
        const std::optional<RunRecord> stopped = recorder.runEnded(QStringLiteral("stopped"), QStringLiteral("Passed"), {});
        ASSERT_TRUE(stopped);
        EXPECT_EQ(stopped->units.first().verdict, c.beforeStop == QLatin1String("Failed") ? "Failed" : "Incomplete");
        recorder.runContinued({});
        if (c.cycleAfterContinue == 2)
            recorder.unitIdentified(2, QStringLiteral("SN-2"), QString(), QString());
        recorder.stepFinished(step(c.cycleAfterContinue, c.afterContinue));
        const std::optional<RunRecord> continued = recorder.runEnded(QStringLiteral("completed"), QStringLiteral("Passed"), {});
        ASSERT_TRUE(continued);
        QStringList units;
        for (const RunRecord::Unit &unit : continued->units)
            units << unit.serialNumber + QLatin1Char(' ') + unit.verdict;
        EXPECT_EQ(units, c.units);
    }
}
