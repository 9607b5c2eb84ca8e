#include "sequencelistview.h"

#include "applicationitem.h"
#include "applicationoperations.h"
#include "applicationtypes.h"
#include "commanditem.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "hostservice.h"
#include "hximainprojectex.h"
#include "hxsequenceitem.h"
#include "operationitem.h"
#include "sequenceenums.h"
#include "operationslistview.h"
#include "steppropertiesdialog.h"
#include "userprivilege.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <memory>

using ControlOperations::ControlOperation;
using VemoInterface::HxiMainProjectEx;

namespace {

const QString NextAction = QStringLiteral("Next");
const QString RedoAction = QStringLiteral("Redo");
const QString StopAction = QStringLiteral("Stop");
const QString Preferred = QStringLiteral("Preferred");
// What a new condition dialog holds before the user touches it.
const QString DefaultCondition = QStringLiteral("item = pass");

// The run state every new step starts with.
void clearRunState(SequenceElementItem *step)
{
    step->setText(SequenceElementItem::ShowColumn, ApplicationTypes::ShowStatus);
    step->setStatusText(StatusText::Reset);
    step->status = int(StepStatus::Skipped);
    step->count = 1;
    step->condition = 0;
    step->exitCode = 0;
    step->hostStatusId = 0;
    step->hostStatusText.clear();
    step->timeOut = 0;
}

// Steps that run something outside the plug-in: what follows each outcome.
void setRunnableDefaults(SequenceElementItem *step)
{
    step->passAction = NextAction;
    step->failAction = NextAction;
    step->rejectAction = RedoAction;
    step->systemErrorAction = StopAction;
    step->saveResultsOnFail = true;
    step->saveResultsOnPass = false;
    step->propertiesShow = ApplicationTypes::ShowStatus;
    step->statusToSequenceStatus = true;
}

// An operation step as its palette entry makes it, before its dialog.
std::unique_ptr<OperationItem> newOperationStep(int kind, const QString &paletteName,
                                                const QIcon &icon)
{
    auto step = std::make_unique<OperationItem>(kind);
    const QString keyword = ControlOperations::controlOperationName(kind);
    step->setText(SequenceElementItem::TypeColumn, ApplicationTypes::Ctrl);
    step->setIcon(SequenceElementItem::TypeColumn, icon);
    step->setText(SequenceElementItem::OperationColumn, keyword);
    step->setText(SequenceElementItem::ItemColumn, ControlOperations::defaultControlItem(keyword));
    clearRunState(step.get());
    step->operationItemId = paletteName;
    step->stepName = keyword;
    step->applicationClass = ApplicationTypes::applicationClass(ApplicationTypes::Ctrl, QString());
    step->addToReport = false;

    if (step->isControlKind()) {
        step->statusToSequenceStatus = true;
    } else {
        setRunnableDefaults(step.get());
    }

    switch (ControlOperation(kind)) {
    case ControlOperation::Pause:
        step->setPause(QString(), 0, QString(), 0, false, false);
        break;
    case ControlOperation::If:
    case ControlOperation::Elif:
        step->setText(SequenceElementItem::PropertyColumn, DefaultCondition);
        break;
    case ControlOperation::Reset:
        step->setText(SequenceElementItem::PropertyColumn, OperationItem::instrumentText(Preferred));
        break;
    case ControlOperation::IoPins:
        step->setText(SequenceElementItem::PropertyColumn, OperationItem::instrumentText(Preferred));
        step->parameters.insert(ExecutionParameters::Key::InstrumentName, Preferred);
        break;
    default:
        break;
    }
    return step;
}

bool hasDialog(int kind)
{
    return kind != int(ControlOperation::Print) && kind != int(ControlOperation::Export);
}

} // namespace

SequenceListView::SequenceListView(QWidget *parent) : QTreeWidget(parent)
{
    setUpList();
}

SequenceListView::SequenceListView(const HostLink &link, QWidget *parent)
    : QTreeWidget(parent), link(link)
{
    setUpList();
}

SequenceListView::~SequenceListView() = default;

void SequenceListView::setUpList()
{
    setColumnCount(SequenceElementItem::ColumnCount);
    setHeaderLabels({tr("Nr."), tr("Type"), tr("Operation"), tr("Property"), tr("Item"),
                     tr("Show"), tr("Status")});
    // Rows keep the order they run in; IF blocks are not nested rows.
    setSortingEnabled(false);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    // Steps come from the palettes and move within the list; the list
    // itself decides what a drop does.
    setAcceptDrops(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setAutoScroll(true);

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *) { slotSelectionChanged(current); });
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item, int) { slotSelectionChanged(item); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item, int) { slotShowProperties(item); });

    // However a row leaves the list, the drag state must not point at it.
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    forgetRows(first, last);
            });
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        dropTarget = nullptr;
        draggedStep = nullptr;
    });
}

