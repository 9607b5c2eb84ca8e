#pragma once

#include "hxiunknown.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace VemoInterface {

using HxiTreeHandle = qint64;   // 0 is "no entry"

// The host's project tree and project-level bookkeeping.
class HxiMainProjectEx : public HxiUnknown
{
public:
    // slot 11: the selected tree entry of `kind`, 0 when none is selected
    virtual HxiTreeHandle selectedEntry(const QString &kind) = 0;
    // slot 12: add a tree entry below `parentPath`; returns its handle (0 when refused)
    virtual HxiTreeHandle addTreeEntry(const QStringList &parentPath, const QString &objectType,
                                       const QString &text, const QString &kind,
                                       const QString &pixmap, const QString &defaultActionId,
                                       const QString &moduleName) = 0;
    // slot 13: add a context-menu entry to every tree entry of `kind`
    virtual HxiTreeHandle addContextMenuEntry(const QString &kind, const QString &text,
                                              const QString &actionId,
                                              const QString &moduleName) = 0;
    // slot 15: remove a tree entry; `withChildren` removes what lies below it too
    virtual void removeTreeEntry(HxiTreeHandle handle, bool withChildren) = 0;
    // slot 17: register a project object type with its icon and tree columns
    virtual bool registerObjectType(const QString &objectType, const QString &pixmap,
                                    const QStringList &columns) = 0;
    // slot 26: every selected tree entry of `kind`
    virtual QList<HxiTreeHandle> selectedEntries(const QString &kind) = 0;
    // slot 27: record the outcome of an application run in the project
    virtual void reportApplicationOutcome(const QString &application, const QString &type,
                                          int hostStatusId, const QString &message,
                                          bool infrastructure) = 0;

protected:
    ~HxiMainProjectEx() = default;
};

} // namespace VemoInterface
