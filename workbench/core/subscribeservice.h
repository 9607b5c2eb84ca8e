#pragma once

#include "hxisubscribe.h"
#include "serviceobject.h"

#include <QList>
#include <QPointer>

// "HxiSubscribe": posts host events to the objects that asked for them.
class SubscribeService final : public ServiceObject<VemoInterface::HxiSubscribe>
{
public:
    SubscribeService() : ServiceObject(QStringLiteral("HxiSubscribe")) {}

    void publish(int eventType, void *payload) override;
    void subscribe(QObject *receiver, int eventType) override;
    int subscriberCount(int eventType) override;
    bool isSubscribed(QObject *receiver, int eventType) override;
    void unsubscribe(QObject *receiver) override;

    // Tell subscribers that a project application got a new name.
    void applicationRenamed(const QString &oldName, const QString &newName);

private:
    struct Subscription
    {
        QPointer<QObject> receiver;
        int eventType;
    };
    QList<Subscription> subscriptions;
};