ApplicationItem *SequenceListView::insertApplicationStep(
    const std::optional<QMap<QString, QString>> &parameters, const QString &applicationName,
    const QString &typeName, const QIcon &icon, bool loading)
{
    if (!loading)
        inserting = true;

    auto step = std::make_unique<ApplicationItem>();
    if (parameters)
        step->parameters = *parameters;
    const QString seqOperation = step->parameters.value(ExecutionParameters::Key::SeqOperation);

    HxSequenceItem query;
    query.itemType = int(::ItemType::Application);
    query.columnType = typeName;
    query.columnItem = applicationName;
    query.columnOperation = seqOperation;
    query.parameters = step->parameters;
    loadOperationLists(step.get(), query);
    step->setIcon(SequenceElementItem::TypeColumn, icon);

    ApplicationItem *row = step.release();
    placeStep(row, insertionIndex());
    if (loading)
        return row;

    const QString rowCount = QString::number(topLevelItemCount());
    row->setText(SequenceElementItem::NumberColumn, rowCount);
    row->setText(SequenceElementItem::TypeColumn, typeName);
    // Parameters carried over from elsewhere already name the operation;
    // a fresh step runs whatever the application offers first.
    row->setText(SequenceElementItem::OperationColumn,
                 seqOperation.isEmpty() ? row->operationList.value(0) : seqOperation);
    row->setText(SequenceElementItem::ItemColumn, applicationName);
    clearRunState(row);
    row->addToReport = false;
    row->operationItemId.clear();
    row->creationNumber = rowCount;
    row->stepName = applicationName;
    row->applicationClass =
        ApplicationTypes::applicationClass(typeName, row->text(SequenceElementItem::OperationColumn));
    setRunnableDefaults(row);
    row->propertiesOperation = seqOperation;

    renumberSteps();
    inserting = false;
    return row;
}

CommandItem *SequenceListView::insertCommandStep(const SequenceCommand &command, const QIcon &icon,
                                                 bool loading)
{
    if (!loading)
        inserting = true;

    auto step = std::make_unique<CommandItem>();
    step->command = command;
    step->setIcon(SequenceElementItem::TypeColumn, icon);

    CommandItem *row = step.release();
    placeStep(row, insertionIndex());
    if (loading)
        return row;

    const QString rowCount = QString::number(topLevelItemCount());
    row->setText(SequenceElementItem::NumberColumn, rowCount);
    row->setText(SequenceElementItem::TypeColumn, ApplicationTypes::Sys);
    row->setText(SequenceElementItem::OperationColumn, ApplicationTypes::ExecuteCommand);
    row->setText(SequenceElementItem::ItemColumn, command.name());
    clearRunState(row);
    row->addToReport = false;
    row->operationItemId.clear();
    row->creationNumber = rowCount;
    row->stepName = command.name();
    row->applicationClass = ApplicationTypes::applicationClass(ApplicationTypes::Sys, QString());
    setRunnableDefaults(row);
    row->propertiesOperation = ApplicationTypes::ExecuteCommand;

    renumberSteps();
    inserting = false;
    return row;
}

OperationItem *SequenceListView::insertOperationStep(const QString &paletteName, const QIcon &icon,
                                                     bool loading)
{
    const int kind = OperationItem::kindForPaletteName(paletteName);
    if (kind < 0)
        return nullptr;

    if (loading) {
        auto step = std::make_unique<OperationItem>(kind);
        step->setIcon(SequenceElementItem::TypeColumn, icon);
        OperationItem *row = step.release();
        placeStep(row, insertionIndex());
        return row;
    }

    inserting = true;
    std::unique_ptr<OperationItem> step = newOperationStep(kind, paletteName, icon);
    if (hasDialog(kind) && !editNewOperationStep(step.get())) {
        inserting = false;
        return nullptr;
    }

    int index = insertionIndex();
    OperationItem *first = step.release();
    QList<OperationItem *> created = {first};
    // A new IF comes with the rest of its block; only the IF asks the user.
    if (kind == int(ControlOperation::If)) {
        created.append(
            newOperationStep(int(ControlOperation::Else), ControlOperations::Else, icon).release());
        created.append(
            newOperationStep(int(ControlOperation::EndIf), ControlOperations::EndIf, icon).release());
    }
    for (OperationItem *row : created) {
        placeStep(row, index++);
        const QString rowCount = QString::number(topLevelItemCount());
        row->setText(SequenceElementItem::NumberColumn, rowCount);
        row->creationNumber = rowCount;
    }

    renumberSteps();
    inserting = false;
    return first;
}

