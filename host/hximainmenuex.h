#pragma once

#include "hxiunknown.h"

class QWidget;

namespace VemoInterface {

class HxiMainMenuEx : public HxiUnknown
{
public:
    // slots 3 to 6 are the host's menu operations, which the plug-in never calls
    // slot 7: the host's main window, parent of every plug-in dialog
    virtual QWidget *mainWindow() = 0;

protected:
    ~HxiMainMenuEx() = default;
};

} // namespace VemoInterface
