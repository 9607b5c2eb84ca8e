#pragma once

#include "runrecord.h"

#include <functional>
#include <optional>

// Builds the record of a run from a narrow set of calls made while it runs:
// run started, unit identified, step finished, run ended. A step starts
// where the previous event ended, so the time an operator spends at a pause
// belongs to the pause. A call without a started run starts one.
class ResultsRecorder
{
public:
    using Clock = std::function<QDateTime()>;

    ResultsRecorder();
    void setClock(Clock clock);

    // `header` gives project, sequence, user, privilege and host
    void runStarted(const RunRecord &header);
    // A stopped run goes on: the unit whose cycle the stop interrupted
    // belongs to the new record too, judged by all of its steps.
    void runContinued(const RunRecord &header);
    void unitIdentified(int cycle, const QString &serialNumber, const QString &folder,
                        const QString &taps);
    // the step's start and duration are filled in here
    void stepFinished(RunRecord::Step step);
    // Closes the record: units get their verdicts. Nothing is returned for a
    // run that neither identified a unit nor finished a step.
    std::optional<RunRecord> runEnded(const QString &end, const QString &verdict,
                                      const QString &reportFile);

    bool isRunning() const { return running; }

private:
    void startIfIdle();
    void settleUnitVerdicts();

    Clock clock;
    RunRecord header;
    RunRecord record;
    QDateTime lastEvent;
    bool running = false;
    // the interrupted cycle's units and the statuses its steps had so far
    QList<RunRecord::Unit> carriedUnits;
    QStringList carriedStatuses;
    QList<RunRecord::Unit> lastUnits;
    QStringList lastStatuses;
};
