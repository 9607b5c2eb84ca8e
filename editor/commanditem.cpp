#include "commanditem.h"

#include "sequenceenums.h"

CommandItem::CommandItem() : SequenceElementItem(CommandRow)
{
}

int CommandItem::itemType() const
{
    return int(::ItemType::Command);
}

void CommandItem::assignStoredItem(const HxSequenceItem &stored)
{
    SequenceElementItem::assignStoredItem(stored);
    command = stored.command;
    setIcon(TypeColumn, imageIcon(IconName));
}
