#pragma once

#include "hxiunknown.h"

namespace VemoInterface {

class HxiClassFactory : public HxiUnknown
{
public:
    // slot 3
    virtual HxiResult createInstance(const QString &name, void **result) = 0;

protected:
    ~HxiClassFactory() = default;
};

} // namespace VemoInterface
