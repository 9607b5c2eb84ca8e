#include "sequenceitempropertiesdialog.h"

#include "applicationoperations.h"
#include "applicationtypes.h"
#include "commandeditordialog.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "hxsequenceitem.h"
#include "sequenceelementitem.h"
#include "sequenceenums.h"
#include "ui_sequenceitempropertiesform.h"

#include <QComboBox>
#include <QScreen>

namespace {

const QStringList Actions = {QStringLiteral("Next"), QStringLiteral("Prev"), QStringLiteral("Stop"),
                             QStringLiteral("Redo")};
const QStringList CommandOperations = {ApplicationTypes::ExecuteCommand, ApplicationTypes::ForcePass,
                                       ApplicationTypes::ForceFail, ApplicationTypes::SkipOperation};
const QString IoPinsOperation = QStringLiteral("Read/Test/Write IO Pins");

bool isForced(const QString &operation)
{
    return operation == ApplicationTypes::ForcePass || operation == ApplicationTypes::ForceFail
           || operation == ApplicationTypes::SkipOperation;
}

// Selects the first entry that begins with `text`, ignoring case; leaves
// the selection alone when there is none.
void selectStartingWith(QComboBox *combo, const QString &text)
{
    if (text.isEmpty())
        return;
    for (int index = 0; index < combo->count(); ++index) {
        if (combo->itemText(index).startsWith(text, Qt::CaseInsensitive)) {
            combo->setCurrentIndex(index);
            return;
        }
    }
}

} // namespace

