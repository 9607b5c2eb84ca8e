#include "runengine.h"

#include "condition.h"
#include "controloperations.h"
#include "hostservice.h"
#include "hxirunmonitor.h"
#include "sequenceelementitem.h"
#include "sequenceenums.h"

#include <QTimer>

#include <optional>

using namespace VemoInterface;

RunEngine::RunEngine(const HostLink &hostLink, QObject *parent) : QObject(parent), link(hostLink)
{
}

RunEngine::~RunEngine() = default;

RunEngine::StatusList &RunEngine::StatusList::operator=(const QStringList &newTexts)
{
    clear();
    for (const QString &text : newTexts)
        append(text);
    return *this;
}

void RunEngine::StatusList::append(const QString &text)
{
    texts.append(text);
    verdictBits |= verdictBit(text);
}

void RunEngine::StatusList::clear()
{
    texts.clear();
    verdictBits = 0;
}

bool RunEngine::StatusList::contains(const QString &text) const
{
    const int bit = verdictBit(text);
    return bit != 0 ? (verdictBits & bit) != 0 : texts.contains(text);
}

int RunEngine::StatusList::verdictBit(const QString &text)
{
    if (text == StatusText::Failed)
        return 1;
    if (text == StatusText::Error)
        return 2;
    if (text == StatusText::Timeout)
        return 4;
    if (text == StatusText::Cancelled)
        return 8;
    return 0;
}

RunEngine::OutcomeInfo RunEngine::outcomeInfo(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Passed:
        return {StatusText::Passed, QStringLiteral("#80FF80"), 1, 8};
    case Outcome::Failed:
        return {StatusText::Failed, QStringLiteral("#FF4040"), 2, 9};
    case Outcome::Rejected:
        return {StatusText::Rejected, QStringLiteral("#FFFF00"), 3, 10};
    case Outcome::Error:
        return {StatusText::Error, QStringLiteral("#FFFF00"), 4, 11};
    case Outcome::Timeout:
        return {StatusText::Timeout, QStringLiteral("#FFFF00"), 4, 11};
    case Outcome::Skipped:
        return {StatusText::Skipped, QStringLiteral("#FFFFFF"), 0, 0};
    case Outcome::Cancelled:
        break;
    }
    return {StatusText::Cancelled, QStringLiteral("#FFFF00"), 5, 0};
}

RunEngine::Outcome RunEngine::applicationOutcome(int exitCode)
{
    switch (exitCode) {
    case 0:
        return Outcome::Passed;
    case 2:
        return Outcome::Error;
    case 3:
        return Outcome::Rejected;
    case 4:
        return Outcome::Skipped;
    case TimeoutExitCode:
        return Outcome::Timeout;
    default:
        return Outcome::Failed;
    }
}

RunEngine::Outcome RunEngine::commandOutcome(int exitCode, int passExitCode, int failExitCode)
{
    if (exitCode == passExitCode)
        return Outcome::Passed;
    if (exitCode == failExitCode)
        return Outcome::Failed;
    if (exitCode == CommandCancelledExitCode)
        return Outcome::Cancelled;
    if (exitCode == 4)
        return Outcome::Skipped;
    return Outcome::Error;
}

void RunEngine::recordOutcome(SequenceElementItem *step, Outcome outcome, int exitCode, bool redo)
{
    const OutcomeInfo info = outcomeInfo(outcome);
    // A redone attempt leaves no trace in the verdicts; only the last one counts.
    if (!redo && step->statusToSequenceStatus) {
        cycleStatuses.append(info.text);
        runStatuses.append(info.text);
    }
    step->setStatusText(info.text);
    step->status = info.statusCode;
    step->exitCode = exitCode;
    step->count = loopNumber;
    step->hostStatusId = info.hostStatusId;
}

void RunEngine::recordDone(SequenceElementItem *step)
{
    if (step->statusToSequenceStatus) {
        cycleStatuses.append(StatusText::Done);
        runStatuses.append(StatusText::Done);
    }
    step->setStatusText(StatusText::Done);
    step->exitCode = 0;
    step->status = int(StepStatus::Done);
    step->count = loopNumber;
}

void RunEngine::setSteps(const QList<SequenceElementItem *> &steps)
{
    stepList = steps;
    stepIndex.clear();
    for (int index = 0; index < stepList.size(); ++index)
        stepIndex.insert(stepList.at(index), index);
}

SequenceElementItem *RunEngine::stepAbove(const SequenceElementItem *step) const
{
    const int index = stepIndex.value(step, -1);
    return index > 0 ? stepList.at(index - 1) : nullptr;
}

