#include "executesettingsdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {

const QString SeqOperation = QStringLiteral("SeqOperation");
const QString Show = QStringLiteral("Show");
const QString InstrumentName = QStringLiteral("InstrumentName");

QComboBox *choiceBox(QWidget *parent, const char *name, const QStringList &entries, const QString &current)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(entries);
    // a value the lists no longer offer stays visible and chosen
    if (!current.isEmpty() && box->findText(current) < 0)
        box->addItem(current);
    if (!current.isEmpty())
        box->setCurrentText(current);
    return box;
}

} // namespace

ExecuteSettingsDialog::ExecuteSettingsDialog(const QString &application, const QStringList &operations,
                                             const QStringList &showOptions, const QStringList &instruments,
                                             const QMap<QString, QString> &parameters, QWidget *parent)
    : QDialog(parent),
      operationBox(choiceBox(this, "operationBox", operations, parameters.value(SeqOperation))),
      showBox(choiceBox(this, "showBox", showOptions, parameters.value(Show))),
      instrumentBox(choiceBox(this, "instrumentBox", QStringList{QStringLiteral("Preferred")} + instruments,
                              parameters.value(InstrumentName)))
{
    setObjectName(QStringLiteral("executeSettingsDialog"));
    //: %1 = Application Name
    setWindowTitle(tr("Execute Settings: %1").arg(application));
    auto *form = new QFormLayout;
    form->addRow(tr("&Operation:"), operationBox);
    form->addRow(tr("&Show:"), showBox);
    form->addRow(tr("&Instrument:"), instrumentBox);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void ExecuteSettingsDialog::storeParameters(QMap<QString, QString> &parameters) const
{
    parameters.insert(SeqOperation, operationBox->currentText());
    parameters.insert(Show, showBox->currentText());
    parameters.insert(InstrumentName, instrumentBox->currentText());
}
