#pragma once

#include "steppropertiesdialog.h"

namespace Ui {
class ResetInstrumentPropertiesForm;
}

// A Reset step: which of the project's instruments that can be reset it
// resets; the first entry stands for the preferred instrument.
class ResetInstrumentPropertiesDialog : public StepPropertiesDialog
{
    Q_OBJECT

public:
    explicit ResetInstrumentPropertiesDialog(const HostLink &link, QWidget *parent = nullptr);
    ~ResetInstrumentPropertiesDialog() override;

protected:
    void loadItem(SequenceElementItem *item) override;
    void storeItem(SequenceElementItem *item) override;

private:
    void fillInstruments();

    std::unique_ptr<Ui::ResetInstrumentPropertiesForm> ui;
};
