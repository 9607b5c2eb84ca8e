#pragma once

#include "hostlink.h"
#include "hximainprojectex.h"

#include <QList>
#include <QStringList>

class HxReportList;
class HxSequenceList;

// The sequencer's entries in the host's project tree ("ORV Sequences", the
// sequences, their report histories) and the context-menu entries it added,
// as far as the plug-in has to remember them.
class ProjectTreeEntries
{
public:
    struct Entry
    {
        VemoInterface::HxiTreeHandle handle;
        QStringList parentPath;
        QString text;
        QString kind;
    };

    static inline const QString FolderText = QStringLiteral("ORV Sequences");
    static inline const QString HistoryFolderText = QStringLiteral("Sequence Report History");

    // Enters the folders, every sequence with its history entries whose
    // report file exists, and the context menus. `developer` decides which
    // menu entries the user gets.
    void build(const HostLink &link, const HxSequenceList &sequences, const HxReportList &reports,
               const QString &projectFolder, bool developer);
    // The "Sequence" and "SequenceHistoryFolder" entries of a new sequence.
    void addSequence(VemoInterface::HxiMainProjectEx *tree, const QString &title);
    // The history entry of a report just written.
    void addHistoryEntry(VemoInterface::HxiMainProjectEx *tree, const QString &sequenceTitle,
                         const QString &reportTitle);
    void clear();
    // Forgets the entry and every entry below it, and takes them out of the
    // host's tree.
    void remove(VemoInterface::HxiMainProjectEx *tree, VemoInterface::HxiTreeHandle handle);
    // Forgets the entry of a sequence and every entry whose path goes
    // through it, without touching the host's tree.
    void forgetSequence(const QString &title);
    // the "Sequence" entry of `title`; null when there is none
    const Entry *findSequence(const QString &title) const;

    const Entry *find(VemoInterface::HxiTreeHandle handle) const;
    const QList<Entry> &entries() const { return records; }
    const QList<VemoInterface::HxiTreeHandle> &menuEntries() const { return menus; }

private:
    void add(VemoInterface::HxiMainProjectEx *tree, const QStringList &parentPath,
             const QString &text, const QString &kind, const QString &pixmap,
             const QString &defaultAction);

    QList<Entry> records;
    QList<VemoInterface::HxiTreeHandle> menus;
};
