#include "baseproperties.h"

#include "sequenceelementitem.h"

void BaseProperties::setItem(QTreeWidgetItem *item)
{
    auto *element = dynamic_cast<SequenceElementItem *>(item);
    if (!element)
        return;
    step = element;
    loadItem(element);
}
