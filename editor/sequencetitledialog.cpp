#include "sequencetitledialog.h"

#include "ui_sequencetitleform.h"

#include "hostservice.h"
#include "hxiinstrument.h"
#include "hxiwhatsthis.h"
#include "textboundary.h"
#include "userprompt.h"

#include <QIcon>

using namespace VemoInterface;

namespace {

const QString Preferred = QStringLiteral("Preferred");

QString iconFor(int mode)
{
    switch (mode) {
    case SequenceTitleDialog::NewFromLegacyFile:
        return QStringLiteral("ORVSequencerImportSQC.png");
    case SequenceTitleDialog::Rename:
        return QStringLiteral("ORVSequencerRename.png");
    case SequenceTitleDialog::Properties:
        return QStringLiteral("ORVSequencerProperties.png");
    default:
        return QStringLiteral("ORVSequencerIcon.png");
    }
}

} // namespace

SequenceTitleDialog::SequenceTitleDialog(const HostLink &link, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::SequenceTitleForm>()), link(link)
{
    setObjectName(QStringLiteral("Sequence Title Dialog"));
    ui->setupUi(this);
    setModal(true);
    connect(ui->preferredInstrumentRadioButton, &QRadioButton::toggled, this,
            &SequenceTitleDialog::on_preferredInstrumentComboBox_toggled);
    if (HostService<HxiWhatsThis> help(link, QStringLiteral("HxiWhatsThis")); help)
        help->registerTopic(QStringLiteral("ORVSequencer"), QStringLiteral("Sequence Title Dialog"),
                            this);
}

SequenceTitleDialog::~SequenceTitleDialog() = default;

void SequenceTitleDialog::setup(const QStringList &existingTitles, const QString &title,
                                const QString &description, int mode)
{
    currentMode = mode;
    existing = existingTitles;
    startingTitle = title;

    QString caption;
    switch (mode) {
    case NewFromLegacyFile:
        caption = tr("New Sequence (From SQC)");
        break;
    case Rename:
        caption = tr("Rename Sequence");
        break;
    case Properties:
        caption = tr("Sequence Properties");
        break;
    default:
        caption = tr("New Sequence");
        break;
    }
    setWindowTitle(caption);
    setWindowIcon(QIcon(QStringLiteral(":/images/") + iconFor(mode)));

    ui->titleLineEdit->setEnabled(mode != Properties);
    const bool withDescription = mode != Rename;
    ui->descriptionTextLabel->setVisible(withDescription);
    ui->descriptionLineEdit->setVisible(withDescription);
    ui->instrumentSettingsButtonGroup->setVisible(mode == NewFromLegacyFile);
    if (mode == NewFromLegacyFile) {
        ui->instrumentComboBox->clear();
        if (HostService<HxiInstrument> instruments(link, QStringLiteral("HxiInstrument"));
            instruments)
            ui->instrumentComboBox->addItems(instruments->instruments());
        on_preferredInstrumentComboBox_toggled(ui->preferredInstrumentRadioButton->isChecked());
    }

    adjustSize();
    ui->titleLineEdit->setText(title);
    ui->descriptionLineEdit->setText(description);
    ui->titleLineEdit->setFocus();
    on_titleLineEdit_textChanged(ui->titleLineEdit->text());
}

QString SequenceTitleDialog::title() const
{
    return ui->titleLineEdit->text();
}

QString SequenceTitleDialog::description() const
{
    return ui->descriptionLineEdit->text();
}

QString SequenceTitleDialog::instrumentChoice() const
{
    if (ui->preferredInstrumentRadioButton->isChecked() || ui->instrumentComboBox->currentText().isEmpty())
        return Preferred;
    return ui->instrumentComboBox->currentText();
}

void SequenceTitleDialog::on_titleLineEdit_textChanged(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool acceptable = !trimmed.isEmpty() && !existing.contains(trimmed);
    // Editing the properties keeps the title the sequence already has.
    if (currentMode == Properties && text == startingTitle)
        acceptable = true;
    ui->okButton->setEnabled(acceptable);
}

void SequenceTitleDialog::accept()
{
    // Properties keep the title the sequence has, whatever it is.
    const QString problem =
        currentMode == Properties ? QString() : TextBoundary::titleProblem(title());
    if (!problem.isEmpty()) {
        UserPrompt(link, this).warning(tr("Warning"), problem);
        return;
    }
    QDialog::accept();
}

void SequenceTitleDialog::on_preferredInstrumentComboBox_toggled(bool on)
{
    showInstrumentList(!on);
}

void SequenceTitleDialog::on_sqcFileRadioButton_toggled(bool on)
{
    showInstrumentList(on);
}

void SequenceTitleDialog::showInstrumentList(bool visible)
{
    ui->instrumentTextLabel->setVisible(visible);
    ui->instrumentComboBox->setVisible(visible);
    adjustSize();
}

bool SequenceTitleDialog::ask(const HostLink &link, QWidget *parent, int mode,
                              const QStringList &existingTitles, QString &title,
                              QString &description, QString &instrument)
{
    const auto showDialog = [&link](QWidget *dialogParent, int dialogMode,
                                    const QStringList &titles, QString &answeredTitle,
                                    QString &answeredDescription, QString &answeredInstrument) {
        SequenceTitleDialog dialog(link, dialogParent);
        dialog.setup(titles, answeredTitle, answeredDescription, dialogMode);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        answeredTitle = dialog.title();
        answeredDescription = dialog.description();
        answeredInstrument = dialog.instrumentChoice();
        return true;
    };
    QString answered = title;
    QString answeredDescription = description;
    QString answeredInstrument = instrument;
    const UserPrompt prompt(link, parent);
    if (!prompt.sequenceTitle(mode, existingTitles, answered, answeredDescription,
                              answeredInstrument, showDialog))
        return false;
    // A host that answers for the dialog is held to the same rule.
    if (const QString problem = TextBoundary::titleProblem(answered);
        mode != Properties && !problem.isEmpty()) {
        prompt.warning(tr("Warning"), problem);
        return false;
    }
    title = answered;
    description = answeredDescription;
    instrument = answeredInstrument;
    return true;
}
