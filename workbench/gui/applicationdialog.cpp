#include "applicationdialog.h"

#include "applicationmanager.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLineEdit>
#include <QVBoxLayout>

ApplicationDialog::ApplicationDialog(const Fields &fields, bool isNew, QWidget *parent)
    : QDialog(parent), nameEdit(new QLineEdit(fields.name, this)), typeBox(new QComboBox(this)),
      programEdit(new QLineEdit(fields.program, this)), folderEdit(new QLineEdit(fields.folder, this)),
      tapsEdit(new QLineEdit(fields.taps.join(QStringLiteral(", ")), this))
{
    setObjectName(QStringLiteral("applicationDialog"));
    setWindowTitle(isNew ? tr("New Application") : tr("Application Properties"));
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    typeBox->setObjectName(QStringLiteral("typeBox"));
    programEdit->setObjectName(QStringLiteral("programEdit"));
    folderEdit->setObjectName(QStringLiteral("folderEdit"));
    tapsEdit->setObjectName(QStringLiteral("tapsEdit"));
    for (const QString &type : ApplicationManager::types())
        typeBox->addItem(QIcon(ApplicationManager::typeIcon(type)), type);
    typeBox->setCurrentText(fields.type);
    // An application's settings belong to its type; a new type is a new application.
    typeBox->setEnabled(isNew);
    programEdit->setPlaceholderText(tr("relative to the project folder"));
    tapsEdit->setPlaceholderText(tr("J1, J2"));

    auto *form = new QFormLayout;
    form->addRow(tr("&Name:"), nameEdit);
    form->addRow(tr("&Type:"), typeBox);
    form->addRow(tr("&Program:"), programEdit);
    form->addRow(tr("&Folder:"), folderEdit);
    form->addRow(tr("T&AP connectors:"), tapsEdit);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    programEdit->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
}

ApplicationDialog::Fields ApplicationDialog::fields() const
{
    Fields result;
    result.name = nameEdit->text();
    result.type = typeBox->currentText();
    result.program = programEdit->text();
    result.folder = folderEdit->text();
    for (const QString &tap : tapsEdit->text().split(QLatin1Char(','), Qt::SkipEmptyParts))
        result.taps.append(tap.trimmed());
    return result;
}
