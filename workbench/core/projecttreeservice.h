#pragma once

#include "hximainprojectex.h"
#include "serviceobject.h"

#include <QList>
#include <functional>
#include <QStringList>

// "HxiMainProjectEx": the project tree of the reference host, kept as a
// flat list of entries with their parent paths, and the registered types.
class ProjectTreeService final : public ServiceObject<VemoInterface::HxiMainProjectEx>
{
public:
    struct Entry
    {
        VemoInterface::HxiTreeHandle handle;
        QStringList parentPath;
        QString objectType;
        QString text;
        QString kind;
        QString pixmap;
        QString defaultActionId;
        QString moduleName;
    };
    struct MenuEntry
    {
        VemoInterface::HxiTreeHandle handle;
        QString kind;
        QString text;
        QString actionId;
        QString moduleName;
    };
    struct Outcome
    {
        QString application;
        QString type;
        int hostStatusId;
        QString message;
        bool infrastructure;
    };

    ProjectTreeService() : ServiceObject(QStringLiteral("HxiMainProjectEx")) {}

    VemoInterface::HxiTreeHandle selectedEntry(const QString &kind) override;
    VemoInterface::HxiTreeHandle addTreeEntry(const QStringList &parentPath,
                                              const QString &objectType, const QString &text,
                                              const QString &kind, const QString &pixmap,
                                              const QString &defaultActionId,
                                              const QString &moduleName) override;
    VemoInterface::HxiTreeHandle addContextMenuEntry(const QString &kind, const QString &text,
                                                     const QString &actionId,
                                                     const QString &moduleName) override;
    void removeTreeEntry(VemoInterface::HxiTreeHandle handle, bool withChildren) override;
    bool registerObjectType(const QString &objectType, const QString &pixmap,
                            const QStringList &columns) override;
    QList<VemoInterface::HxiTreeHandle> selectedEntries(const QString &kind) override;
    void reportApplicationOutcome(const QString &application, const QString &type,
                                  int hostStatusId, const QString &message,
                                  bool infrastructure) override;

    void select(const QList<VemoInterface::HxiTreeHandle> &handles) { selection = handles; }
    // Called after every change of the entries, so a window can show them.
    void setChangeListener(std::function<void()> listener) { changed = std::move(listener); }
    void clear();
    const QList<Entry> &entries() const { return treeEntries; }
    const QList<MenuEntry> &menuEntries() const { return menus; }
    const QStringList &objectTypes() const { return registeredTypes; }
    const QList<Outcome> &outcomes() const { return reportedOutcomes; }

private:
    void notifyChange();
    const Entry *find(VemoInterface::HxiTreeHandle handle) const;

    VemoInterface::HxiTreeHandle nextHandle = 1;
    QList<Entry> treeEntries;
    QList<MenuEntry> menus;
    QList<VemoInterface::HxiTreeHandle> selection;
    QStringList registeredTypes;
    QList<Outcome> reportedOutcomes;
    std::function<void()> changed;
};
