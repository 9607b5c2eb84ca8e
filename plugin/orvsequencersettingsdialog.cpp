#include "orvsequencersettingsdialog.h"

#include "hostservice.h"
#include "hximainprocessadv.h"
#include "ui_orvsequencersettingsform.h"
#include "userprivilege.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>

using namespace VemoInterface;

ORVSequencerSettingsDialog::ORVSequencerSettingsDialog(const HostLink &hostLink,
                                                       SequencerSettings *settings, QWidget *parent)
    : QDialog(parent), link(hostLink), record(settings),
      ui(std::make_unique<Ui::ORVSequencerSettingsForm>())
{
    ui->setupUi(this);
    addResultsGroup();
    fill();
}

ORVSequencerSettingsDialog::~ORVSequencerSettingsDialog() = default;

void ORVSequencerSettingsDialog::fill()
{
    ui->gangComboBox->clear();
    ui->gangComboBox->addItems(SequencerSettings::gangList());
    working = *record;
    showWorkingCopy();
    // Operators, engineers and technicians run the gang the way it was set
    // up; only a developer changes it.
    const UserPrivilege privilege(link);
    ui->gangButtonGroup->setVisible(!(privilege.isOperator() || privilege.isEngineer()
                                      || privilege.isTechnician()));
}

void ORVSequencerSettingsDialog::showWorkingCopy()
{
    ui->saveReportsCheckBox->setChecked(working.saveReports);
    ui->removeReportCheckBox->setChecked(working.removeReports);
    ui->perUnitCheckBox->setChecked(working.perUnit);
    ui->defaultPathRadioButton->setChecked(working.defaultUnitReportsPath);
    ui->pathRadioButton->setChecked(!working.defaultUnitReportsPath);
    on_pathRadioButton_toggled(!working.defaultUnitReportsPath);
    ui->pathLineEdit->setText(working.unitReportsPath);
    ui->gangCheckBox->setChecked(working.enableGang);
    bool ok = false;
    const int gang = working.gang.toInt(&ok);
    ui->gangComboBox->setCurrentIndex(ok && gang >= 0 && gang < ui->gangComboBox->count() ? gang : 0);
    on_gangCheckBox_toggled(ui->gangCheckBox->isChecked());
    resultFilesCheckBox->setChecked(working.saveResultFiles);
    resultsServerLineEdit->setText(working.resultsDatabase);
    redoLimitSpinBox->setValue(working.redoLimit);
}

// The run's data (the files beside each report, the line's server) and how
// often a step may be redone.
void ORVSequencerSettingsDialog::addResultsGroup()
{
    auto *group = new QGroupBox(tr("Runs and results"), this);
    group->setObjectName(QStringLiteral("resultsGroupBox"));
    auto *layout = new QFormLayout(group);
    resultFilesCheckBox = new QCheckBox(tr("Write JSON and JUnit files beside each sequence report"), group);
    resultFilesCheckBox->setObjectName(QStringLiteral("resultFilesCheckBox"));
    resultsServerLineEdit = new QLineEdit(group);
    resultsServerLineEdit->setObjectName(QStringLiteral("resultsServerLineEdit"));
    resultsServerLineEdit->setPlaceholderText(QStringLiteral("postgresql://user@host:5432/results"));
    resultsServerLineEdit->setToolTip(tr("Empty: the runs are kept in the project's results.sqlite only. "
                                         "A server address: every station of a line delivers its runs there."));
    layout->addRow(resultFilesCheckBox);
    layout->addRow(tr("Results server:"), resultsServerLineEdit);
    // A step whose follow-up is "Redo" and that never passes would run for
    // ever; past this many repeats in a row the run ends with Error.
    redoLimitSpinBox = new QSpinBox(group);
    redoLimitSpinBox->setObjectName(QStringLiteral("redoLimitSpinBox"));
    redoLimitSpinBox->setRange(1, 1000000);
    redoLimitSpinBox->setSuffix(tr(" times"));
    layout->addRow(tr("Redo a step at most:"), redoLimitSpinBox);
    ui->generalLayout->insertWidget(ui->generalLayout->indexOf(ui->gangButtonGroup) + 1, group);
}

void ORVSequencerSettingsDialog::apply()
{
    working.saveReports = ui->saveReportsCheckBox->isChecked();
    working.removeReports = ui->removeReportCheckBox->isChecked();
    working.defaultUnitReportsPath = ui->defaultPathRadioButton->isChecked();
    working.unitReportsPath = ui->pathLineEdit->text();
    working.perUnit = ui->perUnitCheckBox->isChecked();
    working.enableGang = ui->gangCheckBox->isChecked();
    working.gang = QString::number(ui->gangComboBox->currentIndex());
    working.gangText = working.enableGang ? ui->gangComboBox->currentText() : QStringLiteral("0");
    working.saveResultFiles = resultFilesCheckBox->isChecked();
    working.resultsDatabase = resultsServerLineEdit->text().trimmed();
    working.redoLimit = redoLimitSpinBox->value();
    *record = working;
    accept();
}

void ORVSequencerSettingsDialog::cancel()
{
    reject();
}

QPixmap ORVSequencerSettingsDialog::icon()
{
    return QPixmap(QStringLiteral(":/images/ORVSequencerIcon.png"));
}

QString ORVSequencerSettingsDialog::title()
{
    return tr("ORV Sequencer");
}

void ORVSequencerSettingsDialog::on_defaultButton_clicked()
{
    working.saveReports = true;
    working.removeReports = false;
    working.defaultUnitReportsPath = true;
    working.unitReportsPath.clear();
    working.perUnit = false;
    working.saveResultFiles = false;
    working.resultsDatabase.clear();
    working.redoLimit = SequencerSettings().redoLimit;
    if (UserPrivilege(link).isDeveloper()) {
        working.enableGang = false;
        working.gang = QStringLiteral("0");
        working.gangText = QStringLiteral("0");
    } else {
        // what the others may not see stays as the widgets have it
        working.enableGang = ui->gangCheckBox->isChecked();
        working.gang = QString::number(ui->gangComboBox->currentIndex());
    }
    showWorkingCopy();
}

void ORVSequencerSettingsDialog::on_pathBrowseButton_clicked()
{
    HostService<HxiMainProcessAdv> process(link, QStringLiteral("HxiMainProcessAdv"));
    if (!process)
        return;
    QString folder;
    if (process->chooseFolder(nullptr, ui->pathLineEdit->text(), folder, tr("Choose a directory")))
        ui->pathLineEdit->setText(QDir::toNativeSeparators(folder));
}

void ORVSequencerSettingsDialog::on_pathRadioButton_toggled(bool checked)
{
    ui->pathLineEdit->setEnabled(checked);
    ui->pathBrowseButton->setEnabled(checked);
}

void ORVSequencerSettingsDialog::on_gangCheckBox_toggled(bool checked)
{
    ui->gangComboBox->setEnabled(checked);
    updateGangText();
}

void ORVSequencerSettingsDialog::on_gangComboBox_activated(int)
{
    updateGangText();
}

void ORVSequencerSettingsDialog::updateGangText()
{
    if (!ui->gangCheckBox->isChecked()) {
        ui->gangTextLabel->setText(tr("none"));
        return;
    }
    QStringList taps;
    for (const QChar tap : ui->gangComboBox->currentText())
        taps.append(QStringLiteral("TAP") + tap);
    ui->gangTextLabel->setText(taps.join(QStringLiteral(" + ")));
}
