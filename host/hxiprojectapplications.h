#pragma once

#include "hxapplication.h"
#include "hxiunknown.h"

#include <optional>

namespace VemoInterface {

// The applications of the open project, handed out by HxiDatabase.
class HxiProjectApplications : public HxiUnknown
{
public:
    // slot 3: the names of all applications, in project order
    virtual QStringList applicationNames() = 0;
    // slot 11: the application called `name`; empty when the project has none
    virtual std::optional<VemoDatabase::HxApplication> application(const QString &name) = 0;

protected:
    ~HxiProjectApplications() = default;
};

} // namespace VemoInterface
