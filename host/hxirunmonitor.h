#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

// A host without a person watching the sequencer window (a station script,
// a test) follows a run through this service: the plug-in tells it every
// step that ended and how the run ended. A host that does not offer it
// simply gets no such calls.
class HxiRunMonitor : public HxiUnknown
{
public:
    enum RunEnd { Completed = 0, Stopped = 1, Cancelled = 2 };

    // slot 3: a step ended with `status` ("Passed", "Failed", "Done", ...)
    virtual void stepFinished(const QString &sequence, int loop, const QString &number,
                              const QString &type, const QString &operation,
                              const QString &item, const QString &status) = 0;
    // slot 4: the run ended, paused or was cancelled; `verdict` is the run's
    // aggregate ("Passed", "Failed", "Error"), `reportFile` the report written
    // (empty when none)
    virtual void runFinished(const QString &sequence, int end, const QString &verdict,
                             const QString &reportFile) = 0;

protected:
    ~HxiRunMonitor() = default;
};

} // namespace VemoInterface
