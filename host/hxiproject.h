#pragma once

#include "hxiunknown.h"

class QString;

namespace VemoInterface {

// Offered by the plug-in: its entries in the host's project tree.
class HxiProject : public HxiUnknown
{
public:
    // slot 3: enter the plug-in's folders and objects below `parent`
    virtual bool buildTree(const QString &parent) = 0;
    // slot 4: the host removed an object of the plug-in ("ClearAll": all of them)
    virtual bool removeObject(const QString &type, const QString &name) = 0;

protected:
    ~HxiProject() = default;
};

} // namespace VemoInterface
