#pragma once

#include "hostlink.h"
#include "hxiclassfactory.h"

#include <QPointer>

class ORVSequencerPI;

// Hands out the interfaces of the one plug-in object, creating it on the
// first request. The factory itself is not reference counted.
class ORVSequencerPIFactory final : public VemoInterface::HxiClassFactory
{
public:
    // `hostLink` tells, at the moment the object is made, how to reach the
    // host (the library's installed hook).
    explicit ORVSequencerPIFactory(HostLink (*hostLink)()) : hostLink(hostLink) {}
    virtual ~ORVSequencerPIFactory() = default;

    void addRef() override {}
    void release() override {}
    VemoInterface::HxiResult queryInterface(const QString &name, void **result) override;
    VemoInterface::HxiResult createInstance(const QString &name, void **result) override;

    // Guarded: the object goes away when its last reference is released.
    QPointer<ORVSequencerPI> instance;

private:
    HostLink (*hostLink)();
};
