#include "projecttreeentries.h"

#include "hostservice.h"
#include "hxreport.h"
#include "hxreportlist.h"
#include "hxsequence.h"
#include "hxsequencelist.h"
#include "textboundary.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>

using namespace VemoInterface;

namespace {

const QString ObjectType = QStringLiteral("ORV");
const QString ModuleName = QStringLiteral("ORVSequencer");

} // namespace

void ProjectTreeEntries::add(HxiMainProjectEx *tree, const QStringList &parentPath,
                             const QString &text, const QString &kind, const QString &pixmap,
                             const QString &defaultAction)
{
    const HxiTreeHandle handle =
        tree->addTreeEntry(parentPath, ObjectType, text, kind, pixmap, defaultAction, ModuleName);
    records.append({handle, parentPath, text, kind});
}

void ProjectTreeEntries::addSequence(HxiMainProjectEx *tree, const QString &title)
{
    add(tree, {FolderText}, title, QStringLiteral("Sequence"),
        QStringLiteral("ORVSequencerIcon.png"), QString());
    add(tree, {FolderText, title}, HistoryFolderText, QStringLiteral("SequenceHistoryFolder"),
        QStringLiteral("ORVSequencerHistoryFolder.png"), QString());
}

void ProjectTreeEntries::addHistoryEntry(HxiMainProjectEx *tree, const QString &sequenceTitle,
                                         const QString &reportTitle)
{
    add(tree, {FolderText, sequenceTitle, HistoryFolderText}, reportTitle,
        QStringLiteral("SequenceHistory"), QStringLiteral("ORVSequencerHistory.png"),
        QStringLiteral("OpenSequenceHistory"));
}

void ProjectTreeEntries::build(const HostLink &link, const HxSequenceList &sequences,
                               const HxReportList &reports, const QString &projectFolder,
                               bool developer)
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    if (!tree)
        return;
    add(tree.get(), {}, QObject::tr("ORV Sequences"), QStringLiteral("SequenceFolder"),
        QStringLiteral("ORVSequencerFolderIcon.png"), QString());
    add(tree.get(), {}, QObject::tr("Sequence Report"), QStringLiteral("SequenceReport"),
        QStringLiteral("ORVSequencerReport.png"), QStringLiteral("OpenSequenceReport"));

    for (const HxSequence *sequence : sequences) {
        const QString title = sequence->title();
        addSequence(tree.get(), title);
        const QDir folder(QDir(projectFolder).filePath(QStringLiteral("Sequences/")
                                                   + TextBoundary::sequenceFolderName(title)));
        for (const HxReport *report : reports.reportsOf(title)) {
            if (!QFileInfo::exists(folder.filePath(report->fileName)))
                continue;
            addHistoryEntry(tree.get(), title, report->title);
        }
    }

    const struct
    {
        const char *kind;
        QString text;
        const char *action;
        bool developerOnly;
    } menuTable[] = {
        {"SequenceFolder", QObject::tr("New Sequence"), "NewSequence", true},
        {"SequenceFolder", QObject::tr("New Sequence (From SQC)"), "ImportSQC", true},
        {"SequenceReport", QObject::tr("Open"), "OpenSequenceReport", false},
        {"SequenceHistory", QObject::tr("View"), "OpenSequenceHistory", false},
        {"SequenceHistory", QObject::tr("Delete"), "DeleteSequenceHistory", false},
        {"Sequence", QObject::tr("Open Sequence"), "OpenSequence", false},
        {"Sequence", QObject::tr("Rename Sequence"), "RenameSequence", true},
        {"Sequence", QObject::tr("Delete"), "DeleteSequence", true},
        {"Sequence", QObject::tr("Sequence Properties"), "SequenceProperties", true},
        {"Sequence", QObject::tr("Import Sequence List"), "ImportSequenceData", true},
        {"Sequence", QObject::tr("Export Sequence List"), "ExportSequenceData", true},
    };
    for (const auto &entry : menuTable) {
        if (entry.developerOnly && !developer)
            continue;
        menus.append(tree->addContextMenuEntry(QLatin1String(entry.kind), entry.text,
                                               QLatin1String(entry.action), ModuleName));
    }
}

void ProjectTreeEntries::clear()
{
    records.clear();
    menus.clear();
}

const ProjectTreeEntries::Entry *ProjectTreeEntries::find(HxiTreeHandle handle) const
{
    for (const Entry &entry : records) {
        if (entry.handle == handle)
            return &entry;
    }
    return nullptr;
}

void ProjectTreeEntries::remove(HxiMainProjectEx *tree, HxiTreeHandle handle)
{
    const Entry *entry = find(handle);
    if (!entry)
        return;
    const QStringList path = entry->parentPath + QStringList{entry->text};
    if (tree)
        tree->removeTreeEntry(handle, true);
    records.removeIf([&](const Entry &candidate) {
        return candidate.handle == handle || candidate.parentPath.mid(0, path.size()) == path;
    });
}

void ProjectTreeEntries::forgetSequence(const QString &title)
{
    records.removeIf([&](const Entry &candidate) {
        const bool sequenceEntry = candidate.kind == QLatin1String("Sequence") && candidate.text == title
                                   && candidate.parentPath == QStringList{FolderText};
        return sequenceEntry
               || (candidate.parentPath.size() > 1 && candidate.parentPath.at(0) == FolderText
                   && candidate.parentPath.at(1) == title);
    });
}

const ProjectTreeEntries::Entry *ProjectTreeEntries::findSequence(const QString &title) const
{
    for (const Entry &entry : records) {
        if (entry.kind == QLatin1String("Sequence") && entry.text == title)
            return &entry;
    }
    return nullptr;
}
