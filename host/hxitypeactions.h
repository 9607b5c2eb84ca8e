#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

// What the application types of the host can do. The actions that matter to
// a sequence are "Execute" (run the application) and "Infra" (run its
// infrastructure test).
class HxiTypeActions : public HxiUnknown
{
public:
    // slot 3: whether applications of `type` offer `action`
    virtual bool supportsAction(const QString &type, const QString &action) = 0;
    // slot 4: the execute settings of `application` for `action`, as an id
    // for HxiAppSequence; empty when the application cannot run that action
    virtual QString actionSettings(const QString &application, const QString &action) = 0;
    // slot 5: the host's action text of `action` for `type`; empty when none
    virtual QString actionText(const QString &type, const QString &action) = 0;

protected:
    ~HxiTypeActions() = default;
};

} // namespace VemoInterface
