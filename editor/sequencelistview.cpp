#include "sequencelistview.h"

#include <QSignalBlocker>
#include <QTimer>

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
#include "commandslistview.h"
#include "hxidatabase.h"
#include "hxiprojectapplications.h"
#include "hxitypeinfo.h"
#include "sequenceitempropertiesdialog.h"
#include "sequencelistviewtip.h"
#include "stepundocommand.h"
#include "steppropertiesdialog.h"
#include "userprivilege.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QToolTip>
#include <QUndoStack>

#include <memory>

using ControlOperations::ControlOperation;
using VemoInterface::HxiDatabase;
using VemoInterface::HxiMainProjectEx;
using VemoInterface::HxiProjectApplications;
using VemoInterface::HxiTypeInfo;

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

SequenceListView::~SequenceListView()
{
    // The commands point at rows; they must go while the rows are there.
    undoHistory->clear();
}

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
    // Short columns fit their texts; the item names take what is left, so
    // the status stays in view.
    // The widths follow the texts at most a few times a second: fitting them
    // on every change measures every row, which made each step of a long run
    // cost as much as the whole list.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionResizeMode(SequenceElementItem::ItemColumn, QHeaderView::Stretch);
    header()->setMinimumSectionSize(40);
    columnFitTimer = new QTimer(this);
    columnFitTimer->setSingleShot(true);
    columnFitTimer->setInterval(250);
    connect(columnFitTimer, &QTimer::timeout, this, &SequenceListView::fitColumnsToContents);
    // A list nobody sees (a headless run) fits its columns when it is shown.
    const auto fitSoon = [this] {
        if (isVisible() && !columnFitTimer->isActive())
            columnFitTimer->start();
    };
    connect(model(), &QAbstractItemModel::dataChanged, this, fitSoon);
    connect(model(), &QAbstractItemModel::rowsInserted, this, fitSoon);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, fitSoon);
    connect(model(), &QAbstractItemModel::modelReset, this, fitSoon);

    undoHistory = new QUndoStack(this);
    undoHistory->setObjectName(QStringLiteral("undoStack"));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        slotShowContextMenu(itemAt(position), viewport()->mapToGlobal(position));
    });

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
        undoHistory->clear();
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
    loadOperationLists(step.get(), query, !loading);
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
    //: %1 = Application Name
    recordInsertion({row}, tr("Insert %1").arg(applicationName));
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
    //: %1 = Command Name
    recordInsertion({row}, tr("Insert %1").arg(command.name()));
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
    //: %1 = Operation Name
    recordInsertion({created.cbegin(), created.cend()}, tr("Insert %1").arg(paletteName));
    return first;
}

SequenceElementItem *SequenceListView::insertStoredStep(const HxSequenceItem &stored,
                                                        const QIcon &typeIcon)
{
    std::unique_ptr<SequenceElementItem> step = SequenceElementItem::createFor(stored);
    if (!step)
        return nullptr;
    if (step->itemType() == int(::ItemType::Application)) {
        loadOperationLists(step.get(), stored, false);
        step->setIcon(SequenceElementItem::TypeColumn,
                      typeIcon.isNull() ? this->typeIcon(stored.columnType) : typeIcon);
    }
    SequenceElementItem *row = step.release();
    placeStep(row, insertionIndex());
    return row;
}

bool SequenceListView::editNewOperationStep(OperationItem *step)
{
    if (step->operationKind() == int(ControlOperation::IoPins))
        return !ioPinsEditor || ioPinsEditor(step, this);
    std::unique_ptr<StepPropertiesDialog> dialog = StepPropertiesDialog::forKind(step->operationKind(), link, this);
    return !dialog || runStepDialog(*dialog, step);
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
    if (!UserPrivilege(link).isDeveloper())
        return false;
    auto *step = dynamic_cast<SequenceElementItem *>(item);
    if (!step)
        return false;
    return recordEdit(step, tr("Edit %1").arg(step->text(SequenceElementItem::NumberColumn)), [this, step] {
        if (auto *application = dynamic_cast<ApplicationItem *>(step))
            return editApplicationStep(application);
        if (auto *command = dynamic_cast<CommandItem *>(step))
            return editCommandStep(command);
        if (step->operationKind() == int(ControlOperation::IoPins)) {
            SequenceItemPropertiesDialog dialog(link, this);
            dialog.setIoPinsEditor(ioPinsEditor);
            dialog.setMode(BaseProperties::OperationMode);
            dialog.init();
            dialog.setItem(step);
            return dialog.exec() == QDialog::Accepted;
        }
        std::unique_ptr<StepPropertiesDialog> dialog =
            StepPropertiesDialog::forKind(step->operationKind(), link, this);
        return dialog && runStepDialog(*dialog, step);
    });
}