SequenceElementItem *RunEngine::stepBelow(const SequenceElementItem *step) const
{
    const int index = stepIndex.value(step, -1);
    return index >= 0 ? stepList.value(index + 1) : nullptr;
}

bool RunEngine::moreToRunAfterStop(bool singleApplication) const
{
    if (singleApplication)
        return cycleRemains();
    const bool lastStep = current == nullptr || stepBelow(current) == nullptr;
    return !lastStep || cycleRemains();
}

void RunEngine::endRun()
{
    cycleStatuses.clear();
    loopNumber = 1;
    current = nullptr;
    resume = nullptr;
    setButtonState(ButtonState::Idle);
    stopBusyTimer();
}

void RunEngine::setButtonState(ButtonState state)
{
    busy = state != ButtonState::Idle;
    stopped = state != ButtonState::Running;
    continueLocked = state != ButtonState::Stopped;
    cancelLocked = state == ButtonState::Idle;
}

RunEngine::Lamp RunEngine::lamp() const
{
    if (cycleStatuses.isEmpty())
        return Lamp::Off;
    switch (cycleVerdict().code) {
    case 4:
        return Lamp::Error;
    case 1:
        return Lamp::Fail;
    default:
        return Lamp::Pass;
    }
}

RunEngine::Verdict RunEngine::cycleVerdict() const
{
    if (cycleStatuses.contains(StatusText::Cancelled) || cycleStatuses.contains(StatusText::Error)
        || cycleStatuses.contains(StatusText::Timeout))
        return {QStringLiteral("ERRORS"), QStringLiteral("#FFFF00"), 4};
    if (cycleStatuses.contains(StatusText::Failed))
        return {QStringLiteral("FAILED"), QStringLiteral("#FF4040"), 1};
    return {QStringLiteral("PASSED"), QStringLiteral("#80FF80"), 2};
}

RunEngine::Verdict RunEngine::runAggregate() const
{
    // A time-out alone does not fail a run: the question just went unanswered.
    if (runStatuses.contains(StatusText::Cancelled) || runStatuses.contains(StatusText::Error))
        return {QStringLiteral("Error"), QStringLiteral("#FFFF00"), 4};
    if (runStatuses.contains(StatusText::Failed))
        return {QStringLiteral("Failed"), QStringLiteral("#FF0000"), 1};
    return {QStringLiteral("Passed"), QStringLiteral("#00FF00"), 2};
}

RunEngine::FollowUp RunEngine::followUp(SequenceElementItem *step, Outcome outcome)
{
    QString action;
    switch (outcome) {
    case Outcome::Passed:
        action = step->passAction;
        break;
    case Outcome::Failed:
        action = step->failAction;
        break;
    case Outcome::Rejected:
        action = step->rejectAction;
        break;
    case Outcome::Error:
    case Outcome::Timeout:
        action = step->systemErrorAction;
        break;
    case Outcome::Skipped:
    case Outcome::Cancelled:
        break;
    }
    const FlowAction flow = flowActionFromName(action);
    FollowUp result;
    result.next = stepBelow(step);
    if (flow == FlowAction::Prev)
        result.next = stepAbove(step);
    else if (flow == FlowAction::Stop && !action.isEmpty())
        result.stopPending = true;
    else if (flow == FlowAction::Redo && !action.isEmpty()) {
        result.next = step;
        result.redo = true;
    }
    if (!result.redo) {
        redoStep = nullptr;
        return result;
    }
    // A step that keeps asking to be done again must not run for ever.
    redoCount = redoStep == step ? redoCount + 1 : 1;
    redoStep = step;
    if (redoCount > redoLimit) {
        result.redo = false;
        result.redoLimitReached = true;
        result.next = nullptr;
    }
    return result;
}

bool RunEngine::conditionHolds(const SequenceElementItem *conditionStep,
                               const SequenceElementItem *referenceStep) const
{
    const auto asCondition = [this](const SequenceElementItem *step) {
        ConditionStep result;
        result.condition = step->text(SequenceElementItem::PropertyColumn);
        result.loopNumber = step->count;
        result.exitCode = step->exitCode;
        result.status = step->status;
        result.crc = crcValues.value(step, 0);
        return result;
    };
    ConditionStep condition = asCondition(conditionStep);
    // An ELIF examined for a false IF sees the cycle the IF runs in.
    condition.loopNumber = loopNumber;
    std::optional<ConditionStep> reference;
    if (referenceStep)
        reference = asCondition(referenceStep);
    const Verdict aggregate = runAggregate();
    return Condition::evaluateCondition(&condition, reference ? &*reference : nullptr,
                                        [&aggregate](ConditionKeyword::Id verdict) {
                                            switch (verdict) {
                                            case ConditionKeyword::Id::Pass:
                                                return aggregate.code == 2;
                                            case ConditionKeyword::Id::Fail:
                                                return aggregate.code == 1;
                                            case ConditionKeyword::Id::Error:
                                                return aggregate.code == 4;
                                            default:
                                                return false;
                                            }
                                        });
}

