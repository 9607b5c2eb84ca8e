#pragma once

#include "elsepropertiesdialog.h"

// An ENDIF step; its only field is a comment.
class ENDIFPropertiesDialog : public ELSEPropertiesDialog
{
    Q_OBJECT

public:
    explicit ENDIFPropertiesDialog(const HostLink &link, QWidget *parent = nullptr)
        : ELSEPropertiesDialog(link, parent, tr("ENDIF"), QStringLiteral("ENDIF Properties Dialog"))
    {
    }
};