bool SequenceListView::editApplicationStep(ApplicationItem *step)
{
    const QString name = step->text(SequenceElementItem::ItemColumn);
    const QString oldOperation = step->text(SequenceElementItem::OperationColumn);
    SequenceItemPropertiesDialog dialog(link, this);
    dialog.setMode(BaseProperties::ApplicationMode);
    dialog.setTestConfigId(name);
    dialog.setApplicationId(name);
    dialog.setTestInfrastructure(oldOperation == ApplicationTypes::TestInfrastructure);
    dialog.init();
    dialog.setItem(step);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (dialog.operation() != oldOperation)
        resetStepRunState(step);
    step->setText(SequenceElementItem::ShowColumn, dialog.show());
    step->parameters.insert(ExecutionParameters::Key::Show, step->propertiesShow);
    step->setText(SequenceElementItem::OperationColumn, dialog.operation());
    step->parameters.insert(ExecutionParameters::Key::SeqOperation, step->propertiesOperation);
    step->applicationClass = ApplicationTypes::applicationClass(
        step->text(SequenceElementItem::TypeColumn), dialog.operation());
    return true;
}

bool SequenceListView::editCommandStep(CommandItem *step)
{
    const QString oldOperation = step->text(SequenceElementItem::OperationColumn);
    SequenceItemPropertiesDialog dialog(link, this);
    dialog.setMode(BaseProperties::CommandMode);
    dialog.init();
    dialog.setItem(step);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (dialog.operation() != oldOperation)
        resetStepRunState(step);
    step->command = dialog.sequenceCommand();
    step->stepName = step->command.name();
    step->setText(SequenceElementItem::ItemColumn, step->command.name());
    step->setText(SequenceElementItem::OperationColumn, dialog.operation());
    return true;
}

bool SequenceListView::showOptions(SequenceElementItem *step)
{
    //: %1 = Step Number
    return recordEdit(step, tr("Options of %1").arg(step->text(SequenceElementItem::NumberColumn)), [this, step] {
        switch (step->operationKind()) {
        case int(ControlOperation::Reset): {
            std::unique_ptr<StepPropertiesDialog> dialog =
                StepPropertiesDialog::forKind(step->operationKind(), link, this);
            return runStepDialog(*dialog, step);
        }
        case int(ControlOperation::IoPins):
            return ioPinsEditor && ioPinsEditor(step, this);
        default:
            return step->itemType() == int(::ItemType::Application) && editApplicationOptions(step);
        }
    });
}

bool SequenceListView::editApplicationOptions(SequenceElementItem *step)
{
    step->parameters.insert(ExecutionParameters::Key::Show, step->text(SequenceElementItem::ShowColumn));
    step->parameters.insert(ExecutionParameters::Key::SeqOperation,
                            step->text(SequenceElementItem::OperationColumn));
    step->parameters.insert(ExecutionParameters::Key::ItemNumber,
                            step->text(SequenceElementItem::NumberColumn));
    HxSequenceItem query;
    query.columnItem = step->text(SequenceElementItem::ItemColumn);
    query.columnOperation = step->text(SequenceElementItem::OperationColumn);
    const bool edited = ApplicationOperations::editSettings(link, query, step->parameters, this);
    step->setText(SequenceElementItem::ShowColumn, step->parameters.value(ExecutionParameters::Key::Show));
    step->setText(SequenceElementItem::OperationColumn,
                  step->parameters.value(ExecutionParameters::Key::SeqOperation));
    return edited;
}

