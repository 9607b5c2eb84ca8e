#pragma once

#include "hxiunknown.h"

class QDomElement;

namespace VemoInterface {

class HxiSettingsPage;

// Offered by the plug-in: its settings, stored by the host.
class HxiSettings : public HxiUnknown
{
public:
    // slot 3: the page for the host's settings dialog; null when none
    virtual HxiSettingsPage *settingsPage() = 0;
    // slot 4: write the settings below `parent`
    virtual bool saveSettings(QDomElement &parent) = 0;
    // slot 5: read them from below `parent`
    virtual bool loadSettings(QDomElement &parent) = 0;

protected:
    ~HxiSettings() = default;
};

} // namespace VemoInterface
