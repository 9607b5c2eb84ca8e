#pragma once

#include <QList>
#include <QString>

class QAction;
class QObject;

// The fifteen actions the sequencer offers the host's menus and tool bars,
// with the ids the host asks for them by.
class SequencerActions
{
public:
    struct Entry
    {
        QString id;
        QAction *action;
        bool developerOnly;
    };

    SequencerActions();
    ~SequencerActions();
    SequencerActions(const SequencerActions &) = delete;
    SequencerActions &operator=(const SequencerActions &) = delete;

    // the action of `id` (exact), null for an unknown id
    QAction *find(const QString &id) const;
    bool isDeveloperOnly(const QString &id) const;
    const QList<Entry> &entries() const { return actions; }

private:
    void add(const QString &id, const QString &objectName, const QString &menuText,
             const QString &icon, bool developerOnly);

    QList<Entry> actions;
};