SequenceElementItem *RunEngine::findBranchTarget(SequenceElementItem *from, bool elifMayMatch) const
{
    using ControlOperations::ControlOperation;
    const SequenceElementItem *reference = stepAbove(from);
    int depth = 0;
    for (SequenceElementItem *step = stepBelow(from); step; step = stepBelow(step)) {
        if (step->itemType() != int(ItemType::Operation))
            continue;
        const int kind = step->operationKind();
        if (depth == 0) {
            if (kind == int(ControlOperation::EndIf))
                return step;
            if (elifMayMatch) {
                if (kind == int(ControlOperation::Else))
                    return step;
                if (kind == int(ControlOperation::Elif) && conditionHolds(step, reference))
                    return step;
            }
        }
        if (kind == int(ControlOperation::EndIf))
            --depth;
        else if (kind == int(ControlOperation::If))
            ++depth;
    }
    return nullptr;
}

bool RunEngine::takeControlStep(SequenceElementItem *step)
{
    using ControlOperations::ControlOperation;
    current = step;
    switch (ControlOperation(step->operationKind())) {
    case ControlOperation::Goto:
        step->setStatusText(StatusText::Done);
        // a GOTO whose label does not exist goes on below it
        if (SequenceElementItem *label = findLabelStep(step->text(SequenceElementItem::PropertyColumn)))
            current = label;
        return step->addToReport;
    case ControlOperation::If: {
        step->setStatusText(StatusText::Done);
        if (conditionHolds(step, stepAbove(step)))
            return false;
        if (SequenceElementItem *target = findBranchTarget(step, true)) {
            current = target;
            target->setStatusText(StatusText::Done);
        }
        return step->addToReport;
    }
    case ControlOperation::Elif:
    case ControlOperation::Else:
        // Reached by running through the end of a taken branch: the rest of
        // the IF is skipped.
        step->setStatusText(step->operationKind() == int(ControlOperation::Else) ? StatusText::Reset
                                                                                 : StatusText::Done);
        if (SequenceElementItem *endIf = findBranchTarget(step, false)) {
            current = endIf;
            endIf->setStatusText(StatusText::Done);
        }
        return false;
    case ControlOperation::EndIf:
        step->setStatusText(StatusText::Done);
        return false;
    default:
        return false;
    }
}

SequenceElementItem *RunEngine::findLabelStep(const QString &label) const
{
    for (SequenceElementItem *step : stepList) {
        if (step->text(SequenceElementItem::OperationColumn) == ControlOperations::Label
            && step->text(SequenceElementItem::PropertyColumn) == label)
            return step;
    }
    return nullptr;
}

void RunEngine::startBusyTimer()
{
    if (!busyTimer) {
        busyTimer = new QTimer(this);
        connect(busyTimer, &QTimer::timeout, this, &RunEngine::busyTick);
    }
    busyTimer->start(250);
}

void RunEngine::stopBusyTimer()
{
    if (busyTimer)
        busyTimer->stop();
}

void RunEngine::scheduleCompletion()
{
    QMetaObject::invokeMethod(this, &RunEngine::completionDue, Qt::QueuedConnection);
}

void RunEngine::tellMonitorStep(const SequenceElementItem *step)
{
    Q_EMIT stepAnnounced(step);
    HostService<HxiRunMonitor> monitor(link, QStringLiteral("HxiRunMonitor"));
    if (!monitor)
        return;
    monitor->stepFinished(sequenceTitle, step->count, step->text(SequenceElementItem::NumberColumn),
                          step->text(SequenceElementItem::TypeColumn),
                          step->text(SequenceElementItem::OperationColumn),
                          step->text(SequenceElementItem::ItemColumn), step->statusText());
}

void RunEngine::tellMonitorRunEnd(int end, const QString &reportFile)
{
    Q_EMIT runEndAnnounced(end, reportFile);
    HostService<HxiRunMonitor> monitor(link, QStringLiteral("HxiRunMonitor"));
    if (monitor)
        monitor->runFinished(sequenceTitle, end, runAggregate().text, reportFile);
}
