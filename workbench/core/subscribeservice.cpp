#include "subscribeservice.h"

#include "hxapplicationrenameevent.h"

#include <QCoreApplication>

void SubscribeService::publish(int, void *)
{
    // Only events with a known payload are posted; see applicationRenamed.
}

void SubscribeService::subscribe(QObject *receiver, int eventType)
{
    if (receiver && !isSubscribed(receiver, eventType))
        subscriptions.append({receiver, eventType});
}

int SubscribeService::subscriberCount(int eventType)
{
    int count = 0;
    for (const Subscription &subscription : std::as_const(subscriptions)) {
        if (subscription.receiver && subscription.eventType == eventType)
            ++count;
    }
    return count;
}

bool SubscribeService::isSubscribed(QObject *receiver, int eventType)
{
    for (const Subscription &subscription : std::as_const(subscriptions)) {
        if (subscription.receiver == receiver && subscription.eventType == eventType)
            return true;
    }
    return false;
}

void SubscribeService::unsubscribe(QObject *receiver)
{
    subscriptions.removeIf([receiver](const Subscription &subscription) {
        return !subscription.receiver || subscription.receiver == receiver;
    });
}

void SubscribeService::applicationRenamed(const QString &oldName, const QString &newName)
{
    for (const Subscription &subscription : std::as_const(subscriptions)) {
        if (subscription.receiver && subscription.eventType == HxApplicationRenameEvent::EventType)
            QCoreApplication::postEvent(subscription.receiver,
                                        new HxApplicationRenameEvent(oldName, newName));
    }
}
