#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

// The host's log view: tabs of HTML lines ("Output" and one per module).
class HxiMainLogview : public HxiUnknown
{
public:
    // slot 3: append one HTML line to the tab `tab`
    virtual void appendLine(const QString &tab, const QString &line) = 0;

protected:
    ~HxiMainLogview() = default;
};

} // namespace VemoInterface
