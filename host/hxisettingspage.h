#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace VemoInterface {

// A page of the host's settings dialog, supplied by a plug-in. It has no
// base interface: the plug-in keeps it and hands it out through
// HxiSettings::settingsPage().
class HxiSettingsPage
{
public:
    // slot 1: the user confirmed the dialog: take the page's values
    virtual void apply() = 0;
    // slot 2: the user cancelled the dialog: the stored values stay
    virtual void cancel() = 0;
    // slot 3: the widget the host puts into its dialog
    virtual QWidget *widget() = 0;
    // slot 4: the page's icon for the dialog's tab
    virtual QPixmap icon() = 0;
    // slot 5: the page's name for the dialog's tab
    virtual QString title() = 0;

protected:
    ~HxiSettingsPage() = default;
};

} // namespace VemoInterface
