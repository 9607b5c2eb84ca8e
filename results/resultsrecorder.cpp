#include "resultsrecorder.h"

#include "localclock.h"

#include <QUuid>

#include <climits>

ResultsRecorder::ResultsRecorder() : clock(&LocalClock::now)
{
}

void ResultsRecorder::setClock(Clock newClock)
{
    clock = newClock ? std::move(newClock) : Clock(&LocalClock::now);
}

void ResultsRecorder::runContinued(const RunRecord &runHeader)
{
    runStarted(runHeader);
    carriedUnits = lastUnits;
    carriedStatuses = lastStatuses;
}

void ResultsRecorder::runStarted(const RunRecord &runHeader)
{
    carriedUnits.clear();
    carriedStatuses.clear();
    header = runHeader;
    header.units.clear();
    header.steps.clear();
    running = false;
    startIfIdle();
}

void ResultsRecorder::startIfIdle()
{
    if (running)
        return;
    record = header;
    record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.started = clock();
    lastEvent = record.started;
    running = true;
}

void ResultsRecorder::unitIdentified(int cycle, const QString &serialNumber, const QString &folder,
                                 const QString &taps)
{
    startIfIdle();
    record.units.append({cycle, serialNumber, folder, taps, QString()});
    lastEvent = clock();
}

void ResultsRecorder::stepFinished(RunRecord::Step step)
{
    startIfIdle();
    const QDateTime now = clock();
    step.started = lastEvent;
    step.durationMs = qMax<qint64>(0, lastEvent.msecsTo(now));
    lastEvent = now;
    record.steps.append(step);
}

std::optional<RunRecord> ResultsRecorder::runEnded(const QString &end, const QString &verdict,
                                               const QString &reportFile)
{
    if (!running)
        return std::nullopt;
    running = false;
    if (record.units.isEmpty() && record.steps.isEmpty())
        return std::nullopt;
    record.ended = clock();
    record.end = end;
    record.verdict = verdict;
    record.reportFile = reportFile;
    settleUnitVerdicts();
    // what a Continue would carry on with: the last cycle's units and statuses
    int lastCycle = 0;
    for (const RunRecord::Step &step : std::as_const(record.steps))
        lastCycle = qMax(lastCycle, step.cycle);
    lastUnits.clear();
    lastStatuses.clear();
    for (const RunRecord::Unit &unit : std::as_const(record.units)) {
        if (unit.cycle == lastCycle)
            lastUnits.append(unit);
    }
    for (const RunRecord::Step &step : std::as_const(record.steps)) {
        if (step.cycle == lastCycle && step.countsToVerdict)
            lastStatuses.append(step.status);
    }
    return record;
}

// A unit is judged by the steps of its cycle. The unit whose cycle a stop or
// cancel cut short has not passed, whatever ran so far.
void ResultsRecorder::settleUnitVerdicts()
{
    int lastCycle = 0;
    int firstCycle = INT_MAX;
    for (const RunRecord::Step &step : std::as_const(record.steps)) {
        lastCycle = qMax(lastCycle, step.cycle);
        firstCycle = qMin(firstCycle, step.cycle);
    }
    // A carried unit belongs here only when its cycle went on after the stop.
    QList<RunRecord::Unit> carried;
    for (const RunRecord::Unit &unit : std::as_const(carriedUnits)) {
        if (unit.cycle == firstCycle)
            carried.append(unit);
    }
    record.units = carried + record.units;
    for (RunRecord::Unit &unit : record.units) {
        QStringList statuses;
        if (carried.contains(unit))
            statuses = carriedStatuses;
        for (const RunRecord::Step &step : std::as_const(record.steps)) {
            if (step.cycle == unit.cycle && step.countsToVerdict)
                statuses.append(step.status);
        }
        unit.verdict = RunRecord::verdictOf(statuses);
        const bool cutShort = record.end != QLatin1String("completed") && unit.cycle >= lastCycle;
        if (cutShort && unit.verdict == QLatin1String("Passed"))
            unit.verdict = QStringLiteral("Incomplete");
    }
}
