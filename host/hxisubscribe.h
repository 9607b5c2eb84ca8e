#pragma once

#include "hxiunknown.h"

class QObject;

namespace VemoInterface {

// Host events posted to plug-in objects as custom events.
class HxiSubscribe : public HxiUnknown
{
public:
    // slot 3: post `eventType` to every subscriber (the host's own use)
    virtual void publish(int eventType, void *payload) = 0;
    // slot 4: have events of `eventType` posted to `receiver`
    virtual void subscribe(QObject *receiver, int eventType) = 0;
    // slots 5 and 6 are the host's own
    virtual int subscriberCount(int eventType) = 0;
    virtual bool isSubscribed(QObject *receiver, int eventType) = 0;
    // slot 7: stop posting any event to `receiver`
    virtual void unsubscribe(QObject *receiver) = 0;

protected:
    ~HxiSubscribe() = default;
};

} // namespace VemoInterface
