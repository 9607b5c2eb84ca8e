#pragma once

#include "hxiunknown.h"

namespace VemoInterface {

class HxiStartup : public HxiUnknown
{
public:
    // slot 3: the host has started
    virtual void startupComplete() = 0;
    // slot 4: recompute which actions are enabled
    virtual void updateActions() = 0;
    // slot 5: the host is about to shut down
    virtual void shutdownPending() = 0;

protected:
    ~HxiStartup() = default;
};

} // namespace VemoInterface
