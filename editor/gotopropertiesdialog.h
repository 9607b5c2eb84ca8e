#pragma once

#include "labelpropertiesdialog.h"

// A GOTO step: the label of the step to jump to.
class GOTOPropertiesDialog : public LabelPropertiesDialog
{
    Q_OBJECT

public:
    explicit GOTOPropertiesDialog(const HostLink &link, QWidget *parent = nullptr)
        : LabelPropertiesDialog(link, parent, tr("GOTO"), QStringLiteral("GOTO Properties Dialog"))
    {
    }
};
