#pragma once

#include "steppropertiesdialog.h"

namespace Ui {
class ConditionPropertiesForm;
}

// An IF step: its condition, put together from a key, an operator and a
// value ("item = pass", "exit >= 3"). Keys that compare a status offer the
// status words; the others take a number.
class IFConditionPropertiesDialogV2 : public StepPropertiesDialog
{
    Q_OBJECT

public:
    explicit IFConditionPropertiesDialogV2(const HostLink &link, QWidget *parent = nullptr);
    ~IFConditionPropertiesDialogV2() override;

    // the condition the widgets make now
    QString condition() const { return conditionText; }

public Q_SLOTS:
    void OnKeyComboBox(const QString &key);
    void OnOperatorComboBox(const QString &op);
    void OnValueComboBox(const QString &value);
    void OnValueLineEdit(const QString &value);

protected:
    // for ELIF, which edits its condition the same way
    IFConditionPropertiesDialogV2(const HostLink &link, QWidget *parent, const QString &caption,
                                  const QString &helpTopic);

    void loadItem(SequenceElementItem *item) override;
    bool inputIsAcceptable() override;
    void storeItem(SequenceElementItem *item) override;

private:
    void rebuildCondition();

    std::unique_ptr<Ui::ConditionPropertiesForm> ui;
    QString conditionText;
};
