#include "unitidentificationdialog.h"

#include "hostservice.h"
#include "hxiprompt.h"
#include "hxsequence.h"
#include "ui_unitidentificationform.h"
#include "unittext.h"

#include <QRegularExpression>

using namespace VemoInterface;

namespace {

// A radio button of an exclusive pair that may also be left unchecked, as
// a sequence that never used the option stores it.
void setRadio(QRadioButton *button, bool on)
{
    button->setAutoExclusive(false);
    button->setChecked(on);
    button->setAutoExclusive(true);
}

// The folder name ends up as a directory below the results folder: it must
// name one folder, not a path, on every system the project travels to. No
// name at all keeps the unit's results in the results folder itself.
bool isUsableFolderName(const QString &name)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|]"));
    if (name.isEmpty())
        return true;
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && trimmed != QLatin1String(".") && trimmed != QLatin1String("..")
           && !trimmed.contains(forbidden);
}

} // namespace

UnitIdentificationDialog::UnitIdentificationDialog(const HostLink &hostLink, QWidget *parent)
    : QDialog(parent), link(hostLink), ui(std::make_unique<Ui::UnitIdentificationForm>())
{
    ui->setupUi(this);
    showOptions(stored);
}

UnitIdentificationDialog::~UnitIdentificationDialog() = default;

void UnitIdentificationDialog::loadOptions(const HxSequence &sequence)
{
    Options options;
    options.serialNumber = sequence.unitSerialNumber();
    options.serialAutoIncrement = sequence.unitSerialNumberAutoIncrement();
    options.serialManualAdjust = sequence.unitSerialNumberManualAdjust();
    options.autoPrompt = sequence.unitAutoPrompt();
    options.mask = sequence.unitSubDirMask();
    options.folderName = sequence.unitFolder();
    options.subDirAutoIncrement = sequence.unitSubDirAutoIncrement();
    options.subDirManualAdjust = sequence.unitSubDirManualAdjust();
    options.subDirIsSerialNumber = sequence.unitSubDirIsSerialNumber();
    setOptions(options);
}

void UnitIdentificationDialog::storeOptions(HxSequence &sequence) const
{
    sequence.setUnitSerialNumberAutoIncrement(stored.serialAutoIncrement);
    sequence.setUnitSerialNumberManualAdjust(stored.serialManualAdjust);
    sequence.setUnitAutoPrompt(stored.autoPrompt);
    sequence.setUnitSubDirMask(stored.mask);
    sequence.setUnitSubDirAutoIncrement(stored.subDirAutoIncrement);
    sequence.setUnitSubDirManualAdjust(stored.subDirManualAdjust);
    sequence.setUnitSubDirIsSerialNumber(stored.subDirIsSerialNumber);
}

void UnitIdentificationDialog::setOptions(const Options &options)
{
    stored = options;
    showOptions(options);
}

QString UnitIdentificationDialog::serialNumber() const
{
    return ui->snLineEdit->text();
}

QString UnitIdentificationDialog::folderName() const
{
    return ui->nameLineEdit->text();
}

QString UnitIdentificationDialog::mask() const
{
    return ui->maskLineEdit->text();
}

void UnitIdentificationDialog::setSerialNumber(const QString &text)
{
    ui->snLineEdit->setText(text);
}

void UnitIdentificationDialog::setFolderName(const QString &text)
{
    ui->nameLineEdit->setText(text);
}

void UnitIdentificationDialog::setMask(const QString &text)
{
    ui->maskLineEdit->setText(text);
}

bool UnitIdentificationDialog::ask(Mode mode, const QString &caption)
{
    currentMode = mode;
    setWindowTitle(caption);
    // Whatever was changed and cancelled last time is gone; the texts the
    // caller proposed stay.
    Options shown = stored;
    shown.serialNumber = serialNumber();
    shown.folderName = folderName();
    shown.mask = mask();
    showOptions(shown);
    setOptionWidgetsEnabled(mode == Mode::Setup);

    // Nobody sits in front of a host that answers prompts: it names the
    // unit (and in setup the texts to start from) itself.
    if (HostService<HxiPrompt> prompt(link, QStringLiteral("HxiPrompt")); prompt)
        return askHost(caption);
    ui->snLineEdit->setFocus();
    ui->snLineEdit->selectAll();
    return exec() == QDialog::Accepted;
}

bool UnitIdentificationDialog::askHost(const QString &caption)
{
    QString serial = serialNumber();
    QString folder = folderName();
    const QString proposedFolder = folder;
    HostService<HxiPrompt> prompt(link, QStringLiteral("HxiPrompt"));
    if (!prompt->unitIdentification(caption, serial, folder))
        return false;
    setSerialNumber(serial);
    // A folder that follows the serial number has followed it already.
    if (!ui->isSnCheckBox->isChecked() && folder != proposedFolder)
        setFolderName(folder);
    if (!ui->okButton->isEnabled())
        return false;   // a blank serial number or an unusable folder name identifies nothing
    on_okButton_clicked();
    return true;
}

