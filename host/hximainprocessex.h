#pragma once

#include "hxiunknown.h"

#include <QString>

class HxmJob;
class QObject;

namespace VemoInterface {

// Runs a command line as a host job and forwards its console output.
class HxiMainProcessEx : public HxiUnknown
{
public:
    // slot 3: start `commandLine` in `directory`; the end arrives at
    // `finishedSlot` (HxmJob*, const QString&, int), standard output and
    // error at `stdoutSlot` and `stderrSlot` (HxmJob*, const QString&).
    // Null when nothing was started.
    virtual HxmJob *startProcess(const QString &commandLine, const QString &directory,
                                 QObject *receiver, const char *finishedSlot,
                                 const char *stdoutSlot, const char *stderrSlot) = 0;
    // slot 4: kill the process behind `job`; its end is still reported
    virtual void killProcess(HxmJob *job) = 0;

protected:
    ~HxiMainProcessEx() = default;
};

} // namespace VemoInterface
