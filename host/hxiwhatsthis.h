#pragma once

#include "hxiunknown.h"

#include <QString>

class QWidget;

namespace VemoInterface {

class HxiWhatsThis : public HxiUnknown
{
public:
    // slot 3: register the help topic of a dialog under `group`
    virtual void registerTopic(const QString &group, const QString &topic, QWidget *dialog) = 0;

protected:
    ~HxiWhatsThis() = default;
};

} // namespace VemoInterface
