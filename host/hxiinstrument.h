#pragma once

#include "hxiunknown.h"

#include <QString>
#include <QStringList>

namespace VemoInterface {

// The project's test instruments.
class HxiInstrument : public HxiUnknown
{
public:
    // slot 3: every instrument's name, in project order
    virtual QStringList instruments() = 0;
    // slot 4: the preferred instrument; empty when there is none
    virtual QString preferredInstrument() = 0;
    // slot 5: the instruments that offer `action` ("ExecReset", "ExecBcu")
    virtual QStringList instrumentsOffering(const QString &action) = 0;

protected:
    ~HxiInstrument() = default;
};

} // namespace VemoInterface
