#pragma once

class QTreeWidgetItem;
class SequenceElementItem;

// What every step dialog offers the sequence list, which prepares a dialog
// always the same way: the mode, then the lists for it, then the step to
// edit; then it runs the dialog and deletes it.
class BaseProperties
{
public:
    enum Mode { ApplicationMode = 1, CommandMode = 2, OperationMode = 3 };

    virtual ~BaseProperties() = default;

    // Loads the dialog from the step and remembers it; anything that is not
    // a step of the list is ignored.
    virtual void setItem(QTreeWidgetItem *item);
    virtual void setMode(int mode) { currentMode = mode; }
    // Fills the dialog's lists for the mode.
    virtual void init() {}

    SequenceElementItem *item() const { return step; }
    int mode() const { return currentMode; }

protected:
    virtual void loadItem(SequenceElementItem *item) = 0;

private:
    SequenceElementItem *step = nullptr;
    int currentMode = 0;
};
