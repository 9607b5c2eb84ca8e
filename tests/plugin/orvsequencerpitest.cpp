#include "hostproject.h"
#include "hxapplicationrenameevent.h"
#include "hxsequence.h"
#include "logviewservice.h"
#include "mainviewservice.h"
#include "orvsequencerpi.h"
#include "projecttreeservice.h"
#include "qstringprinter.h"
#include "sampleprojecthost.h"
#include "subscribeservice.h"
#include "workbenchhost.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFileInfo>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Stands in for a sequencer window: the run slots the actions reach.
class RunSlots : public QWidget
{
    Q_OBJECT

public:
    QStringList calls;

public Q_SLOTS:
    void slotStartSequence() { calls.append(QStringLiteral("start")); }
    void slotStopSequence() { calls.append(QStringLiteral("stop")); }
    void slotContinueSequence() { calls.append(QStringLiteral("continue")); }
    void slotCancelSequence() { calls.append(QStringLiteral("cancel")); }
};

const char *const DeveloperOnly[] = {"NewSequence",        "ImportSQC",          "DeleteSequence",
                                     "RenameSequence",     "ImportSequenceData", "ExportSequenceData",
                                     "SequenceProperties"};
const char *const ForEveryone[] = {"OpenSequence",        "StartSequence",        "StopSequence",
                                   "ContinueSequence",    "CancelSequence",       "OpenSequenceReport",
                                   "OpenSequenceHistory", "DeleteSequenceHistory"};

HxSequence *sequenceWithSteps(const QString &title, const QList<QPair<int, QString>> &steps)
{
    auto *sequence = new HxSequence(title, QString());
    for (const auto &[kind, item] : steps) {
        auto step = std::make_shared<HxSequenceItem>();
        step->itemType = kind;
        step->columnItem = item;
        sequence->appendItem(step);
    }
    return sequence;
}

// The plug-in object on a host of its own.
class PluginObjectTest : public ::testing::Test
{
protected:
    WorkbenchHost host;
    ORVSequencerPI plugin{host.link()};
};

} // namespace

