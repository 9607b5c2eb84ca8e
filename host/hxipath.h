#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

class HxiPath : public HxiUnknown
{
public:
    // slot 3: the absolute form of `path` (host path variables expanded);
    // empty when it cannot be expanded
    virtual QString absolutePath(const QString &path) = 0;

protected:
    ~HxiPath() = default;
};

} // namespace VemoInterface
