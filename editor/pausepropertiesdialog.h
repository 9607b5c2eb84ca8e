#pragma once

#include "steppropertiesdialog.h"

namespace Ui {
class PausePropertiesForm;
}

// A PAUSE step: the message (a question when it ends with "?"), its sound
// and time-out, the default answer and whether "No" passes.
class PausePropertiesDialog : public StepPropertiesDialog
{
    Q_OBJECT

public:
    explicit PausePropertiesDialog(const HostLink &link, QWidget *parent = nullptr);
    ~PausePropertiesDialog() override;

public Q_SLOTS:
    void on_browseButton_clicked();
    void on_messageTextEdit_textChanged();

protected:
    void loadItem(SequenceElementItem *item) override;
    bool inputIsAcceptable() override;
    void storeItem(SequenceElementItem *item) override;

private:
    std::unique_ptr<Ui::PausePropertiesForm> ui;
};
