#pragma once

#include "sequenceelementitem.h"

// A step that runs one operation of a project application.
class ApplicationItem : public SequenceElementItem
{
public:
    ApplicationItem();

    int itemType() const override;
    // An application may reject a unit; that shows like an error.
    QColor statusColour(const QString &statusText) const override;
};
