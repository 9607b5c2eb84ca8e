#pragma once

class QWidget;

namespace VemoInterface {

// A page of the host's settings dialog, supplied by a plug-in.
class HxiSettingsPage
{
public:
    virtual ~HxiSettingsPage() = default;
    // the widget the host puts into its dialog
    virtual QWidget *widget() = 0;
    // the user confirmed the dialog: take the page's values
    virtual void apply() = 0;
    // the user cancelled the dialog: show the stored values again
    virtual void reset() = 0;
};

} // namespace VemoInterface
