#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

// Attributes of the host's application types, such as "Type" = "Runner".
class HxiTypeInfo : public HxiUnknown
{
public:
    // slot 3: attribute `name` of application type `type`; empty when unknown
    virtual QString attribute(const QString &type, const QString &name) = 0;

protected:
    ~HxiTypeInfo() = default;
};

} // namespace VemoInterface