void UnitIdentificationDialog::showOptions(const Options &options)
{
    setRadio(ui->snAutoIncrementRadioButton, options.serialAutoIncrement);
    setRadio(ui->snManualAdjustRadioButton, options.serialManualAdjust);
    ui->autoPromptCheckBox->setChecked(options.autoPrompt);
    setRadio(ui->resultsSubDirAutoIncrementRadioButton, options.subDirAutoIncrement);
    setRadio(ui->resultsSubDirManualAdjustRadioButton, options.subDirManualAdjust);
    ui->isSnCheckBox->setChecked(options.subDirIsSerialNumber);
    ui->maskLineEdit->setText(options.mask);
    ui->nameLineEdit->setText(options.folderName);
    // last: with "= Serial Number" the name follows it
    ui->snLineEdit->setText(options.serialNumber);
    on_isSnCheckBox_toggled(options.subDirIsSerialNumber);
}

UnitIdentificationDialog::Options UnitIdentificationDialog::shownOptions() const
{
    Options options;
    options.serialNumber = serialNumber();
    options.serialAutoIncrement = ui->snAutoIncrementRadioButton->isChecked();
    options.serialManualAdjust = ui->snManualAdjustRadioButton->isChecked();
    options.autoPrompt = ui->autoPromptCheckBox->isChecked();
    options.mask = mask();
    options.folderName = folderName();
    options.subDirAutoIncrement = ui->resultsSubDirAutoIncrementRadioButton->isChecked();
    options.subDirManualAdjust = ui->resultsSubDirManualAdjustRadioButton->isChecked();
    options.subDirIsSerialNumber = ui->isSnCheckBox->isChecked();
    return options;
}

void UnitIdentificationDialog::setOptionWidgetsEnabled(bool enabled)
{
    for (QWidget *widget : {static_cast<QWidget *>(ui->snAutoIncrementRadioButton),
                            static_cast<QWidget *>(ui->snManualAdjustRadioButton),
                            static_cast<QWidget *>(ui->autoPromptCheckBox),
                            static_cast<QWidget *>(ui->maskLineEdit),
                            static_cast<QWidget *>(ui->resultsSubDirAutoIncrementRadioButton),
                            static_cast<QWidget *>(ui->resultsSubDirManualAdjustRadioButton),
                            static_cast<QWidget *>(ui->isSnCheckBox)})
        widget->setEnabled(enabled);
}

void UnitIdentificationDialog::updateAdjustButtons()
{
    const bool serialByHand = ui->snManualAdjustRadioButton->isChecked();
    ui->snLeftPushButton->setEnabled(serialByHand);
    ui->snRightPushButton->setEnabled(serialByHand);
    const bool folderByHand = ui->resultsSubDirManualAdjustRadioButton->isChecked()
                              && !ui->isSnCheckBox->isChecked();
    ui->resultsSubDirLeftPushButton->setEnabled(folderByHand);
    ui->resultsSubDirRightPushButton->setEnabled(folderByHand);
    ui->okButton->setEnabled(!serialNumber().trimmed().isEmpty() && isUsableFolderName(folderName()));
}

void UnitIdentificationDialog::on_okButton_clicked()
{
    stored = shownOptions();
    Q_EMIT unitConfirmed(stored.serialNumber, stored.folderName, stored.mask);
    accept();
}

void UnitIdentificationDialog::on_cancelButton_clicked()
{
    reject();
}

void UnitIdentificationDialog::on_isSnCheckBox_toggled(bool on)
{
    ui->nameLineEdit->setReadOnly(on);
    if (on)
        ui->nameLineEdit->setText(serialNumber());
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_snLineEdit_textChanged(const QString &text)
{
    if (ui->isSnCheckBox->isChecked())
        ui->nameLineEdit->setText(text);
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_maskLineEdit_textChanged(const QString &)
{
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_nameLineEdit_textChanged(const QString &)
{
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_snLeftPushButton_clicked()
{
    setSerialNumber(UnitText::decrementText(serialNumber()));
}

void UnitIdentificationDialog::on_snRightPushButton_clicked()
{
    setSerialNumber(UnitText::incrementText(serialNumber()));
}

void UnitIdentificationDialog::on_resultsSubDirLeftPushButton_clicked()
{
    setFolderName(UnitText::decrementText(folderName()));
}

void UnitIdentificationDialog::on_resultsSubDirRightPushButton_clicked()
{
    setFolderName(UnitText::incrementText(folderName()));
}

void UnitIdentificationDialog::on_resultsSubDirAutoIncrementRadioButton_toggled(bool)
{
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_resultsSubDirManualAdjustRadioButton_toggled(bool)
{
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_snAutoIncrementRadioButton_toggled(bool)
{
    updateAdjustButtons();
}

void UnitIdentificationDialog::on_snManualAdjustRadioButton_toggled(bool)
{
    updateAdjustButtons();
}