TEST_F(PluginObjectTest, ActionsFollowTheUsersPrivilege)
{
    for (const char *privilege : {"", "Developer", "Engineer", "Technician", "Operator", "Guest"}) {
        SCOPED_TRACE(privilege);
        host.setValue(QStringLiteral("UserPrivilege"), QString::fromUtf8(privilege));
        const bool developer = QByteArray(privilege).isEmpty() || QByteArray(privilege) == "Developer";
        for (const char *id : DeveloperOnly)
            EXPECT_EQ(plugin.action(QLatin1String(id)) != nullptr, developer) << id;
        for (const char *id : ForEveryone)
            EXPECT_NE(plugin.action(QLatin1String(id)), nullptr) << id;
    }
    EXPECT_EQ(plugin.action(QStringLiteral("startsequence")), nullptr);
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(PluginObjectTest, RunActionsReachOnlyTheActiveWindow)
{
    RunSlots first;
    RunSlots second;
    QWidget reportView;   // a view without run slots

    host.mainView().activate(&first);
    plugin.action(QStringLiteral("StartSequence"))->trigger();
    host.mainView().activate(&second);
    plugin.action(QStringLiteral("StopSequence"))->trigger();
    plugin.action(QStringLiteral("CancelSequence"))->trigger();
    host.mainView().activate(&reportView);
    plugin.action(QStringLiteral("ContinueSequence"))->trigger();
    host.mainView().activate(&first);
    plugin.action(QStringLiteral("ContinueSequence"))->trigger();

    EXPECT_EQ(first.calls, QStringList({QStringLiteral("start"), QStringLiteral("continue")}));
    EXPECT_EQ(second.calls, QStringList({QStringLiteral("stop"), QStringLiteral("cancel")}));
}

TEST_F(PluginObjectTest, AnApplicationRenameReachesOnlyItsApplicationSteps)
{
    HostProject project;
    host.setProject(&project);
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("plugin"));
    plugin.load(root);   // a project load subscribes to renames
    EXPECT_EQ(host.subscriptions().subscriberCount(HxApplicationRenameEvent::EventType), 1);

    plugin.sequences().append(sequenceWithSteps(
        QStringLiteral("A"), {{int(ItemType::Application), QStringLiteral("Chain")},
                              {int(ItemType::Command), QStringLiteral("Chain")},
                              {int(ItemType::Operation), QStringLiteral("Chain")},
                              {int(ItemType::Application), QStringLiteral("Chains")}}));
    plugin.sequences().append(
        sequenceWithSteps(QStringLiteral("B"), {{int(ItemType::Application), QStringLiteral("Chain")}}));

    host.subscriptions().applicationRenamed(QStringLiteral("Chain"), QStringLiteral("Link"));
    host.subscriptions().applicationRenamed(QStringLiteral("Nothing"), QStringLiteral("Else"));
    QCoreApplication::sendPostedEvents(&plugin);

    QStringList items;
    for (const HxSequenceItemPtr &step : plugin.sequences().find(QStringLiteral("A"))->items())
        items.append(step->columnItem);
    EXPECT_EQ(items, QStringList({"Link", "Chain", "Chain", "Chains"}));
    EXPECT_EQ(plugin.sequences().find(QStringLiteral("B"))->items().at(0)->columnItem,
              QStringLiteral("Link"));

    // an event of another type is ignored
    QEvent other(QEvent::Type(1012));
    QCoreApplication::sendEvent(&plugin, &other);
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(PluginObjectTest, ProjectCloseForgetsEverything)
{
    plugin.sequences().append(sequenceWithSteps(QStringLiteral("A"), {}));
    plugin.sequences().append(sequenceWithSteps(QStringLiteral("B"), {}));
    plugin.buildTree(QString());

    EXPECT_TRUE(plugin.removeObject(QStringLiteral("ORV"), QStringLiteral("A")));
    EXPECT_EQ(plugin.sequences().titles(), QStringList{QStringLiteral("B")});
    // no record of the removed sequence is left to show up again
    EXPECT_EQ(plugin.projectTree().findSequence(QStringLiteral("A")), nullptr);
    for (const ProjectTreeEntries::Entry &entry : plugin.projectTree().entries())
        EXPECT_FALSE(entry.parentPath.contains(QStringLiteral("A")));
    EXPECT_FALSE(plugin.removeObject(QStringLiteral("Other"), QStringLiteral("B")));
    EXPECT_EQ(plugin.sequences().count(), 1);
    EXPECT_FALSE(plugin.removeObject(QStringLiteral("ClearAll"), QString()));
    EXPECT_TRUE(plugin.sequences().isEmpty());
}

TEST_F(PluginObjectTest, LogLinesCarryTimeAndColour)
{
    plugin.logMessage(QStringLiteral("ORV Sequencer 'A' - Load Sequence started..."));
    plugin.logWarning(QStringLiteral("careful"));
    plugin.message(QStringLiteral("from a window"));

    const QStringList output = host.logview().lines(QStringLiteral("Output"));
    ASSERT_EQ(output.size(), 2);
    // the time of day is the only part that may differ
    EXPECT_EQ(QStringList(output).replaceInStrings(QRegularExpression(QStringLiteral(">\\d\\d:\\d\\d:\\d\\d: ")),
                                                   QStringLiteral(">hh:mm:ss: ")),
              QStringList({"<font color=\"#000000\">hh:mm:ss: ORV Sequencer 'A' - Load Sequence started...</font>",
                           "<font color=\"#AFAF00\">hh:mm:ss: <b>careful</b></font><font color=\"#000000\"></font>"}));
    EXPECT_EQ(host.logview().lines(QStringLiteral("ORV Sequencer")),
              QStringList{QStringLiteral("from a window")});

    // Without a host nothing is written and nothing breaks.
    ORVSequencerPI alone{HostLink()};
    alone.logMessage(QStringLiteral("lost"));
    EXPECT_TRUE(alone.isDeveloper());
}

TEST_F(PluginObjectTest, RegistersAndCastByNameGivesTheInterfacePointers)
{
    EXPECT_EQ(host.projectTree().objectTypes(), QStringList{QStringLiteral("ORV")});
    EXPECT_EQ(plugin.referenceCount(), 1);
    void *actions = nullptr;
    ASSERT_EQ(plugin.queryInterface(QStringLiteral("HxiActions"), &actions), VemoInterface::HxiOk);
    EXPECT_EQ(plugin.referenceCount(), 2);
    EXPECT_EQ(plugin.castByName("HxiActions"), actions);
    EXPECT_EQ(plugin.castByName("ORVSequencerPI"), &plugin);
    EXPECT_EQ(plugin.castByName("QObject"), static_cast<QObject *>(&plugin));
    EXPECT_EQ(plugin.castByName("HxiUnknown"), nullptr);
    EXPECT_EQ(plugin.referenceCount(), 2);   // casting takes no reference
    plugin.release();
}

TEST(ORVSequencerPITest, ArchiveListsTheLegacyCopiesAndImageFiles)
{
    SampleProjectHost sample;
    const HostProject &project = sample.project;
    sample.project.application(QStringLiteral("Flash"))->folder = QStringLiteral("apps");
    ORVSequencerPI plugin(sample.link());
    EXPECT_TRUE(plugin.archiveItems().isEmpty());
    HxSequence *sequence = sequenceWithSteps(QStringLiteral("Board"),
                                             {{int(ItemType::Application), QStringLiteral("Flash")},
                                              {int(ItemType::Application), QStringLiteral("Missing")}});
    sequence->items().at(0)->parameters.insert(QStringLiteral("ImageLoadFileName"), QStringLiteral("u12.bin"));
    sequence->items().at(1)->parameters.insert(QStringLiteral("ImageLoadFileName"), QStringLiteral("u13.bin"));
    plugin.sequences().append(sequence);

    const HxArchiveItemList items = plugin.archiveItems();
    ASSERT_EQ(items.size(), 3);
    const QString base = project.directory() + QStringLiteral("/Sequences/Board/Board");
    EXPECT_EQ(items.at(0).path, base + QStringLiteral(".sqc"));
    EXPECT_EQ(items.at(1).path, base + QStringLiteral(".sqm"));
    EXPECT_EQ(items.at(0).kind, 1);
    EXPECT_EQ(items.at(1).flags, 17);
    EXPECT_EQ(items.at(2).path, project.directory() + QStringLiteral("/apps/u12.bin"));
    EXPECT_EQ(items.at(2).kind, 1000);
    EXPECT_EQ(items.at(2).flags, 5);
    EXPECT_TRUE(QFileInfo::exists(base + QStringLiteral(".sqc")));
    EXPECT_TRUE(sample.prompt.asked.isEmpty());
    EXPECT_EQ(sample.host.outstandingReferences(), 0);
}

#include "orvsequencerpitest.moc"
