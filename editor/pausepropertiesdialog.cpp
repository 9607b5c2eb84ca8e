#include "pausepropertiesdialog.h"

#include "operationitem.h"
#include "ui_pausepropertiesform.h"
#include "userprompt.h"

#include <QDir>

PausePropertiesDialog::PausePropertiesDialog(const HostLink &link, QWidget *parent)
    : StepPropertiesDialog(link, parent), ui(std::make_unique<Ui::PausePropertiesForm>())
{
    ui->setupUi(this);
    setUpCommon(tr("Pause / Display Message"), QStringLiteral("Pause Properties Dialog"));
    ui->statusToSequenceCheckBox->setChecked(false);
    on_messageTextEdit_textChanged();
}

PausePropertiesDialog::~PausePropertiesDialog() = default;

void PausePropertiesDialog::on_messageTextEdit_textChanged()
{
    // The answer settings only mean something for a question.
    const bool question = ui->messageTextEdit->toPlainText().endsWith(QLatin1Char('?'));
    for (QWidget *widget : {static_cast<QWidget *>(ui->defaultAnswerTextLabel),
                            static_cast<QWidget *>(ui->yesRadioButton),
                            static_cast<QWidget *>(ui->noRadioButton),
                            static_cast<QWidget *>(ui->noEqualsPassCheckBox)})
        widget->setEnabled(question);
}

void PausePropertiesDialog::on_browseButton_clicked()
{
    const QString file = UserPrompt(link, this).openFileName(tr("Choose a sound"), QString(),
                                                             tr("WAV Files") + QStringLiteral(" (*.wav)"));
    if (!file.isEmpty())
        ui->soundLineEdit->setText(QDir::toNativeSeparators(file));
}

void PausePropertiesDialog::loadItem(SequenceElementItem *step)
{
    const QString message = step->pauseMessageText.isEmpty()
                                ? step->text(SequenceElementItem::PropertyColumn)
                                : step->pauseMessageText;
    ui->messageTextEdit->setPlainText(message);
    const QString timing = step->text(SequenceElementItem::ItemColumn);
    const qsizetype comma = timing.indexOf(QLatin1Char(','));
    ui->timeoutSpinBox->setValue(timing.left(comma < 0 ? timing.size() : comma).trimmed().toInt());
    ui->soundLineEdit->setText(comma < 0 ? QString() : timing.mid(comma + 1));
    ui->statusToSequenceCheckBox->setChecked(step->statusToSequenceStatus);
    ui->yesRadioButton->setChecked(step->pauseMessageDefaultAnswer == 0);
    ui->noRadioButton->setChecked(step->pauseMessageDefaultAnswer == 1);
    ui->noEqualsPassCheckBox->setChecked(step->pauseMessageAnswerNoIsPass);
}

bool PausePropertiesDialog::inputIsAcceptable()
{
    if (ui->messageTextEdit->toPlainText().trimmed().isEmpty()) {
        warn(tr("Message can't be left empty"));
        return false;
    }
    // The time-out and the sound share one field, split at the comma.
    if (ui->soundLineEdit->text().contains(QLatin1Char(','))) {
        warn(tr("Sound contains illegal character: ',' (comma)"));
        return false;
    }
    return true;
}

void PausePropertiesDialog::storeItem(SequenceElementItem *step)
{
    auto *pause = dynamic_cast<OperationItem *>(step);
    if (!pause)
        return;
    pause->setPause(ui->messageTextEdit->toPlainText(), ui->timeoutSpinBox->value(),
                    ui->soundLineEdit->text(), ui->yesRadioButton->isChecked() ? 0 : 1,
                    ui->noEqualsPassCheckBox->isChecked(), ui->statusToSequenceCheckBox->isChecked());
}
