#include "resetinstrumentpropertiesdialog.h"

#include "hostservice.h"
#include "hxiinstrument.h"
#include "operationitem.h"
#include "ui_resetinstrumentpropertiesform.h"

namespace {

const QString Preferred = QStringLiteral("Preferred");

} // namespace

ResetInstrumentPropertiesDialog::ResetInstrumentPropertiesDialog(const HostLink &link, QWidget *parent)
    : StepPropertiesDialog(link, parent), ui(std::make_unique<Ui::ResetInstrumentPropertiesForm>())
{
    ui->setupUi(this);
    setUpCommon(tr("Reset Instrument"), QStringLiteral("Reset Instrument Properties Dialog"));
    fillInstruments();
}

ResetInstrumentPropertiesDialog::~ResetInstrumentPropertiesDialog() = default;

void ResetInstrumentPropertiesDialog::fillInstruments()
{
    ui->instrumentComboBox->clear();
    HostService<VemoInterface::HxiInstrument> instruments(link, QStringLiteral("HxiInstrument"));
    if (!instruments)
        return;   // no instruments to offer; a name can still be typed
    const QString preferred = instruments->preferredInstrument();
    if (!preferred.isEmpty())
        ui->instrumentComboBox->addItem(QStringLiteral("%1 (%2)").arg(Preferred, preferred));
    ui->instrumentComboBox->addItems(instruments->instrumentsOffering(QStringLiteral("ExecReset")));
}

void ResetInstrumentPropertiesDialog::loadItem(SequenceElementItem *step)
{
    fillInstruments();
    const QString stored = step->text(SequenceElementItem::PropertyColumn);
    if (stored == Preferred) {
        for (int i = 0; i < ui->instrumentComboBox->count(); ++i) {
            if (ui->instrumentComboBox->itemText(i).startsWith(Preferred)) {
                ui->instrumentComboBox->setCurrentIndex(i);
                return;
            }
        }
    }
    ui->instrumentComboBox->setCurrentText(stored);
}

void ResetInstrumentPropertiesDialog::storeItem(SequenceElementItem *step)
{
    step->setText(SequenceElementItem::PropertyColumn,
                  OperationItem::instrumentText(ui->instrumentComboBox->currentText()));
}
