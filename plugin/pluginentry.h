#pragma once

#include "hostlink.h"
#include "hxiclassfactory.h"
#include "hxiexport.h"

// The entry points a host finds in the library by name.
extern "C" {
HXI_EXPORT extern VemoInterface::CreateProc __CreateProc__;
HXI_EXPORT extern void *__ModuleMngr__;
HXI_EXPORT void *__HxiInstallCreateHook__(void *moduleManager,
                                          VemoInterface::CreateProc createProc);
HXI_EXPORT VemoInterface::HxiClassFactory *getFactory();
}

// The host link as the host installed it (an empty link before that).
HostLink installedHostLink();
