#include "hostlink.h"

#include "hostservice.h"
#include "hximain.h"

using namespace VemoInterface;

HostLink::HostLink(CreateProc createProc, void *moduleManager)
    : createProc(createProc), moduleManager(moduleManager)
{
}

HxiResult HostLink::create(const QString &interfaceName, void **result,
                           const QString &providerName) const
{
    if (!createProc || !result)
        return HxiNotAvailable;
    return createProc(moduleManager, interfaceName, result, providerName);
}

QString HostLink::mainValue(const QString &key) const
{
    HostService<HxiMain> main(*this, QStringLiteral("HxiMain"));
    return main ? main->value(key) : QString();
}