void SequenceListView::slotShowContextMenu(QTreeWidgetItem *item, const QPoint &globalPosition)
{
    auto *step = dynamic_cast<SequenceElementItem *>(item);
    if (!step)
        return;
    enum Choice { Properties = 0, Remove = 1, Execute = 2, Options = 3 };
    const UserPrivilege privilege(link);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("Sequence Popup Menu"));
    QAction *execute = menu.addAction(tr("&Execute"));
    execute->setData(Execute);
    execute->setEnabled(executeAllowed && executeAllowed());
    if (privilege.isDeveloper()) {
        menu.addAction(tr("&Properties"))->setData(Properties);
        menu.addAction(tr("&Remove"))->setData(Remove);
    } else if (privilege.isEngineer() || privilege.isTechnician()) {
        QAction *options = menu.addAction(tr("&Options"));
        options->setData(Options);
        const int kind = step->operationKind();
        options->setEnabled(step->itemType() == int(::ItemType::Application)
                            || kind == int(ControlOperation::Reset)
                            || kind == int(ControlOperation::IoPins));
    }
    const QAction *chosen = menu.exec(globalPosition);
    if (!chosen)
        return;
    setCurrentItem(step);
    switch (chosen->data().toInt()) {
    case Properties:
        slotShowProperties(step);
        break;
    case Remove:
        removeSelectedSteps();
        break;
    case Execute:
        Q_EMIT executeRequested();
        break;
    case Options:
        showOptions(step);
        break;
    default:
        break;
    }
}

bool SequenceListView::recordEdit(SequenceElementItem *step, const QString &text,
                                  const std::function<bool()> &change)
{
    const HxSequenceItem before = step->toStoredItem();
    const bool accepted = change();
    const HxSequenceItem after = step->toStoredItem();
    // Options may change a step even when its dialog is cancelled.
    if (!(before == after)) {
        auto *command = new StepUndoCommand(this, text);
        command->recordEdit(step, before, after);
        undoHistory->push(command);
        Q_EMIT stepEdited(step);
    }
    return accepted;
}

void SequenceListView::recordInsertion(const QList<SequenceElementItem *> &rows, const QString &text)
{
    auto *command = new StepUndoCommand(this, text);
    for (SequenceElementItem *row : rows)
        command->recordPlaced(row, indexOfStep(row));
    undoHistory->push(command);
}

void SequenceListView::showUndoneChange(bool rowsLeft, SequenceElementItem *current)
{
    renumberSteps();
    if (current && indexOfStep(current) >= 0)
        setCurrentItem(current);
    if (rowsLeft)
        Q_EMIT stepsRemoved();
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
    //: %1 = Step Number
    auto *command = new StepUndoCommand(this, tr("Move %1").arg(from + 1));
    command->recordTaken(dragged, from);
    command->recordPlaced(dragged, to);
    undoHistory->push(command);
    return true;
}

void SequenceListView::removeSelectedSteps()
{
    // Taken out rather than deleted: the undo history keeps them.
    auto *command = new StepUndoCommand(this, tr("Remove"));
    QList<SequenceElementItem *> doomed;
    for (QTreeWidgetItem *row : selectedItems()) {
        if (auto *step = dynamic_cast<SequenceElementItem *>(row)) {
            command->recordTaken(step, indexOfStep(step));
            doomed.append(step);
        }
    }
    for (SequenceElementItem *step : doomed)
        takeTopLevelItem(indexOfStep(step));
    if (command->isEmpty())
        delete command;
    else
        undoHistory->push(command);
    Q_EMIT stepsRemoved();
    renumberSteps();
}

void SequenceListView::renumberSteps()
{
    // The model stays quiet while the numbers change and then tells of them
    // all at once: told row by row, it looks up each row's position, which
    // is a search through the list for every row that has moved.
    int first = -1;
    int last = -1;
    {
        const QSignalBlocker quiet(model());
        for (int index = 0; index < topLevelItemCount(); ++index) {
            QTreeWidgetItem *row = topLevelItem(index);
            const QString number = QString::number(index + 1);
            if (row->text(SequenceElementItem::NumberColumn) == number)
                continue;
            row->setText(SequenceElementItem::NumberColumn, number);
            if (first < 0)
                first = index;
            last = index;
        }
    }
    if (first >= 0)
        Q_EMIT model()->dataChanged(model()->index(first, SequenceElementItem::NumberColumn),
                                    model()->index(last, SequenceElementItem::NumberColumn),
                                    {Qt::DisplayRole});
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

namespace {

bool isUndoKey(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Undo);
}

bool isRedoKey(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Redo)
           || event->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

} // namespace

