#pragma once

#include "hxiunknown.h"

#include <QString>

// A host service handed to the plug-in by name. Services live as long as
// the host; the count only tracks the references the plug-in holds, so a
// test can see that every reference was given back.
template<class Interface>
class ServiceObject : public Interface
{
public:
    explicit ServiceObject(const QString &serviceName) : serviceName(serviceName) {}
    virtual ~ServiceObject() = default;

    void addRef() override { ++references; }
    void release() override
    {
        if (references > 0)
            --references;
    }
    VemoInterface::HxiResult queryInterface(const QString &name, void **result) override
    {
        if (!result || name != serviceName)
            return VemoInterface::HxiNotAvailable;
        *result = static_cast<Interface *>(this);
        addRef();
        return VemoInterface::HxiOk;
    }

    int referenceCount() const { return references; }
    const QString serviceName;

private:
    int references = 0;
};
