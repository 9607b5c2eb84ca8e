#pragma once

#include <QtGlobal>

class QString;

namespace VemoInterface {

// Result of every call across the host boundary; 0 is success.
enum HxiResult : qint32 {
    HxiOk = 0,
    HxiNotAvailable = 1,   // unknown interface name, or no host installed
    HxiCreateFailed = 2,   // the object behind the interface could not be made
};

// Base of every interface exchanged with the host. Operations keep their
// slot order: addRef (0), release (1), queryInterface (2); the operations of
// a derived interface start at slot 3.
class HxiUnknown
{
public:
    virtual void addRef() = 0;
    virtual void release() = 0;
    virtual HxiResult queryInterface(const QString &name, void **result) = 0;

protected:
    ~HxiUnknown() = default;
};

// The host's creation procedure: hands out a counted reference to the
// interface `interfaceName` of `providerName` (empty for the host itself).
using CreateProc = HxiResult (*)(void *moduleManager, const QString &interfaceName, void **result,
                                 const QString &providerName);

} // namespace VemoInterface