SequenceElementItem *SequenceListView::insertStoredStep(const HxSequenceItem &stored,
                                                        const QIcon &typeIcon)
{
    std::unique_ptr<SequenceElementItem> step = SequenceElementItem::createFor(stored);
    if (!step)
        return nullptr;
    if (step->itemType() == int(::ItemType::Application)) {
        loadOperationLists(step.get(), stored);
        step->setIcon(SequenceElementItem::TypeColumn, typeIcon);
    }
    SequenceElementItem *row = step.release();
    placeStep(row, insertionIndex());
    return row;
}

bool SequenceListView::editNewOperationStep(OperationItem *step)
{
    std::unique_ptr<StepPropertiesDialog> dialog = StepPropertiesDialog::forKind(step->operationKind(), link, this);
    if (!dialog)
        return true;   // the I/O-pin step keeps its defaults until its options are edited
    return runStepDialog(*dialog, step);
}

bool SequenceListView::runStepDialog(StepPropertiesDialog &dialog, SequenceElementItem *step)
{
    dialog.setMode(BaseProperties::OperationMode);
    dialog.init();
    dialog.setItem(step);
    return dialog.exec() == QDialog::Accepted;
}

bool SequenceListView::slotShowProperties(QTreeWidgetItem *item)
{
    // Operators, engineers and technicians run sequences; they do not change them.
    const UserPrivilege privilege(link);
    if (privilege.isOperator() || privilege.isEngineer() || privilege.isTechnician())
        return false;
    auto *step = dynamic_cast<OperationItem *>(item);
    if (!step)
        return false;
    std::unique_ptr<StepPropertiesDialog> dialog = StepPropertiesDialog::forKind(step->operationKind(), link, this);
    if (!dialog || !runStepDialog(*dialog, step))
        return false;
    Q_EMIT stepEdited(step);
    return true;
}

bool SequenceListView::moveDraggedStep()
{
    SequenceElementItem *dragged = draggedStep;
    SequenceElementItem *target = dropTarget ? dropTarget : selectedStep();
    draggedStep = nullptr;

    const int from = indexOfStep(dragged);
    const int to = indexOfStep(target);
    if (from < 0 || to < 0 || from == to)
        return false;

    // Coming from below, the row goes in after the row above the target;
    // coming from above, after the target, which has moved up by one once
    // the row is out. Either way it takes the target's old position.
    takeTopLevelItem(from);
    insertTopLevelItem(to, dragged);
    setCurrentItem(dragged);
    renumberSteps();
    return true;
}

void SequenceListView::removeSelectedSteps()
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    for (QTreeWidgetItem *row : selected)
        delete row;
    Q_EMIT stepsRemoved();
    renumberSteps();
}

void SequenceListView::renumberSteps()
{
    for (int index = 0; index < topLevelItemCount(); ++index)
        topLevelItem(index)->setText(SequenceElementItem::NumberColumn, QString::number(index + 1));
}

SequenceElementItem *SequenceListView::findLabelStep(const QString &label) const
{
    for (SequenceElementItem *step : steps()) {
        if (step->text(SequenceElementItem::OperationColumn) == ControlOperations::Label
            && step->text(SequenceElementItem::PropertyColumn) == label)
            return step;
    }
    return nullptr;
}

void SequenceListView::resetStepRunState(SequenceElementItem *step)
{
    // A dialog changing the operation of a step still being inserted has
    // nothing to reset: the step has not run.
    if (inserting || !step)
        return;
    step->setStatusText(StatusText::Reset);
    step->exitCode = 0;
    step->hostStatusId = 0;
    step->status = int(StepStatus::Skipped);
    step->count = 1;
    step->hostStatusText.clear();
    tellProjectView(step);
    slotSelectionChanged(step);
}

QList<SequenceElementItem *> SequenceListView::steps() const
{
    QList<SequenceElementItem *> result;
    result.reserve(topLevelItemCount());
    for (int index = 0; index < topLevelItemCount(); ++index) {
        if (auto *step = dynamic_cast<SequenceElementItem *>(topLevelItem(index)))
            result.append(step);
    }
    return result;
}

