#include "applicationitem.h"

#include "sequenceenums.h"

ApplicationItem::ApplicationItem() : SequenceElementItem(ApplicationRow)
{
}

int ApplicationItem::itemType() const
{
    return int(::ItemType::Application);
}

QColor ApplicationItem::statusColour(const QString &statusText) const
{
    if (statusText == StatusText::Rejected)
        return QColor(0xFF, 0xFF, 0x00);
    return SequenceElementItem::statusColour(statusText);
}
