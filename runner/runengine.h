#pragma once

#include "hostlink.h"
#include "runstamp.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class QTimer;
class SequenceElementItem;

// The run of one sequence, without a window: where it stands (cycle, step,
// the step a stopped run resumes at), the four run flags, the statuses that
// make the verdicts and lamps, the choice of the next step after an outcome,
// the branch an IF takes, the limit on redoing a step, and the timers the run
// owns. The sequencer window shows this state and forwards the operator's
// buttons; the steps themselves are the window's rows, not owned here.
class RunEngine : public QObject
{
    Q_OBJECT

public:
    // The run's verdict as the sequence banner and the ALL condition see it.
    struct Verdict
    {
        QString text;
        QString colour;
        int code;   // 2 passed, 1 failed, 4 error
    };
    enum class Lamp { Off, Pass, Fail, Error };
    enum class ButtonState { Idle, Running, StopPending, Stopped };
    // How a step that ran ended.
    enum class Outcome { Passed, Failed, Rejected, Error, Timeout, Skipped, Cancelled };
    // Where the run goes after a step ended.
    struct FollowUp
    {
        SequenceElementItem *next = nullptr;
        bool stopPending = false;
        bool redo = false;
        // the step asked to be done again once more than the limit allows;
        // its outcome becomes Error and the run ends
        bool redoLimitReached = false;
    };

    // What an outcome leaves on the step and in the report.
    struct OutcomeInfo
    {
        QString text;           // the status text
        QString reportColour;   // of the step's report row; banners use brighter ones
        int statusCode;
        int hostStatusId;
    };
    // Step statuses in the order they came, knowing at once whether it holds
    // one of the statuses that decide a verdict: the lamps are set after
    // every step, and looking through a long run's list each time made a
    // step cost more the longer the run had gone.
    class StatusList
    {
    public:
        StatusList() = default;
        StatusList(const QStringList &texts) { *this = texts; }
        StatusList &operator=(const QStringList &texts);
        void append(const QString &text);
        void clear();
        bool isEmpty() const { return texts.isEmpty(); }
        bool contains(const QString &text) const;
        operator const QStringList &() const { return texts; }

    private:
        static int verdictBit(const QString &text);

        QStringList texts;
        int verdictBits = 0;   // the verdict statuses it holds
    };

    static constexpr int TimeoutExitCode = 66000;
    static constexpr int CommandCancelledExitCode = 198;

    static OutcomeInfo outcomeInfo(Outcome outcome);
    // The fixed meanings of an application job's exit code; any other fails.
    static Outcome applicationOutcome(int exitCode);
    // A command's own pass and fail codes; any other code is an error.
    static Outcome commandOutcome(int exitCode, int passExitCode, int failExitCode);

    RunEngine(const HostLink &link, QObject *parent = nullptr);
    ~RunEngine() override;

    void setSequenceTitle(const QString &title) { sequenceTitle = title; }
    void setRedoLimit(int limit) { redoLimit = limit; }
    // The steps in list order, taken when a run starts or continues.
    void setSteps(const QList<SequenceElementItem *> &steps);
    const QList<SequenceElementItem *> &steps() const { return stepList; }
    SequenceElementItem *firstStep() const { return stepList.value(0); }
    SequenceElementItem *stepAbove(const SequenceElementItem *step) const;
    SequenceElementItem *stepBelow(const SequenceElementItem *step) const;

    // How many cycles the run has (1 without repeat).
    void setCycles(int count) { cycleCount = count; }
    bool cycleRemains() const { return loopNumber < cycleCount; }
    // At the end of a pass with a Stop pending: whether Continue still has
    // something to run (the rest of the list, or a further cycle).
    bool moreToRunAfterStop(bool singleApplication) const;

    // Back to no run: first cycle, no current or resume step, idle flags.
    void endRun();

    // the four flags of a button situation
    void setButtonState(ButtonState state);

    // The step's status, exit code and cycle after `outcome`; the status
    // lists count it unless the step is done again.
    void recordOutcome(SequenceElementItem *step, Outcome outcome, int exitCode, bool redo);
    // a step without a job of its own (a control step) ended
    void recordDone(SequenceElementItem *step);
    void appendRunStatus(const QString &text) { runStatuses.append(text); }
    void appendCycleStatus(const QString &text) { cycleStatuses.append(text); }
    Lamp lamp() const;
    Verdict cycleVerdict() const;
    Verdict runAggregate() const;

    // The next step after `step` ended with `outcome`: its follow-up action
    // decides, and a redo beyond the limit ends the run.
    FollowUp followUp(SequenceElementItem *step, Outcome outcome);
    // A flow-control step (LABEL, GOTO, IF, ELIF, ELSE, ENDIF): its status,
    // and `current` moved to the step after which the run goes on (a GOTO's
    // label, a false IF's branch, the ENDIF that ends a taken branch). True
    // when the step's row goes into the report now (a GOTO, a false IF).
    bool takeControlStep(SequenceElementItem *step);
    // the first LABEL named `label`, in list order
    SequenceElementItem *findLabelStep(const QString &label) const;
    // The ELSE, true ELIF or ENDIF a false IF at `from` continues at (only
    // the ENDIF when `elifMayMatch` is off); null when there is none.
    SequenceElementItem *findBranchTarget(SequenceElementItem *from, bool elifMayMatch) const;
    bool conditionHolds(const SequenceElementItem *conditionStep,
                        const SequenceElementItem *referenceStep) const;
    void setCrc(const SequenceElementItem *step, quint32 crc) { crcValues.insert(step, crc); }

    // The busy lamp's 250 ms beat while the run goes on.
    void startBusyTimer();
    void stopBusyTimer();
    // A step without a host job ends on the next turn of the event loop,
    // never inside the call that started it.
    void scheduleCompletion();

    // The two points where the run is announced: a step finished, the run
    // ended (completed, stopped or cancelled).
    // Both are announced first to the run's own listeners (its results),
    // then to the host's monitor, which may end the process on a run's end.
    void tellMonitorStep(const SequenceElementItem *step);
    void tellMonitorRunEnd(int end, const QString &reportFile);

    // the run's state, read and moved on by the window
    int loopNumber = 1;
    SequenceElementItem *current = nullptr;   // the step now executing
    SequenceElementItem *resume = nullptr;    // where a stopped run continues
    bool stopped = true;
    bool busy = false;
    bool continueLocked = true;
    bool cancelLocked = true;
    StatusList runStatuses;
    StatusList cycleStatuses;
    RunStamp startStamp;

Q_SIGNALS:
    void busyTick();
    void completionDue();
    void stepAnnounced(const SequenceElementItem *step);
    void runEndAnnounced(int end, const QString &reportFile);

private:
    HostLink link;
    QString sequenceTitle;
    int redoLimit = 100;
    int cycleCount = 1;
    QList<SequenceElementItem *> stepList;
    QHash<const SequenceElementItem *, int> stepIndex;
    QTimer *busyTimer = nullptr;
    const SequenceElementItem *redoStep = nullptr;   // the step being done again
    int redoCount = 0;
    // the checksum each image check found, for CRC conditions
    QHash<const SequenceElementItem *, quint32> crcValues;
};
