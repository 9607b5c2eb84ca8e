#include "operationitem.h"

#include "controloperations.h"
#include "sequenceenums.h"

using ControlOperations::ControlOperation;

namespace {

const QString Preferred = QStringLiteral("Preferred");

} // namespace

OperationItem::OperationItem(int kind) : SequenceElementItem(OperationRow), kind(kind)
{
}

int OperationItem::itemType() const
{
    return int(::ItemType::Operation);
}

QColor OperationItem::statusColour(const QString &statusText) const
{
    if (statusText == StatusText::Timeout)
        return QColor(0xFF, 0xFF, 0x00);
    return SequenceElementItem::statusColour(statusText);
}

void OperationItem::assignStoredItem(const HxSequenceItem &stored)
{
    SequenceElementItem::assignStoredItem(stored);
    kind = stored.type;
    stepName = stored.columnOperation;
    setIcon(TypeColumn, imageIcon(iconName(kind)));
}

bool OperationItem::isControlKind() const
{
    switch (ControlOperation(kind)) {
    case ControlOperation::Pause:
    case ControlOperation::Label:
    case ControlOperation::If:
    case ControlOperation::Else:
    case ControlOperation::Elif:
    case ControlOperation::EndIf:
    case ControlOperation::Goto:
        return true;
    default:
        return false;
    }
}

void OperationItem::setPause(const QString &message, int timeOutMs, const QString &soundFile,
                             int defaultAnswer, bool answerNoIsPass, bool countsForSequence)
{
    // The runner and the legacy writer read the time-out back from the
    // front of this text, so it is kept in both places.
    const QString timing = QStringLiteral("%1,%2").arg(timeOutMs).arg(soundFile);
    setText(PropertyColumn, pauseMessageSummary(message));
    setText(ItemColumn, timing);
    commandEx = timing;
    timeOut = timeOutMs;
    pauseMessageText = message;
    pauseMessageDefaultAnswer = defaultAnswer;
    pauseMessageAnswerNoIsPass = answerNoIsPass;
    statusToSequenceStatus = countsForSequence;
}

QString OperationItem::iconName(int kind)
{
    switch (ControlOperation(kind)) {
    case ControlOperation::Pause:
    case ControlOperation::Label:
    case ControlOperation::If:
    case ControlOperation::Else:
    case ControlOperation::Elif:
    case ControlOperation::EndIf:
    case ControlOperation::Goto:
        return QStringLiteral("Ctrl_Questionmark.png");
    case ControlOperation::Print:
        return QStringLiteral("Ctrl_Print.png");
    case ControlOperation::Export:
        return QStringLiteral("Ctrl_Export.png");
    case ControlOperation::Reset:
        return QStringLiteral("Ctrl_Reset.png");
    case ControlOperation::IoPins:
        return QStringLiteral("Ctrl_Wheel.png");
    default:
        return QString();
    }
}

int OperationItem::kindForPaletteName(const QString &paletteName)
{
    // Stored steps name their palette entry, but steps converted from other
    // sources may carry the bare keyword.
    for (const QString &name : ControlOperations::controlOperationNames()) {
        if (ControlOperations::controlOperationCaption(name) == paletteName || name == paletteName)
            return ControlOperations::controlOperationCode(name);
    }
    return -1;
}

QString OperationItem::pauseMessageSummary(const QString &message)
{
    QString summary = message;
    summary.replace(QLatin1String("\r\n"), QLatin1String(" || "));
    summary.replace(QLatin1Char('\n'), QLatin1String(" || "));
    summary.replace(QLatin1Char('\r'), QLatin1String(" || "));
    if (summary.size() > 20)
        summary = summary.left(20) + QLatin1String("...");
    return summary;
}

QString OperationItem::instrumentText(const QString &chosenInstrument)
{
    return chosenInstrument.startsWith(Preferred) ? Preferred : chosenInstrument;
}
