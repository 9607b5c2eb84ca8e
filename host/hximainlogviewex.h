#pragma once

#include "hxiunknown.h"

#include <QString>

class QWidget;

namespace VemoInterface {

// Docked report views in the host's log area.
class HxiMainLogviewEx : public HxiUnknown
{
public:
    // slot 3: dock `view` under `title`; returns a handle, 0 when refused
    virtual int createReportView(const QString &title, QWidget *view) = 0;
    // slot 4: give the docked view a new title
    virtual void updateReportView(int handle, const QString &title) = 0;
    // slot 5: undock and forget the view
    virtual void closeReportView(int handle) = 0;

protected:
    ~HxiMainLogviewEx() = default;
};

} // namespace VemoInterface
