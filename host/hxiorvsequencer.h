#pragma once

#include "hxiunknown.h"

class QString;
class QWidget;

// Offered by the plug-in: sequencer operations other modules may start.
class HxiORVSequencer : public VemoInterface::HxiUnknown
{
public:
    // slot 3: create a sequence from a legacy sequence file
    virtual bool importLegacySequence(QWidget *parent, const QString &fileName) = 0;

protected:
    ~HxiORVSequencer() = default;
};
