#pragma once

#include "hxiunknown.h"

class QObject;
class QWidget;

namespace VemoInterface {

// The host's main view area, where plug-in windows are shown as views.
class HxiMainView : public HxiUnknown
{
public:
    // slot 3: show `window` as a view and make it the active one
    virtual void showView(QWidget *window) = 0;
    // slot 4: connect the view manager's "activated(QWidget*)" notification
    // to `slot` (a SLOT() signature) of `receiver`
    virtual bool connectActivated(QObject *receiver, const char *slot) = 0;
    // slot 5: the view that is active now, null when none
    virtual QWidget *activeView() = 0;

protected:
    ~HxiMainView() = default;
};

} // namespace VemoInterface
