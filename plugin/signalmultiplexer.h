#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Keeps a set of connections pointed at whichever window is current: the run
// actions are registered once and always reach the active sequencer window.
class SignalMultiplexer : public QObject
{
    Q_OBJECT

public:
    explicit SignalMultiplexer(QObject *parent = nullptr);

    // `signal` and `slot` are SIGNAL()/SLOT() signatures; the slot is looked
    // up on the current object whenever it changes.
    void connect(QObject *sender, const char *signal, const char *slot);

    QWidget *currentObject() const { return current; }

public Q_SLOTS:
    void setCurrentObject(QWidget *object);

private:
    struct Registration
    {
        QPointer<QObject> sender;
        QByteArray signal;
        QByteArray slot;
    };

    bool currentHasSlot(const Registration &registration) const;
    void attach(const Registration &registration);
    void detach(const Registration &registration);

    QList<Registration> registrations;
    QPointer<QWidget> current;
};
