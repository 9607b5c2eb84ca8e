#include "orvsequencerpifactory.h"

#include "orvsequencerpi.h"

#include <new>

using namespace VemoInterface;

HxiResult ORVSequencerPIFactory::queryInterface(const QString &, void **)
{
    return HxiNotAvailable;
}

HxiResult ORVSequencerPIFactory::createInstance(const QString &name, void **result)
{
    if (!result)
        return HxiNotAvailable;
    *result = nullptr;
    if (!instance) {
        instance = new (std::nothrow) ORVSequencerPI(hostLink ? hostLink() : HostLink());
        if (!instance)
            return HxiCreateFailed;
    }
    // Hold the object while asking, so that a failed query cannot free it;
    // the caller keeps exactly the reference the query added.
    ORVSequencerPI *object = instance;
    object->addRef();
    const HxiResult queried = object->queryInterface(name, result);
    object->release();
    return queried;
}
