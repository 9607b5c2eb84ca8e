#include "commandeditordialog.h"

#include "commanditem.h"
#include "hostservice.h"
#include "hxidatabase.h"
#include "hximainprocessadv.h"
#include "hxiwhatsthis.h"
#include "sequencecommandcatalogue.h"
#include "sequenceelementitem.h"
#include "ui_commandeditorform.h"
#include "userprompt.h"

#include <QDir>

using namespace VemoInterface;

CommandEditorDialog::CommandEditorDialog(const HostLink &hostLink, SequenceCommandCatalogue *commands,
                                         QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::CommandEditorForm>()), link(hostLink),
      catalogue(commands)
{
    ui->setupUi(this);
    setWindowTitle(tr("Command Editor"));
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    if (HostService<HxiWhatsThis> help(link, QStringLiteral("HxiWhatsThis")); help)
        help->registerTopic(QStringLiteral("ORVSequencer"), QStringLiteral("Command Editor Dialog"), this);
}

CommandEditorDialog::~CommandEditorDialog() = default;

void CommandEditorDialog::setMode(int mode)
{
    editorMode = mode;
    // An entry of the catalogue is known by its name.
    const bool nameFixed = mode == EditEntry;
    ui->nameLineEdit->setReadOnly(nameFixed);
    ui->nameLineEdit->setEnabled(!nameFixed);
}

void CommandEditorDialog::load(const SequenceCommand &command)
{
    setWindowIcon(SequenceElementItem::imageIcon(CommandItem::IconName));
    ui->nameLineEdit->setText(command.name());
    ui->commandLineEdit->setText(command.command());
    ui->dirLineEdit->setText(command.dir());
    const QSignalBlocker keepDirectory(ui->launchDesignDirCheckBox);
    ui->launchDesignDirCheckBox->setChecked(command.launchInDesignDir());
    ui->consoleButtonGroup->setChecked(command.consoleApp());
    ui->internalCheckBox->setChecked(command.internal());
    ui->passSpinBox->setValue(command.passExitCode());
    ui->failSpinBox->setValue(command.failExitCode());
    on_nameLineEdit_textChanged(command.name());
}

SequenceCommand CommandEditorDialog::command() const
{
    SequenceCommand command;
    command.setName(ui->nameLineEdit->text());
    command.setCommand(ui->commandLineEdit->text());
    command.setDir(ui->dirLineEdit->text());
    command.setLaunchInDesignDir(ui->launchDesignDirCheckBox->isChecked());
    command.setConsoleApp(ui->consoleButtonGroup->isChecked());
    // A console program's output is shown as it comes.
    command.setShowImmediateOutput(ui->consoleButtonGroup->isChecked());
    command.setInternal(ui->internalCheckBox->isChecked());
    command.setPassExitCode(ui->passSpinBox->value());
    command.setFailExitCode(ui->failSpinBox->value());
    return command;
}

void CommandEditorDialog::on_okButton_clicked()
{
    const SequenceCommand edited = command();
    if (editorMode == AddEntry && catalogue) {
        if (catalogue->find(edited.name())) {
            //: %1 = Command Name
            UserPrompt(link, this).warning(tr("Warning"),
                                           tr("%1 already exists, please choose a different name")
                                               .arg(edited.name()));
            return;
        }
        catalogue->add(edited);
    } else if (editorMode == EditEntry && catalogue) {
        catalogue->replace(edited);
    }
    if (catalogue && editorMode != EditStepCommand)
        (void)catalogue->save(SequenceCommandCatalogue::filePath(link));
    accept();
}

void CommandEditorDialog::on_commandBrowseButton_clicked()
{
    const QString filter = tr("Executable Files") + QStringLiteral(" (*.exe)") + QStringLiteral(";;")
                           + tr("Batch Files") + QStringLiteral(" (*.bat)") + QStringLiteral(";;")
                           + tr("All Files") + QStringLiteral(" (*.*)");
    const QString chosen = UserPrompt(link, this).openFileName(tr("Choose a file"),
                                                               ui->commandLineEdit->text(), filter);
    if (!chosen.isEmpty())
        ui->commandLineEdit->setText(QDir::toNativeSeparators(chosen));
}

void CommandEditorDialog::on_dirBrowseButton_clicked()
{
    HostService<HxiMainProcessAdv> chooser(link, QStringLiteral("HxiMainProcessAdv"));
    if (!chooser)
        return;
    QString chosen;
    if (chooser->chooseFolder(this, ui->dirLineEdit->text(), chosen, tr("Choose a directory"))
        && !chosen.isEmpty())
        ui->dirLineEdit->setText(QDir::toNativeSeparators(chosen));
}

void CommandEditorDialog::on_nameLineEdit_textChanged(const QString &name)
{
    ui->okButton->setEnabled(!name.trimmed().isEmpty());
}

void CommandEditorDialog::on_launchDesignDirCheckBox_toggled(bool on)
{
    QString directory;
    if (on) {
        if (HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database)
            directory = QDir::toNativeSeparators(database->projectDirectory());
    }
    ui->dirLineEdit->setText(directory);
}
