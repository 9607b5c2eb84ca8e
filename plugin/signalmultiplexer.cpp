#include "signalmultiplexer.h"

SignalMultiplexer::SignalMultiplexer(QObject *parent) : QObject(parent)
{
}

void SignalMultiplexer::connect(QObject *sender, const char *signal, const char *slot)
{
    const Registration registration{sender, signal, slot};
    registrations.append(registration);
    attach(registration);
}

void SignalMultiplexer::setCurrentObject(QWidget *object)
{
    if (object == current)
        return;
    for (const Registration &registration : std::as_const(registrations))
        detach(registration);
    current = object;
    for (const Registration &registration : std::as_const(registrations))
        attach(registration);
}

bool SignalMultiplexer::currentHasSlot(const Registration &registration) const
{
    if (!registration.sender || !current)
        return false;
    // Other views (reports, history) lack the run slots; they simply get no
    // connection rather than a warning per view change. The SLOT() text
    // carries a one-character code before the signature.
    const QByteArray normalized =
        QMetaObject::normalizedSignature(registration.slot.constData() + 1);
    return current->metaObject()->indexOfSlot(normalized.constData()) >= 0;
}

void SignalMultiplexer::attach(const Registration &registration)
{
    if (!currentHasSlot(registration))
        return;
    QObject::connect(registration.sender, registration.signal.constData(), current,
                     registration.slot.constData());
}

void SignalMultiplexer::detach(const Registration &registration)
{
    if (!currentHasSlot(registration))
        return;
    QObject::disconnect(registration.sender, registration.signal.constData(), current,
                        registration.slot.constData());
}
