#pragma once

#include "hostlink.h"

#include <QIcon>
#include <QList>
#include <QMap>
#include <QString>
#include <QTreeWidget>

#include <optional>

class ApplicationItem;
class CommandItem;
class QMimeData;
class HxSequenceItem;
class OperationItem;
class SequenceCommand;
class SequenceElementItem;

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

    // The host the list asks for the privilege, the applications' operations
    // and the project view.
    void setHostLink(const HostLink &hostLink) { link = hostLink; }
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
    // The dialog of a flow-control, message or reset step (a double click);
    // true when the step was changed. Nothing for the privileges that only
    // run sequences.
    bool slotShowProperties(QTreeWidgetItem *item);

Q_SIGNALS:
    // Rows were removed: the window's run and cycle statuses no longer
    // describe the list.
    void stepsRemoved();
    // A step's dialog changed it.
    void stepEdited(SequenceElementItem *step);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    // Where a new operation step's dialog is shown, before the step joins
    // the list; false (Cancel) creates nothing.
    virtual bool editNewOperationStep(OperationItem *step);
    bool runStepDialog(class StepPropertiesDialog &dialog, SequenceElementItem *step);

private:
    // What an internal drag carries (nothing: the list remembers the row).
    static inline const QString MoveDragFormat = QStringLiteral("SequenceListViewDrag");

    bool acceptsDrop(const QMimeData *data) const;
    void setUpList();
    int insertionIndex() const;
    void placeStep(SequenceElementItem *step, int index);
    void loadOperationLists(SequenceElementItem *step, const HxSequenceItem &query) const;
    void tellProjectView(const SequenceElementItem *step) const;
    void forgetRows(int first, int last);

    HostLink link;
};
