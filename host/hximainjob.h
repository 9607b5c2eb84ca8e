#pragma once

#include "hxiunknown.h"

class HxmJob;

namespace VemoInterface {

class HxiMainJob : public HxiUnknown
{
public:
    // slot 3: the job the host runs now, null when none
    virtual HxmJob *currentJob() = 0;
    // slot 4: abort `job`; its end is still reported
    virtual void abortJob(HxmJob *job) = 0;

protected:
    ~HxiMainJob() = default;
};

} // namespace VemoInterface
