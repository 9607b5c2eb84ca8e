#pragma once

#include "steppropertiesdialog.h"

namespace Ui {
class LabelPropertiesForm;
}

// A LABEL step: the name a GOTO jumps to, or a comment.
class LabelPropertiesDialog : public StepPropertiesDialog
{
    Q_OBJECT

public:
    explicit LabelPropertiesDialog(const HostLink &link, QWidget *parent = nullptr);
    ~LabelPropertiesDialog() override;

protected:
    // for GOTO, which edits its label the same way
    LabelPropertiesDialog(const HostLink &link, QWidget *parent, const QString &caption,
                          const QString &helpTopic);

    void loadItem(SequenceElementItem *item) override;
    bool inputIsAcceptable() override;
    void storeItem(SequenceElementItem *item) override;

private:
    std::unique_ptr<Ui::LabelPropertiesForm> ui;
};
