#pragma once

#include "ifconditionpropertiesdialogv2.h"

// An ELIF step: a condition, as for IF.
class ELIFConditionPropertiesDialogV2 : public IFConditionPropertiesDialogV2
{
    Q_OBJECT

public:
    explicit ELIFConditionPropertiesDialogV2(const HostLink &link, QWidget *parent = nullptr)
        : IFConditionPropertiesDialogV2(link, parent, tr("ELIF <condition>"),
                                        QStringLiteral("ELIF Properties Dialog"))
    {
    }
};
