#pragma once

#include "sequencecommand.h"
#include "steppropertiesdialog.h"

#include <QStringList>

#include <functional>

namespace Ui {
class SequenceItemPropertiesForm;
}

// The run properties of an application step, a command step or the I/O-pins
// step: the operation, what it shows, what follows each outcome, which
// results are kept and whether the step's output and status count for the
// sequence.
class SequenceItemPropertiesDialog : public StepPropertiesDialog
{
    Q_OBJECT

public:
    // Shows an I/O-pins step's options and writes them into the step; false
    // when cancelled.
    using IoPinsEditor = std::function<bool(SequenceElementItem *step, QWidget *parent)>;

    explicit SequenceItemPropertiesDialog(const HostLink &link, QWidget *parent = nullptr);
    ~SequenceItemPropertiesDialog() override;

    void init() override;
    void setTestInfrastructure(bool on) { testInfrastructure = on; }
    void setIoPinsEditor(IoPinsEditor editor) { ioPinsEditor = std::move(editor); }

    QString operation() const;
    QString show() const;
    SequenceCommand sequenceCommand() const { return command; }

public Q_SLOTS:
    // Both name the application whose lists the dialog offers.
    void setTestConfigId(const QString &id) { testConfigId = id; }
    void setApplicationId(const QString &id) { applicationId = id; }
    void on_optionsPushButton_clicked();
    void on_operationComboBox_activated(int index);

protected:
    void loadItem(SequenceElementItem *item) override;
    void storeItem(SequenceElementItem *item) override;

private:
    void loadApplicationLists(const QString &operation, QMap<QString, QString> *parameters);
    void fillCombo(class QComboBox *combo, const QStringList &entries);
    void refreshShowChoices();
    void updateOptionsButton();
    void editApplicationSettings(SequenceElementItem *step);
    void editCommand();

    std::unique_ptr<Ui::SequenceItemPropertiesForm> ui;
    bool testInfrastructure = false;
    SequenceCommand command;
    QMap<QString, QString> parameters;   // the step's, as OK will leave them
    QString testConfigId;
    QString applicationId;
    QStringList operationList;
    QStringList showList;
    QString previousOperation;
    QString typeText;
    IoPinsEditor ioPinsEditor;
};
