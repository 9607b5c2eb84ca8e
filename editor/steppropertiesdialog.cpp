#include "steppropertiesdialog.h"

#include "controloperations.h"
#include "elsepropertiesdialog.h"
#include "endifpropertiesdialog.h"
#include "elifconditionpropertiesdialogv2.h"
#include "gotopropertiesdialog.h"
#include "hostservice.h"
#include "hxiwhatsthis.h"
#include "ifconditionpropertiesdialogv2.h"
#include "labelpropertiesdialog.h"
#include "pausepropertiesdialog.h"
#include "resetinstrumentpropertiesdialog.h"
#include "sequenceelementitem.h"
#include "userprompt.h"

#include <QCheckBox>
#include <QPushButton>

using ControlOperations::ControlOperation;

StepPropertiesDialog::StepPropertiesDialog(const HostLink &hostLink, QWidget *parent)
    : QDialog(parent), link(hostLink)
{
    setModal(true);
}

std::unique_ptr<StepPropertiesDialog> StepPropertiesDialog::forKind(int kind, const HostLink &link,
                                                                    QWidget *parent)
{
    switch (ControlOperation(kind)) {
    case ControlOperation::Pause:
        return std::make_unique<PausePropertiesDialog>(link, parent);
    case ControlOperation::Label:
        return std::make_unique<LabelPropertiesDialog>(link, parent);
    case ControlOperation::Goto:
        return std::make_unique<GOTOPropertiesDialog>(link, parent);
    case ControlOperation::If:
        return std::make_unique<IFConditionPropertiesDialogV2>(link, parent);
    case ControlOperation::Elif:
        return std::make_unique<ELIFConditionPropertiesDialogV2>(link, parent);
    case ControlOperation::Else:
        return std::make_unique<ELSEPropertiesDialog>(link, parent);
    case ControlOperation::EndIf:
        return std::make_unique<ENDIFPropertiesDialog>(link, parent);
    case ControlOperation::Reset:
        return std::make_unique<ResetInstrumentPropertiesDialog>(link, parent);
    default:
        return nullptr;
    }
}

void StepPropertiesDialog::setUpCommon(const QString &caption, const QString &helpTopic)
{
    setWindowTitle(caption);
    reportBox = findChild<QCheckBox *>(QStringLiteral("sequenceReportCheckBox"));
    if (auto *cancel = findChild<QPushButton *>(QStringLiteral("cancelButton")))
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (HostService<VemoInterface::HxiWhatsThis> help(link, QStringLiteral("HxiWhatsThis")); help)
        help->registerTopic(QStringLiteral("ORVSequencer"), helpTopic, this);
}

void StepPropertiesDialog::setItem(QTreeWidgetItem *item)
{
    if (auto *step = dynamic_cast<SequenceElementItem *>(item)) {
        setWindowIcon(step->icon(SequenceElementItem::TypeColumn));
        if (reportBox)
            reportBox->setChecked(step->addToReport);
    }
    BaseProperties::setItem(item);
}

void StepPropertiesDialog::on_okButton_clicked()
{
    if (!inputIsAcceptable())
        return;
    if (SequenceElementItem *step = item()) {
        storeItem(step);
        if (reportBox)
            step->addToReport = reportBox->isChecked();
    }
    accept();
}

void StepPropertiesDialog::warn(const QString &text)
{
    UserPrompt(link, this).warning(tr("Warning"), text);
}
