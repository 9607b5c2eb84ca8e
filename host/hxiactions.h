#pragma once

#include "hxiunknown.h"

class QAction;
class QString;
class QWidget;

namespace VemoInterface {

// Offered by the plug-in: its actions and its windows.
class HxiActions : public HxiUnknown
{
public:
    // slot 3: the action with this id; null when unknown or not allowed
    virtual QAction *action(const QString &id) = 0;
    // slot 4: a new window of the named kind; null for an unknown kind
    virtual QWidget *createWindow(const QString &name) = 0;

protected:
    ~HxiActions() = default;
};

} // namespace VemoInterface
