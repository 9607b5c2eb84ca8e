#pragma once

#include "hxiunknown.h"

#include <QString>

// The plug-in's line to its host: the creation procedure and module manager
// the host installed. A link without a procedure answers every request with
// "not available", which every caller treats as the quiet fallback.
class HostLink
{
public:
    HostLink() = default;
    HostLink(VemoInterface::CreateProc createProc, void *moduleManager);

    bool isInstalled() const { return createProc != nullptr; }

    VemoInterface::HxiResult create(const QString &interfaceName, void **result,
                                    const QString &providerName = QString()) const;

    // A value of the host's main object ("UserPrivilege", "StartupPath", ...);
    // empty when the host has no main object or no such value.
    QString mainValue(const QString &key) const;

private:
    VemoInterface::CreateProc createProc = nullptr;
    void *moduleManager = nullptr;
};
