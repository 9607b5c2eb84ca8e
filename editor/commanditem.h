#pragma once

#include "sequenceelementitem.h"
#include "sequencecommand.h"

// A step that runs a system command.
class CommandItem : public SequenceElementItem
{
public:
    static inline const QString IconName = QStringLiteral("Ctrl_Wheel.png");

    CommandItem();

    int itemType() const override;
    SequenceCommand sequenceCommand() const override { return command; }
    void assignStoredItem(const HxSequenceItem &stored) override;

    SequenceCommand command;
};
