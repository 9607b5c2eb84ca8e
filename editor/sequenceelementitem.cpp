#include "sequenceelementitem.h"

#include "applicationitem.h"
#include "applicationtypes.h"
#include "commanditem.h"
#include "operationitem.h"
#include "sequenceenums.h"

#include <QBrush>
#include <QHash>

SequenceElementItem::SequenceElementItem(int rowType) : QTreeWidgetItem(rowType)
{
}

SequenceElementItem::~SequenceElementItem() = default;

int SequenceElementItem::operationKind() const
{
    return -1;
}

SequenceCommand SequenceElementItem::sequenceCommand() const
{
    return SequenceCommand();
}

int SequenceElementItem::itemType() const
{
    return int(::ItemType::None);
}

QColor SequenceElementItem::statusColour(const QString &statusText) const
{
    if (statusText == StatusText::Passed)
        return QColor(0x80, 0xFF, 0x80);
    if (statusText == StatusText::Failed)
        return QColor(0xFF, 0x40, 0x40);
    if (statusText == StatusText::Cancelled || statusText == StatusText::Error)
        return QColor(0xFF, 0xFF, 0x00);
    if (statusText == QLatin1String("Busy"))
        return QColor(0x66, 0x99, 0xEE);
    return QColor();
}

QVariant SequenceElementItem::data(int column, int role) const
{
    // Answering here rather than storing a brush keeps the colour right when
    // the runner writes the status text straight into the cell.
    if (column == StatusColumn && role == Qt::BackgroundRole) {
        const QColor colour = statusColour(text(StatusColumn));
        if (colour.isValid())
            return QBrush(colour);
    }
    return QTreeWidgetItem::data(column, role);
}

HxSequenceItem SequenceElementItem::toStoredItem() const
{
    HxSequenceItem stored;
    stored.commandEx = commandEx;
    stored.condition = condition;
    stored.timeOut = timeOut;
    stored.count = count;
    stored.exitCode = exitCode;
    stored.status = status;
    stored.type = operationKind();
    stored.applicationClass =
        ApplicationTypes::applicationClass(text(TypeColumn), text(OperationColumn));
    stored.globalGang = globalGang;
    stored.hostStatusId = hostStatusId;
    stored.hostStatusText = hostStatusText;
    stored.columnNumber = text(NumberColumn);
    stored.columnType = text(TypeColumn);
    stored.columnOperation = text(OperationColumn);
    stored.columnProperty = text(PropertyColumn);
    stored.columnItem = text(ItemColumn);
    stored.columnShow = text(ShowColumn);
    stored.columnStatus = text(StatusColumn);
    stored.itemType = itemType();
    stored.operationItemId = operationItemId;
    stored.command = sequenceCommand();
    stored.pauseMessageText = pauseMessageText;
    stored.pauseMessageDefaultAnswer = pauseMessageDefaultAnswer;
    stored.pauseMessageAnswerNoIsPass = pauseMessageAnswerNoIsPass;
    stored.addToReport = addToReport;
    stored.passAction = passAction;
    stored.failAction = failAction;
    stored.rejectAction = rejectAction;
    stored.systemErrorAction = systemErrorAction;
    stored.saveResultsOnFail = saveResultsOnFail;
    stored.saveResultsOnPass = saveResultsOnPass;
    stored.propertiesOperation = propertiesOperation;
    stored.propertiesShow = propertiesShow;
    stored.statusToSequenceStatus = statusToSequenceStatus;
    stored.parameters = parameters;
    return stored;
}

void SequenceElementItem::assignStoredItem(const HxSequenceItem &stored)
{
    commandEx = stored.commandEx;
    condition = stored.condition;
    timeOut = stored.timeOut;
    count = stored.count;
    exitCode = stored.exitCode;
    status = stored.status;
    globalGang = stored.globalGang;
    hostStatusId = stored.hostStatusId;
    hostStatusText = stored.hostStatusText;
    setText(NumberColumn, stored.columnNumber);
    setText(TypeColumn, stored.columnType);
    setText(OperationColumn, stored.columnOperation);
    setText(PropertyColumn, stored.columnProperty);
    setText(ItemColumn, stored.columnItem);
    setText(ShowColumn, stored.columnShow);
    setText(StatusColumn, stored.columnStatus);
    operationItemId = stored.operationItemId;
    pauseMessageText = stored.pauseMessageText;
    pauseMessageDefaultAnswer = stored.pauseMessageDefaultAnswer;
    pauseMessageAnswerNoIsPass = stored.pauseMessageAnswerNoIsPass;
    addToReport = stored.addToReport;
    passAction = stored.passAction;
    failAction = stored.failAction;
    rejectAction = stored.rejectAction;
    systemErrorAction = stored.systemErrorAction;
    saveResultsOnFail = stored.saveResultsOnFail;
    saveResultsOnPass = stored.saveResultsOnPass;
    propertiesOperation = stored.propertiesOperation;
    propertiesShow = stored.propertiesShow;
    statusToSequenceStatus = stored.statusToSequenceStatus;
    parameters = stored.parameters;
    // A stored class may come from an older catalogue; the columns decide.
    applicationClass = ApplicationTypes::applicationClass(stored.columnType, stored.columnOperation);
    creationNumber = stored.columnNumber;
    stepName = stored.columnItem;
}

std::unique_ptr<SequenceElementItem> SequenceElementItem::createFor(const HxSequenceItem &stored)
{
    std::unique_ptr<SequenceElementItem> step;
    switch (stored.kind()) {
    case ::ItemType::Application:
        step = std::make_unique<ApplicationItem>();
        break;
    case ::ItemType::Operation:
        step = std::make_unique<OperationItem>(stored.type);
        break;
    case ::ItemType::Command:
        step = std::make_unique<CommandItem>();
        break;
    case ::ItemType::None:
        return nullptr;
    }
    if (step)
        step->assignStoredItem(stored);
    return step;
}

QIcon SequenceElementItem::imageIcon(const QString &fileName)
{
    if (fileName.isEmpty())
        return QIcon();
    // Rows of one kind share a picture: decoded once, not once per row.
    static QHash<QString, QIcon> icons;
    auto found = icons.find(fileName);
    if (found == icons.end())
        found = icons.insert(fileName, QIcon(QStringLiteral(":/images/") + fileName));
    return *found;
}
