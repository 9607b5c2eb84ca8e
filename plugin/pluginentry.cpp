#include "pluginentry.h"

#include "orvsequencerpifactory.h"

#include <new>

extern "C" {

VemoInterface::CreateProc __CreateProc__ = nullptr;
void *__ModuleMngr__ = nullptr;

void *__HxiInstallCreateHook__(void *moduleManager, VemoInterface::CreateProc createProc)
{
    __CreateProc__ = createProc;
    __ModuleMngr__ = moduleManager;
    return moduleManager;
}

VemoInterface::HxiClassFactory *getFactory()
{
    return new (std::nothrow) ORVSequencerPIFactory(&installedHostLink);
}
}

HostLink installedHostLink()
{
    return HostLink(__CreateProc__, __ModuleMngr__);
}
