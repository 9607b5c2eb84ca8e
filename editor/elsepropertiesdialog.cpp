#include "elsepropertiesdialog.h"

#include "sequenceelementitem.h"
#include "ui_commentpropertiesform.h"

ELSEPropertiesDialog::ELSEPropertiesDialog(const HostLink &link, QWidget *parent)
    : ELSEPropertiesDialog(link, parent, tr("ELSE"), QStringLiteral("ELSE Properties Dialog"))
{
}

ELSEPropertiesDialog::ELSEPropertiesDialog(const HostLink &link, QWidget *parent,
                                           const QString &caption, const QString &helpTopic)
    : StepPropertiesDialog(link, parent), ui(std::make_unique<Ui::CommentPropertiesForm>())
{
    ui->setupUi(this);
    setUpCommon(caption, helpTopic);
}

ELSEPropertiesDialog::~ELSEPropertiesDialog() = default;

void ELSEPropertiesDialog::loadItem(SequenceElementItem *step)
{
    ui->commentLineEdit->setText(step->text(SequenceElementItem::PropertyColumn));
}

void ELSEPropertiesDialog::storeItem(SequenceElementItem *step)
{
    step->setText(SequenceElementItem::PropertyColumn, ui->commentLineEdit->text());
}
