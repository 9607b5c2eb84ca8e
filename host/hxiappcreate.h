#pragma once

#include "hxiunknown.h"

#include <QMap>
#include <QString>

namespace VemoInterface {

// Creates project applications on behalf of a plug-in (used when old
// sequence files are converted).
class HxiAppCreate : public HxiUnknown
{
public:
    // slot 3: create an application of the type behind `pluginId`, named
    // after `name`, with `parameters`. On success `createdName` and
    // `createdType` tell what the project now holds.
    virtual bool createApplication(const QString &pluginId, const QString &name,
                                   const QMap<QString, QString> &parameters,
                                   QString &createdName, QString &createdType) = 0;

protected:
    ~HxiAppCreate() = default;
};

} // namespace VemoInterface
