#pragma once

#include "sequencecommand.h"

#include <QTreeWidgetItem>

// A row of the commands palette: a copy of one catalogue command.
class CommandsListViewItem : public QTreeWidgetItem
{
public:
    CommandsListViewItem(QTreeWidget *palette, const SequenceCommand &command, const QIcon &icon)
        : QTreeWidgetItem(palette, {command.name()}), command(command)
    {
        setIcon(0, icon);
    }

    SequenceCommand command;
};
