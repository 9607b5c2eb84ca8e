#include "projecttreeservice.h"

using VemoInterface::HxiTreeHandle;

const ProjectTreeService::Entry *ProjectTreeService::find(HxiTreeHandle handle) const
{
    for (const Entry &entry : treeEntries) {
        if (entry.handle == handle)
            return &entry;
    }
    return nullptr;
}

HxiTreeHandle ProjectTreeService::selectedEntry(const QString &kind)
{
    const QList<HxiTreeHandle> selected = selectedEntries(kind);
    return selected.isEmpty() ? 0 : selected.first();
}

QList<HxiTreeHandle> ProjectTreeService::selectedEntries(const QString &kind)
{
    QList<HxiTreeHandle> result;
    for (HxiTreeHandle handle : std::as_const(selection)) {
        const Entry *entry = find(handle);
        if (entry && entry->kind == kind)
            result.append(handle);
    }
    return result;
}

HxiTreeHandle ProjectTreeService::addTreeEntry(const QStringList &parentPath,
                                               const QString &objectType, const QString &text,
                                               const QString &kind, const QString &pixmap,
                                               const QString &defaultActionId,
                                               const QString &moduleName)
{
    const HxiTreeHandle handle = nextHandle++;
    treeEntries.append(
        {handle, parentPath, objectType, text, kind, pixmap, defaultActionId, moduleName});
    notifyChange();
    return handle;
}

HxiTreeHandle ProjectTreeService::addContextMenuEntry(const QString &kind, const QString &text,
                                                      const QString &actionId,
                                                      const QString &moduleName)
{
    const HxiTreeHandle handle = nextHandle++;
    menus.append({handle, kind, text, actionId, moduleName});
    return handle;
}

void ProjectTreeService::removeTreeEntry(HxiTreeHandle handle, bool withChildren)
{
    const Entry *entry = find(handle);
    if (!entry)
        return;
    const QStringList path = entry->parentPath + QStringList{entry->text};
    treeEntries.removeIf([&](const Entry &candidate) {
        if (candidate.handle == handle)
            return true;
        return withChildren && candidate.parentPath.mid(0, path.size()) == path;
    });
    selection.removeAll(handle);
    notifyChange();
}

bool ProjectTreeService::registerObjectType(const QString &objectType, const QString &,
                                            const QStringList &)
{
    if (!registeredTypes.contains(objectType))
        registeredTypes.append(objectType);
    return true;
}

void ProjectTreeService::reportApplicationOutcome(const QString &application, const QString &type,
                                                  int hostStatusId, const QString &message,
                                                  bool infrastructure)
{
    reportedOutcomes.append({application, type, hostStatusId, message, infrastructure});
}

void ProjectTreeService::clear()
{
    treeEntries.clear();
    menus.clear();
    selection.clear();
    notifyChange();
}

void ProjectTreeService::notifyChange()
{
    if (changed)
        changed();
}