SequenceItemPropertiesDialog::SequenceItemPropertiesDialog(const HostLink &link, QWidget *parent)
    : StepPropertiesDialog(link, parent), ui(std::make_unique<Ui::SequenceItemPropertiesForm>())
{
    ui->setupUi(this);
    setUpCommon(tr("Sequence Item Properties"), QStringLiteral("Sequence Item Properties Dialog"));
    for (QComboBox *combo : {ui->passComboBox, ui->failComboBox, ui->rejectComboBox, ui->errorComboBox})
        combo->addItems(Actions);
    ui->passComboBox->setCurrentText(QStringLiteral("Next"));
    ui->failComboBox->setCurrentText(QStringLiteral("Next"));
    ui->rejectComboBox->setCurrentText(QStringLiteral("Redo"));
    ui->errorComboBox->setCurrentText(QStringLiteral("Stop"));
    ui->failCheckBox->setChecked(true);
    ui->sequenceStatusCheckBox->setChecked(true);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

SequenceItemPropertiesDialog::~SequenceItemPropertiesDialog() = default;

QString SequenceItemPropertiesDialog::operation() const
{
    return ui->operationComboBox->currentText();
}

QString SequenceItemPropertiesDialog::show() const
{
    return ui->showComboBox->currentText();
}

void SequenceItemPropertiesDialog::fillCombo(QComboBox *combo, const QStringList &entries)
{
    combo->clear();
    combo->addItems(entries);
}

void SequenceItemPropertiesDialog::loadApplicationLists(const QString &operation,
                                                        QMap<QString, QString> *parameters)
{
    HxSequenceItem query;
    query.itemType = int(::ItemType::Application);
    query.columnItem = applicationId.isEmpty() ? testConfigId : applicationId;
    query.columnOperation = operation;
    if (parameters)
        query.parameters = *parameters;
    const ApplicationOperations offered = ApplicationOperations::query(link, query, parameters);
    operationList = offered.operations;
    showList = offered.showOptions;
}

void SequenceItemPropertiesDialog::init()
{
    const QString statusOnly = ApplicationTypes::ShowStatus;
    switch (mode()) {
    case ApplicationMode:
        loadApplicationLists(testInfrastructure ? ApplicationTypes::TestInfrastructure : QString(),
                             nullptr);
        fillCombo(ui->operationComboBox, operationList);
        fillCombo(ui->showComboBox, showList);
        break;
    case CommandMode:
        fillCombo(ui->operationComboBox, CommandOperations);
        fillCombo(ui->showComboBox, {statusOnly});
        ui->showComboBox->setEnabled(false);
        break;
    case OperationMode:
        fillCombo(ui->operationComboBox, {IoPinsOperation});
        ui->operationComboBox->setEnabled(false);
        fillCombo(ui->showComboBox, {statusOnly});
        ui->showComboBox->setEnabled(false);
        break;
    default:
        break;
    }
}

void SequenceItemPropertiesDialog::loadItem(SequenceElementItem *step)
{
    command = step->sequenceCommand();
    parameters = step->parameters;
    const QString type = step->text(SequenceElementItem::TypeColumn);
    if (type == ApplicationTypes::Ctrl)
        typeText = tr("Sequence control Command");
    else if (type == ApplicationTypes::Sys)
        typeText = tr("System Command");
    else
        typeText = type;
    ui->typeLabel->setText(typeText);
    ui->nameLabel->setText(step->text(step->itemType() == int(::ItemType::Operation)
                                          ? SequenceElementItem::OperationColumn
                                          : SequenceElementItem::ItemColumn));

    QString chosenOperation = step->propertiesOperation;
    if (step->operationKind() == int(ControlOperations::ControlOperation::IoPins))
        chosenOperation = IoPinsOperation;
    ui->passComboBox->setCurrentText(step->passAction);
    ui->failComboBox->setCurrentText(step->failAction);
    ui->rejectComboBox->setCurrentText(step->rejectAction);
    ui->errorComboBox->setCurrentText(step->systemErrorAction);
    ui->passCheckBox->setChecked(step->saveResultsOnPass);
    ui->failCheckBox->setChecked(step->saveResultsOnFail);
    selectStartingWith(ui->operationComboBox, chosenOperation);
    selectStartingWith(ui->showComboBox, step->propertiesShow);
    ui->reportCheckBox->setChecked(step->addToReport);
    ui->sequenceStatusCheckBox->setChecked(step->statusToSequenceStatus);

    previousOperation = operation();
    refreshShowChoices();
    updateOptionsButton();
}

void SequenceItemPropertiesDialog::updateOptionsButton()
{
    ui->optionsPushButton->setEnabled(!isForced(operation()));
}

void SequenceItemPropertiesDialog::on_operationComboBox_activated(int)
{
    updateOptionsButton();
    const QString chosen = operation();
    const bool wasInfrastructure = previousOperation == ApplicationTypes::TestInfrastructure;
    const bool isInfrastructure = chosen == ApplicationTypes::TestInfrastructure;
    // The host offers other show choices for an infrastructure test.
    if (previousOperation.isEmpty() || wasInfrastructure != isInfrastructure)
        refreshShowChoices();
    previousOperation = chosen;
}

void SequenceItemPropertiesDialog::refreshShowChoices()
{
    if (mode() != ApplicationMode || !item())
        return;
    // Worked out on the dialog's copy: Cancel leaves the step as it was.
    parameters.insert(ExecutionParameters::Key::Show, show());
    loadApplicationLists(operation(), &parameters);
    fillCombo(ui->showComboBox, showList);
    const QString stored = parameters.value(ExecutionParameters::Key::Show);
    if (showList.contains(stored))
        ui->showComboBox->setCurrentText(stored);
}

void SequenceItemPropertiesDialog::on_optionsPushButton_clicked()
{
    SequenceElementItem *step = item();
    if (!step)
        return;
    switch (step->itemType()) {
    case int(::ItemType::Application):
        editApplicationSettings(step);
        break;
    case int(::ItemType::Command):
        editCommand();
        break;
    default:
        if (ioPinsEditor)
            ioPinsEditor(step, this);
        break;
    }
}

void SequenceItemPropertiesDialog::editApplicationSettings(SequenceElementItem *step)
{
    const QString chosenOperation = operation();
    step->parameters.insert(ExecutionParameters::Key::Show, show());
    step->parameters.insert(ExecutionParameters::Key::SeqOperation, chosenOperation);
    step->parameters.insert(ExecutionParameters::Key::ItemNumber,
                            step->text(SequenceElementItem::NumberColumn));
    HxSequenceItem query;
    query.columnItem = step->text(SequenceElementItem::ItemColumn);
    query.columnOperation = chosenOperation;
    ApplicationOperations::editSettings(link, query, step->parameters, this);
    parameters = step->parameters;

    loadApplicationLists(chosenOperation, &parameters);
    fillCombo(ui->operationComboBox, operationList);
    fillCombo(ui->showComboBox, showList);
    ui->showComboBox->setCurrentText(step->parameters.value(ExecutionParameters::Key::Show));
    ui->operationComboBox->setCurrentText(
        chosenOperation == ApplicationTypes::TestInfrastructure
            ? chosenOperation
            : step->parameters.value(ExecutionParameters::Key::SeqOperation));
    updateOptionsButton();
}

void SequenceItemPropertiesDialog::editCommand()
{
    CommandEditorDialog editor(link, nullptr, this);
    editor.setMode(CommandEditorDialog::EditStepCommand);
    editor.load(command);
    if (editor.exec() != QDialog::Accepted)
        return;
    // Only what the editor shows comes back; the step's own command keeps
    // none of the launch-menu flags.
    command = editor.command();
}

void SequenceItemPropertiesDialog::storeItem(SequenceElementItem *step)
{
    if (mode() == ApplicationMode)
        step->parameters = parameters;
    step->addToReport = ui->reportCheckBox->isChecked();
    step->passAction = ui->passComboBox->currentText();
    step->failAction = ui->failComboBox->currentText();
    step->rejectAction = ui->rejectComboBox->currentText();
    step->systemErrorAction = ui->errorComboBox->currentText();
    step->saveResultsOnFail = ui->failCheckBox->isChecked();
    step->saveResultsOnPass = ui->passCheckBox->isChecked();
    step->propertiesOperation = operation();
    step->propertiesShow = show();
    step->statusToSequenceStatus = ui->sequenceStatusCheckBox->isChecked();
}
