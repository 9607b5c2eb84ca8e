#pragma once

#include "hxiunknown.h"

#include <QString>

class HxmJob;
class QObject;

namespace VemoInterface {

// Runs a command line as a host job and reports only its end.
class HxiMainProcess : public HxiUnknown
{
public:
    // slot 3: start `commandLine` in `directory`; the end arrives at
    // `finishedSlot` (HxmJob*, const QString&, int) of `receiver`.
    // Null when nothing was started.
    virtual HxmJob *startProcess(const QString &commandLine, const QString &directory,
                                 QObject *receiver, const char *finishedSlot) = 0;

protected:
    ~HxiMainProcess() = default;
};

} // namespace VemoInterface
