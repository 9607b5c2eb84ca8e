#pragma once

#include "hxiunknown.h"

class QDomElement;

namespace VemoInterface {

// Offered by the plug-in: its part of the project document.
class HxiDatabasePersist : public HxiUnknown
{
public:
    // slot 3: write the plug-in's data into `root`
    virtual bool save(QDomElement &root) = 0;
    // slot 4: read it back from `root`
    virtual bool load(QDomElement &root) = 0;

protected:
    ~HxiDatabasePersist() = default;
};

} // namespace VemoInterface
