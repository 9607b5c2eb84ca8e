#include "sequenceenums.h"

QString statusText(StepStatus status)
{
    switch (status) {
    case StepStatus::Skipped:
        return StatusText::Skipped;
    case StepStatus::Passed:
        return StatusText::Passed;
    case StepStatus::Failed:
        return StatusText::Failed;
    case StepStatus::Rejected:
        return StatusText::Rejected;
    case StepStatus::Error:
        return StatusText::Error;
    case StepStatus::Cancelled:
        return StatusText::Cancelled;
    case StepStatus::Done:
        return StatusText::Done;
    }
    return QString();
}

QString flowActionName(FlowAction action)
{
    switch (action) {
    case FlowAction::Next:
        return QStringLiteral("Next");
    case FlowAction::Prev:
        return QStringLiteral("Prev");
    case FlowAction::Stop:
        return QStringLiteral("Stop");
    case FlowAction::Redo:
        return QStringLiteral("Redo");
    }
    return QString();
}

FlowAction flowActionFromName(const QString &name)
{
    if (name == QLatin1String("Prev"))
        return FlowAction::Prev;
    if (name == QLatin1String("Stop"))
        return FlowAction::Stop;
    if (name == QLatin1String("Redo"))
        return FlowAction::Redo;
    return FlowAction::Next;
}
