#pragma once

#include "hostlink.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMap>
#include <QString>
#include <QTreeWidget>

#include <functional>
#include <optional>

class ApplicationItem;
class CommandItem;
class QMimeData;
class HxSequenceItem;
class OperationItem;
class SequenceCommand;
class SequenceElementItem;
class StepUndoCommand;
class QTimer;
class QUndoStack;

// The steps of one sequence in the sequencer window: a flat list of rows
// that the user edits and the runner walks. Every row is a
// SequenceElementItem.
class SequenceListView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit SequenceListView(QWidget *parent = nullptr);
    explicit SequenceListView(const HostLink &link, QWidget *parent = nullptr);
    ~SequenceListView() override;

    // Shows an I/O-pins step's options and writes them into the step; false
    // when cancelled. The window gives it, as the dialog belongs to the run.
    using StepEditor = std::function<bool(SequenceElementItem *step, QWidget *parent)>;
    void setIoPinsEditor(StepEditor editor) { ioPinsEditor = std::move(editor); }
    // Whether "&Execute" may start a run now.
    void setExecuteAllowed(std::function<bool()> allowed) { executeAllowed = std::move(allowed); }

    // Every change of the rows (insert, move, remove, a dialog's edit), to
    // be undone and redone; emptied when the list is filled anew.
    QUndoStack *undoStack() const { return undoHistory; }
    // After an undo or redo: renumbered rows, `current` selected, and the
    // window told when rows left the list.
    void showUndoneChange(bool rowsLeft, SequenceElementItem *current);

    // The host the list asks for the privilege, the applications' operations
    // and the project view.
    void setHostLink(const HostLink &hostLink)
    {
        link = hostLink;
        typeIcons.clear();
    }
    HostLink hostLink() const { return link; }

    // Each creates a step at the insertion position: above dropTarget, or
    // at the end without one. With `loading` the step is only created and
    // placed, and the caller fills its fields and columns.
    ApplicationItem *insertApplicationStep(const std::optional<QMap<QString, QString>> &parameters,
                                           const QString &applicationName,
                                           const QString &typeName, const QIcon &icon,
                                           bool loading = false);
    CommandItem *insertCommandStep(const SequenceCommand &command, const QIcon &icon,
                                   bool loading = false);
    // Null when the palette name is unknown or the user cancelled the step's
    // dialog. "IF <condition>" makes an IF, an ELSE and an ENDIF row, unless
    // loading, where every stored row comes on its own; the IF is returned.
    OperationItem *insertOperationStep(const QString &paletteName, const QIcon &icon,
                                       bool loading = false);
    // A row of the stored step's class, filled from it, at the insertion
    // position; application steps also get their operation and show lists.
    // Null for a step without a kind. `typeIcon` is the application type's.
    SequenceElementItem *insertStoredStep(const HxSequenceItem &stored,
                                          const QIcon &typeIcon = QIcon());

    // Moves draggedStep to the selected row (the drop target); false when
    // there is nothing to move.
    bool moveDraggedStep();
    // Deletes the selected rows, then tells the window (stepsRemoved) and
    // renumbers.
    void removeSelectedSteps();
    void renumberSteps();
    // The first LABEL row whose Property column is exactly `label`.
    SequenceElementItem *findLabelStep(const QString &label) const;
    // Clears a step's last run after its operation changed, and tells the
    // host's project view. Does nothing while a step is being inserted.
    void resetStepRunState(SequenceElementItem *step);

    QList<SequenceElementItem *> steps() const;
    int stepCount() const { return topLevelItemCount(); }
    SequenceElementItem *stepAt(int index) const;
    int indexOfStep(const SequenceElementItem *step) const;   // -1 when not in the list
    SequenceElementItem *stepAbove(const SequenceElementItem *step) const;
    SequenceElementItem *stepBelow(const SequenceElementItem *step) const;
    SequenceElementItem *firstStep() const;
    SequenceElementItem *selectedStep() const;

    // The row under the cursor during a drag; new steps go above it.
    SequenceElementItem *dropTarget = nullptr;
    // The row an internal drag started from.
    SequenceElementItem *draggedStep = nullptr;
    // Set while an interactive insertion runs.
    bool inserting = false;

public Q_SLOTS:
    // Shows an application step's last outcome in the host's project view.
    void slotSelectionChanged(QTreeWidgetItem *item);
    // The step's dialog (a double click); true when the step was changed.
    // Nothing for the privileges that only run sequences.
    bool slotShowProperties(QTreeWidgetItem *item);
    // The row's menu: execute, and by privilege properties and remove, or
    // the options of application, reset and I/O-pins steps.
    void slotShowContextMenu(QTreeWidgetItem *item, const QPoint &globalPosition);

Q_SIGNALS:
    // Rows were removed: the window's run and cycle statuses no longer
    // describe the list.
    void stepsRemoved();
    // A step's dialog changed it.
    void stepEdited(SequenceElementItem *step);
    // "&Execute": a run from the selected row, as the Start button begins one.
    void executeRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

    // Where a new operation step's dialog is shown, before the step joins
    // the list; false (Cancel) creates nothing.
    virtual bool editNewOperationStep(OperationItem *step);
    bool runStepDialog(class StepPropertiesDialog &dialog, SequenceElementItem *step);
    // The options of an application, reset or I/O-pins step; true when
    // the step changed.
    virtual bool showOptions(SequenceElementItem *step);

    // Short columns as wide as their texts; the item names take the rest.
    void fitColumnsToContents();

private:
    // What an internal drag carries (nothing: the list remembers the row).
    static inline const QString MoveDragFormat = QStringLiteral("SequenceListViewDrag");
    static inline const QString ProjectDragFormat = QStringLiteral("HxProjectDrag");
    // the project tree's kind of an application entry
    static constexpr int ApplicationEntryKind = 102;

    // The application a project-tree drag carries, when it may join a sequence.
    bool readProjectDrag(const QMimeData *data, QString &application, QString &type) const;
    QIcon typeIcon(const QString &type) const;
    bool editApplicationStep(ApplicationItem *step);
    bool editCommandStep(CommandItem *step);
    bool editApplicationOptions(SequenceElementItem *step);
    // Runs `change` and records what it did to the rows as one undoable step.
    bool recordEdit(SequenceElementItem *step, const QString &text,
                    const std::function<bool()> &change);
    void recordInsertion(const QList<SequenceElementItem *> &rows, const QString &text);

    bool acceptsDrop(const QMimeData *data) const;
    void setUpList();
    int insertionIndex() const;
    void placeStep(SequenceElementItem *step, int index);
    void loadOperationLists(SequenceElementItem *step, const HxSequenceItem &query,
                            bool newStep) const;
    void tellProjectView(const SequenceElementItem *step) const;
    void forgetRows(int first, int last);

    HostLink link;
    mutable QHash<QString, QIcon> typeIcons;
    QUndoStack *undoHistory = nullptr;
    StepEditor ioPinsEditor;
    std::function<bool()> executeAllowed;
    QTimer *columnFitTimer = nullptr;
};
