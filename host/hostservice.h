#pragma once

#include "hostlink.h"

// One counted reference to a host service, released when it goes out of
// scope, so that no host pointer outlives the operation that asked for it.
template<class Interface>
class HostService
{
public:
    HostService(const HostLink &link, const QString &interfaceName,
                const QString &providerName = QString())
    {
        void *pointer = nullptr;
        if (link.create(interfaceName, &pointer, providerName) == VemoInterface::HxiOk)
            service = static_cast<Interface *>(pointer);
    }
    ~HostService()
    {
        if (service)
            service->release();
    }
    HostService(const HostService &) = delete;
    HostService &operator=(const HostService &) = delete;

    explicit operator bool() const { return service != nullptr; }
    Interface *operator->() const { return service; }
    Interface *get() const { return service; }

private:
    Interface *service = nullptr;
};
