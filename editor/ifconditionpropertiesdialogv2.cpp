#include "ifconditionpropertiesdialogv2.h"

#include "condition.h"
#include "sequenceelementitem.h"
#include "ui_conditionpropertiesform.h"
#include "userprompt.h"

namespace {

const QString Reject = QStringLiteral("reject");

} // namespace

IFConditionPropertiesDialogV2::IFConditionPropertiesDialogV2(const HostLink &link, QWidget *parent)
    : IFConditionPropertiesDialogV2(link, parent, tr("IF <condition>"), QStringLiteral("IF Properties Dialog"))
{
}

IFConditionPropertiesDialogV2::IFConditionPropertiesDialogV2(const HostLink &link, QWidget *parent,
                                                             const QString &caption,
                                                             const QString &helpTopic)
    : StepPropertiesDialog(link, parent), ui(std::make_unique<Ui::ConditionPropertiesForm>())
{
    ui->setupUi(this);
    setUpCommon(caption, helpTopic);
    ui->keyComboBox->addItems({QStringLiteral("item"), QStringLiteral("all"), QStringLiteral("loop"),
                               QStringLiteral("exit"), QStringLiteral("crc")});
    ui->operatorComboBox->addItems({QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"),
                                    QStringLiteral("<="), QStringLiteral(">=")});
    ui->valueComboBox->addItems({QStringLiteral("pass"), QStringLiteral("fail"),
                                 QStringLiteral("error"), Reject});
    connect(ui->keyComboBox, &QComboBox::textActivated, this, &IFConditionPropertiesDialogV2::OnKeyComboBox);
    connect(ui->operatorComboBox, &QComboBox::currentTextChanged, this,
            &IFConditionPropertiesDialogV2::OnOperatorComboBox);
    connect(ui->valueComboBox, &QComboBox::currentTextChanged, this,
            &IFConditionPropertiesDialogV2::OnValueComboBox);
    connect(ui->valueLineEdit, &QLineEdit::textChanged, this, &IFConditionPropertiesDialogV2::OnValueLineEdit);
    OnKeyComboBox(ui->keyComboBox->currentText());
}

IFConditionPropertiesDialogV2::~IFConditionPropertiesDialogV2() = default;

void IFConditionPropertiesDialogV2::OnKeyComboBox(const QString &key)
{
    const bool statusKey = key == QLatin1String("item") || key == QLatin1String("all");
    ui->valueComboBox->setHidden(!statusKey);
    ui->valueLineEdit->setHidden(statusKey);
    ui->operatorComboBox->setEnabled(!statusKey);
    if (statusKey) {
        // a status is equal or not: there is nothing to order
        ui->operatorComboBox->setCurrentText(QStringLiteral("="));
        // the run as a whole is never "rejected"
        const int reject = ui->valueComboBox->findText(Reject);
        if (key == QLatin1String("item") && reject < 0)
            ui->valueComboBox->addItem(Reject);
        else if (key == QLatin1String("all") && reject >= 0)
            ui->valueComboBox->removeItem(reject);
    }
    rebuildCondition();
}

void IFConditionPropertiesDialogV2::OnOperatorComboBox(const QString &)
{
    rebuildCondition();
}

void IFConditionPropertiesDialogV2::OnValueComboBox(const QString &)
{
    rebuildCondition();
}

void IFConditionPropertiesDialogV2::OnValueLineEdit(const QString &)
{
    rebuildCondition();
}

void IFConditionPropertiesDialogV2::rebuildCondition()
{
    QString value;
    if (!ui->valueComboBox->isHidden() && !ui->valueComboBox->currentText().isEmpty())
        value = ui->valueComboBox->currentText();
    else if (!ui->valueLineEdit->isHidden() && !ui->valueLineEdit->text().isEmpty())
        value = ui->valueLineEdit->text();
    conditionText = QStringLiteral("%1 %2 %3")
                        .arg(ui->keyComboBox->currentText(), ui->operatorComboBox->currentText(), value);
}

void IFConditionPropertiesDialogV2::loadItem(SequenceElementItem *step)
{
    const QString stored = step->text(SequenceElementItem::PropertyColumn);
    if (stored.isEmpty())
        return;
    const Condition::Tokens tokens = Condition::parseCondition(stored);
    ui->keyComboBox->setCurrentText(tokens.key.toLower());
    OnKeyComboBox(ui->keyComboBox->currentText());
    ui->operatorComboBox->setCurrentText(tokens.op);
    if (!ui->valueLineEdit->isHidden())
        ui->valueLineEdit->setText(tokens.value);
    else
        ui->valueComboBox->setCurrentText(tokens.value.toLower());
    rebuildCondition();
}

bool IFConditionPropertiesDialogV2::inputIsAcceptable()
{
    if (Condition::isValidCondition(conditionText))
        return true;
    UserPrompt(link, this).warning(tr("Bad condition"), tr("Bad condition"));
    return false;
}

void IFConditionPropertiesDialogV2::storeItem(SequenceElementItem *step)
{
    step->setText(SequenceElementItem::PropertyColumn, conditionText);
}
