#pragma once

#include "baseproperties.h"
#include "hostlink.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QPushButton;

// The family of small dialogs of the flow-control, message and reset
// steps. Each has an "Add to Sequence Report" box bound to the step, OK
// that checks the input and writes it into the step, and Cancel that
// changes nothing. A dialog of a step being created has no step yet; the
// list gives it the new step before it runs.
class StepPropertiesDialog : public QDialog, public BaseProperties
{
    Q_OBJECT

public:
    // The dialog of an operation step `kind`; null for a kind without one
    // of this family (print, export, I/O pins).
    static std::unique_ptr<StepPropertiesDialog> forKind(int kind, const HostLink &link,
                                                         QWidget *parent);

    void setItem(QTreeWidgetItem *item) override;

public Q_SLOTS:
    void on_okButton_clicked();

protected:
    StepPropertiesDialog(const HostLink &link, QWidget *parent);

    // To be called by the subclass once its form is set up.
    void setUpCommon(const QString &caption, const QString &helpTopic);
    // Says what is wrong (and keeps the dialog open) or gives true.
    virtual bool inputIsAcceptable() { return true; }
    // Writes the dialog's values into the step.
    virtual void storeItem(SequenceElementItem *item) = 0;
    void warn(const QString &text);

    HostLink link;

private:
    QCheckBox *reportBox = nullptr;
};
