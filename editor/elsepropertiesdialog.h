#pragma once

#include "steppropertiesdialog.h"

namespace Ui {
class CommentPropertiesForm;
}

// An ELSE step; its only field is a comment.
class ELSEPropertiesDialog : public StepPropertiesDialog
{
    Q_OBJECT

public:
    explicit ELSEPropertiesDialog(const HostLink &link, QWidget *parent = nullptr);
    ~ELSEPropertiesDialog() override;

protected:
    // for ENDIF, which has the same comment
    ELSEPropertiesDialog(const HostLink &link, QWidget *parent, const QString &caption,
                         const QString &helpTopic);

    void loadItem(SequenceElementItem *item) override;
    void storeItem(SequenceElementItem *item) override;

private:
    std::unique_ptr<Ui::CommentPropertiesForm> ui;
};