SequenceElementItem *SequenceListView::stepAt(int index) const
{
    if (index < 0 || index >= topLevelItemCount())
        return nullptr;
    return dynamic_cast<SequenceElementItem *>(topLevelItem(index));
}

int SequenceListView::indexOfStep(const SequenceElementItem *step) const
{
    if (!step)
        return -1;
    return indexOfTopLevelItem(const_cast<SequenceElementItem *>(step));
}

SequenceElementItem *SequenceListView::stepAbove(const SequenceElementItem *step) const
{
    const int index = indexOfStep(step);
    return index > 0 ? stepAt(index - 1) : nullptr;
}

SequenceElementItem *SequenceListView::stepBelow(const SequenceElementItem *step) const
{
    const int index = indexOfStep(step);
    return index >= 0 ? stepAt(index + 1) : nullptr;
}

SequenceElementItem *SequenceListView::firstStep() const
{
    return stepAt(0);
}

SequenceElementItem *SequenceListView::selectedStep() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? nullptr : dynamic_cast<SequenceElementItem *>(selected.first());
}

void SequenceListView::slotSelectionChanged(QTreeWidgetItem *item)
{
    if (auto *application = dynamic_cast<ApplicationItem *>(item))
        tellProjectView(application);
}

void SequenceListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && UserPrivilege(link).isDeveloper()) {
        removeSelectedSteps();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

int SequenceListView::insertionIndex() const
{
    const int target = indexOfStep(dropTarget);
    return target >= 0 ? target : topLevelItemCount();
}

void SequenceListView::placeStep(SequenceElementItem *step, int index)
{
    insertTopLevelItem(index, step);
}

void SequenceListView::loadOperationLists(SequenceElementItem *step,
                                          const HxSequenceItem &query) const
{
    const ApplicationOperations offered = ApplicationOperations::query(link, query);
    step->operationList = offered.operations;
    step->showList = offered.showOptions;
}

void SequenceListView::tellProjectView(const SequenceElementItem *step) const
{
    HostService<HxiMainProjectEx> projectView(link, QStringLiteral("HxiMainProjectEx"));
    if (!projectView)
        return;
    // The host keeps an application's own outcome and that of its
    // infrastructure test apart.
    const bool infrastructure = step->text(SequenceElementItem::OperationColumn)
                                == ApplicationTypes::TestInfrastructure;
    projectView->reportApplicationOutcome(step->text(SequenceElementItem::ItemColumn),
                                          step->text(SequenceElementItem::TypeColumn),
                                          step->hostStatusId, step->hostStatusText,
                                          infrastructure);
}

void SequenceListView::forgetRows(int first, int last)
{
    for (int index = first; index <= last; ++index) {
        const QTreeWidgetItem *row = topLevelItem(index);
        if (row && row == dropTarget)
            dropTarget = nullptr;
        if (row && row == draggedStep)
            draggedStep = nullptr;
    }
}

// --- drag and drop ----------------------------------------------------------------

bool SequenceListView::acceptsDrop(const QMimeData *data) const
{
    // Only those who build sequences may change them.
    if (!data || !UserPrivilege(link).isDeveloper())
        return false;
    return data->hasFormat(OperationsListView::DragFormat) || data->hasFormat(MoveDragFormat);
}

void SequenceListView::startDrag(Qt::DropActions)
{
    draggedStep = selectedStep();
    if (!draggedStep)
        return;
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setData(MoveDragFormat, QByteArray());
    drag->setMimeData(data);
    const QIcon icon = draggedStep->icon(SequenceElementItem::TypeColumn);
    if (!icon.isNull())
        drag->setPixmap(icon.pixmap(16, 16));
    drag->exec(Qt::MoveAction);
}

void SequenceListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SequenceListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptsDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    dropTarget = dynamic_cast<SequenceElementItem *>(itemAt(event->position().toPoint()));
    if (dropTarget) {
        setCurrentItem(dropTarget);
        dropTarget->setSelected(true);
    }
    event->acceptProposedAction();
}

void SequenceListView::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    bool done = false;
    if (acceptsDrop(data)) {
        QString paletteName;
        int kind = -1;
        if (OperationsListView::readDragData(data, paletteName, kind))
            done = insertOperationStep(paletteName, SequenceElementItem::imageIcon(OperationItem::iconName(kind))) != nullptr;
        else if (data->hasFormat(MoveDragFormat))
            done = moveDraggedStep();
    }
    renumberSteps();
    if (done)
        event->acceptProposedAction();
    else
        event->ignore();
}
