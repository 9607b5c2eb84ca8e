#pragma once

#include <QEvent>
#include <QString>

// Posted by the host to subscribers when a project application is renamed.
class HxApplicationRenameEvent : public QEvent
{
public:
    static constexpr int EventType = 1011;

    HxApplicationRenameEvent(const QString &oldName, const QString &newName)
        : QEvent(QEvent::Type(EventType)), oldName(oldName), newName(newName)
    {
    }

    const QString oldName;
    const QString newName;
};
