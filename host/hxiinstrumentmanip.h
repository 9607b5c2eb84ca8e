#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

class HxiInstrumentManip : public HxiUnknown
{
public:
    enum ParameterCheck { ParameterValid = 0, NotAnInstrumentParameter = 1, ParameterInvalid = 2 };

    // slot 3: check one execution parameter against the instrument's rules
    virtual int checkParameter(const QString &key, const QString &value) = 0;

protected:
    ~HxiInstrumentManip() = default;
};

} // namespace VemoInterface
