#include "sequenceractions.h"

#include <QAction>
#include <QIcon>

SequencerActions::SequencerActions()
{
    add(QStringLiteral("NewSequence"), QStringLiteral("New Sequence"),
        QObject::tr("&New Sequence"), QStringLiteral("ORVSequencerIcon.png"), true);
    add(QStringLiteral("ImportSQC"), QStringLiteral("New Sequence (From SQC)"),
        QObject::tr("New Sequence (From SQC)"), QStringLiteral("ORVSequencerImportSQC.png"), true);
    add(QStringLiteral("OpenSequence"), QStringLiteral("Open Sequence"),
        QObject::tr("&Open Sequence"), QStringLiteral("ORVSequencerIcon.png"), false);
    add(QStringLiteral("DeleteSequence"), QStringLiteral("Delete Sequence(s)"),
        QObject::tr("&Delete Sequence(s)"), QStringLiteral("DeleteSequence.png"), true);
    add(QStringLiteral("RenameSequence"), QStringLiteral("Rename Sequence"),
        QObject::tr("&Rename Sequence"), QStringLiteral("ORVSequencerRename.png"), true);
    add(QStringLiteral("StartSequence"), QStringLiteral("Start Sequence"),
        QObject::tr("&Start Sequence"), QStringLiteral("ORVSequencerStart.png"), false);
    add(QStringLiteral("StopSequence"), QStringLiteral("Stop Sequence"),
        QObject::tr("S&top Sequence"), QStringLiteral("ORVSequencerStop.png"), false);
    add(QStringLiteral("ContinueSequence"), QStringLiteral("Continue Sequence"),
        QObject::tr("&Continue Sequence"), QStringLiteral("ORVSequencerContinue.png"), false);
    add(QStringLiteral("CancelSequence"), QStringLiteral("Cancel Sequence"),
        QObject::tr("C&ancel Sequence"), QStringLiteral("ORVSequencerCancel.png"), false);
    add(QStringLiteral("OpenSequenceReport"), QStringLiteral("Open Sequence Report"),
        QObject::tr("&Open Sequence Report"), QStringLiteral("ORVSequencerReport.png"), false);
    add(QStringLiteral("OpenSequenceHistory"), QStringLiteral("View Sequence Report"),
        QObject::tr("&View Sequence Report"), QStringLiteral("ORVSequencerHistory.png"), false);
    add(QStringLiteral("DeleteSequenceHistory"), QStringLiteral("Delete Sequence Report(s)"),
        QObject::tr("&Delete Sequence Report(s)"), QStringLiteral("DeleteSequence.png"), false);
    add(QStringLiteral("ImportSequenceData"), QStringLiteral("Import Sequence List"),
        QObject::tr("&Import Sequence List"), QStringLiteral("ORVSequencerImport.png"), true);
    add(QStringLiteral("ExportSequenceData"), QStringLiteral("Export Sequence List"),
        QObject::tr("&Export Sequence List"), QStringLiteral("ORVSequencerExport.png"), true);
    add(QStringLiteral("SequenceProperties"), QStringLiteral("Sequence Properties"),
        QObject::tr("Sequence &Properties"), QStringLiteral("ORVSequencerProperties.png"), true);
}

SequencerActions::~SequencerActions()
{
    for (const Entry &entry : std::as_const(actions))
        delete entry.action;
}

QAction *SequencerActions::find(const QString &id) const
{
    for (const Entry &entry : actions) {
        if (entry.id == id)
            return entry.action;
    }
    return nullptr;
}

bool SequencerActions::isDeveloperOnly(const QString &id) const
{
    for (const Entry &entry : actions) {
        if (entry.id == id)
            return entry.developerOnly;
    }
    return false;
}

void SequencerActions::add(const QString &id, const QString &objectName, const QString &menuText,
                           const QString &icon, bool developerOnly)
{
    auto *action = new QAction(menuText, nullptr);
    action->setObjectName(objectName);
    action->setIcon(QIcon(QStringLiteral(":/images/") + icon));
    action->setCheckable(false);
    actions.append({id, action, developerOnly});
}
