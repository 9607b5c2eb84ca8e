#include "labelpropertiesdialog.h"

#include "sequenceelementitem.h"
#include "ui_labelpropertiesform.h"

LabelPropertiesDialog::LabelPropertiesDialog(const HostLink &link, QWidget *parent)
    : LabelPropertiesDialog(link, parent, tr("Label / Comment"), QStringLiteral("Label Properties Dialog"))
{
}

LabelPropertiesDialog::LabelPropertiesDialog(const HostLink &link, QWidget *parent,
                                             const QString &caption, const QString &helpTopic)
    : StepPropertiesDialog(link, parent), ui(std::make_unique<Ui::LabelPropertiesForm>())
{
    ui->setupUi(this);
    setUpCommon(caption, helpTopic);
}

LabelPropertiesDialog::~LabelPropertiesDialog() = default;

void LabelPropertiesDialog::loadItem(SequenceElementItem *step)
{
    ui->labelLineEdit->setText(step->text(SequenceElementItem::PropertyColumn));
}

bool LabelPropertiesDialog::inputIsAcceptable()
{
    if (ui->labelLineEdit->text().trimmed().isEmpty()) {
        warn(tr("Label can't be left empty"));
        return false;
    }
    return true;
}

void LabelPropertiesDialog::storeItem(SequenceElementItem *step)
{
    // kept as typed: a GOTO finds its label by the exact text
    step->setText(SequenceElementItem::PropertyColumn, ui->labelLineEdit->text());
}
