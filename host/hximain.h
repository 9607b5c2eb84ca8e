#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

// The host's main object: named values such as "UserPrivilege",
// "UserLogin", "StartupPath", "SaveAsFromArchiver", "LoadFromArchiver".
class HxiMain : public HxiUnknown
{
public:
    // slot 3: the value stored under `key`; empty when the host has none
    virtual QString value(const QString &key) = 0;

protected:
    ~HxiMain() = default;
};

} // namespace VemoInterface
