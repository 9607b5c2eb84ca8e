#pragma once

#include "hxsequenceitem.h"

#include <QList>
#include <QUndoCommand>

class SequenceListView;
class SequenceElementItem;

// One change of a sequence list that can be undone: rows put into the
// list, rows taken out of it (a move does both with the same row), and
// steps whose fields a dialog changed. Rows that are out of the list while
// the change is done or undone belong to the command; the rows keep their
// identity either way, so whatever points at a row stays right.
class StepUndoCommand : public QUndoCommand
{
public:
    StepUndoCommand(SequenceListView *list, const QString &text);
    ~StepUndoCommand() override;

    // Each records part of a change that has already happened.
    void recordPlaced(SequenceElementItem *row, int index);
    void recordTaken(SequenceElementItem *row, int index);
    void recordEdit(SequenceElementItem *row, const HxSequenceItem &before,
                    const HxSequenceItem &after);
    bool isEmpty() const { return placed.isEmpty() && taken.isEmpty() && edits.isEmpty(); }

    void undo() override;
    void redo() override;

private:
    struct Placement
    {
        SequenceElementItem *row;
        int index;
    };
    struct Edit
    {
        SequenceElementItem *row;
        HxSequenceItem before;
        HxSequenceItem after;
    };

    void takeOut(const QList<Placement> &rows);
    void putIn(const QList<Placement> &rows);
    // the row to make current once the change is undone or redone
    SequenceElementItem *focusRow(const QList<Placement> &rows) const;

    SequenceListView *list;
    QList<Placement> placed;
    QList<Placement> taken;
    QList<Edit> edits;
    // The change was made before the command was pushed; the stack's first
    // redo has nothing left to do.
    bool alreadyDone = true;
    bool isDone = true;
};
