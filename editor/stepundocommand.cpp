#include "stepundocommand.h"

#include "sequenceelementitem.h"
#include "sequencelistview.h"

#include <algorithm>

StepUndoCommand::StepUndoCommand(SequenceListView *list, const QString &text)
    : QUndoCommand(text), list(list)
{
}

StepUndoCommand::~StepUndoCommand()
{
    // Done, the rows it took out are out; undone, the rows it put in are.
    // A moved row is in both lists and always in the list view.
    const QList<Placement> &out = isDone ? taken : placed;
    const QList<Placement> &in = isDone ? placed : taken;
    for (const Placement &placement : out) {
        const bool stillInList = std::any_of(in.cbegin(), in.cend(), [&](const Placement &other) {
            return other.row == placement.row;
        });
        if (!stillInList)
            delete placement.row;
    }
}

void StepUndoCommand::recordPlaced(SequenceElementItem *row, int index)
{
    placed.append({row, index});
}

void StepUndoCommand::recordTaken(SequenceElementItem *row, int index)
{
    taken.append({row, index});
}

void StepUndoCommand::recordEdit(SequenceElementItem *row, const HxSequenceItem &before,
                                 const HxSequenceItem &after)
{
    edits.append({row, before, after});
}

void StepUndoCommand::takeOut(const QList<Placement> &rows)
{
    // From the bottom up, so the rows above keep their indices.
    QList<Placement> ordered = rows;
    std::sort(ordered.begin(), ordered.end(),
              [](const Placement &a, const Placement &b) { return a.index > b.index; });
    for (const Placement &placement : ordered) {
        const int index = list->indexOfStep(placement.row);
        if (index >= 0)
            list->takeTopLevelItem(index);
    }
}

void StepUndoCommand::putIn(const QList<Placement> &rows)
{
    QList<Placement> ordered = rows;
    std::sort(ordered.begin(), ordered.end(),
              [](const Placement &a, const Placement &b) { return a.index < b.index; });
    for (const Placement &placement : ordered)
        list->insertTopLevelItem(std::min(placement.index, list->topLevelItemCount()), placement.row);
}

void StepUndoCommand::undo()
{
    isDone = false;
    for (const Edit &edit : edits)
        edit.row->assignStoredItem(edit.before);
    takeOut(placed);
    putIn(taken);
    list->showUndoneChange(!placed.isEmpty(), focusRow(taken));
}

void StepUndoCommand::redo()
{
    isDone = true;
    if (std::exchange(alreadyDone, false))
        return;
    takeOut(taken);
    putIn(placed);
    for (const Edit &edit : edits)
        edit.row->assignStoredItem(edit.after);
    list->showUndoneChange(!taken.isEmpty(), focusRow(placed));
}

SequenceElementItem *StepUndoCommand::focusRow(const QList<Placement> &rows) const
{
    if (!rows.isEmpty())
        return rows.first().row;
    return edits.isEmpty() ? nullptr : edits.first().row;
}
