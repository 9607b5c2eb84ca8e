#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

class HxiInstrumentEx : public HxiUnknown
{
public:
    // slot 3: value `key` of `instrument` ("Address", "Reset.0", "ExecBcu",
    // "MaxTaps.0", ...); empty when unknown
    virtual QString instrumentValue(const QString &instrument, const QString &key) = 0;

protected:
    ~HxiInstrumentEx() = default;
};

} // namespace VemoInterface