bool SequenceListView::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        fitColumnsToContents();
    // The list's own history comes before any shortcut of its window.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((isUndoKey(key) || isRedoKey(key)) && UserPrivilege(link).isDeveloper()) {
            event->accept();
            return true;
        }
    }
    return QTreeWidget::event(event);
}

void SequenceListView::keyPressEvent(QKeyEvent *event)
{
    if (UserPrivilege(link).isDeveloper()) {
        if (event->key() == Qt::Key_Delete) {
            removeSelectedSteps();
            event->accept();
            return;
        }
        if (isUndoKey(event) || isRedoKey(event)) {
            if (isUndoKey(event))
                undoHistory->undo();
            else
                undoHistory->redo();
            event->accept();
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

bool SequenceListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        QTreeWidgetItem *row = itemAt(help->pos());
        const QString tip = SequenceListViewTip::text(dynamic_cast<SequenceElementItem *>(row));
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QRect area = visualItemRect(row);
        area.setLeft(0);
        area.setRight(viewport()->width());
        QToolTip::showText(help->globalPos(), tip, viewport(), area);
        return true;
    }
    return QTreeWidget::viewportEvent(event);
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

void SequenceListView::loadOperationLists(SequenceElementItem *step, const HxSequenceItem &query,
                                          bool newStep) const
{
    // A new step also takes the parameters the host's settings give it.
    const ApplicationOperations offered =
        ApplicationOperations::query(link, query, newStep ? &step->parameters : nullptr);
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
    QString application, type;
    return data->hasFormat(OperationsListView::DragFormat)
           || data->hasFormat(CommandsListView::DragFormat) || data->hasFormat(MoveDragFormat)
           || readProjectDrag(data, application, type);
}

bool SequenceListView::readProjectDrag(const QMimeData *data, QString &application,
                                       QString &type) const
{
    if (!data->hasFormat(ProjectDragFormat))
        return false;
    QDataStream stream(data->data(ProjectDragFormat));
    qint32 kind = 0;
    stream >> kind >> application;
    if (stream.status() != QDataStream::Ok || kind != ApplicationEntryKind)
        return false;
    HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
    HxiProjectApplications *applications = database ? database->applications() : nullptr;
    if (!applications)
        return false;
    const auto found = applications->application(application);
    applications->release();
    if (!found)
        return false;
    type = found->type();
    // Interactive tools and applications without a type never run in a sequence.
    return ApplicationTypes::applicationUsability(type) == 0;
}

QIcon SequenceListView::typeIcon(const QString &type) const
{
    // A long sequence asks once per type, not once per row.
    if (const auto known = typeIcons.constFind(type); known != typeIcons.cend())
        return *known;
    HostService<HxiTypeInfo> types(link, QStringLiteral("HxiTypeInfo"));
    const QString file = types ? types->attribute(type, QStringLiteral("Icon")) : QString();
    const QIcon icon = file.isEmpty() ? QIcon() : QIcon(file);
    typeIcons.insert(type, icon);
    return icon;
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
        SequenceCommand command;
        QString application, type;
        if (OperationsListView::readDragData(data, paletteName, kind))
            done = insertOperationStep(paletteName, SequenceElementItem::imageIcon(OperationItem::iconName(kind))) != nullptr;
        else if (CommandsListView::readDragData(data, command))
            done = insertCommandStep(command, SequenceElementItem::imageIcon(CommandItem::IconName)) != nullptr;
        else if (readProjectDrag(data, application, type))
            done = insertApplicationStep(std::nullopt, application, type, typeIcon(type)) != nullptr;
        else if (data->hasFormat(MoveDragFormat))
            done = moveDraggedStep();
    }
    renumberSteps();
    if (done)
        event->acceptProposedAction();
    else
        event->ignore();
}

void SequenceListView::fitColumnsToContents()
{
    for (int column = 0; column < columnCount(); ++column) {
        if (column != SequenceElementItem::ItemColumn)
            resizeColumnToContents(column);
    }
}
