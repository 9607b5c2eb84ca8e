#include "hxsequence.h"
#include "hxsequencelist.h"

#include <QPointer>

#include <gtest/gtest.h>

namespace {

HxSequenceItemPtr applicationStep(const QString &application)
{
    auto item = std::make_shared<HxSequenceItem>();
    item->itemType = int(ItemType::Application);
    item->columnItem = application;
    return item;
}

} // namespace

// A new command fails on exit code 1 and passes on 0; a copy of a sequence
// shares its steps but not its own fields.
TEST(HxSequenceTest, DefaultsAndCopies)
{
    const HxSequenceItem item;
    EXPECT_EQ(item.command.failExitCode(), 1);
    EXPECT_EQ(item.command.passExitCode(), 0);

    HxSequence original(QStringLiteral("Board"), QString(), {applicationStep(QStringLiteral("Chain"))});
    EXPECT_EQ(original.executeMode(), int(ExecuteMode::NotSet));
    original.setRepeatCount(3);
    original.setUnitSerialNumber(QStringLiteral("SN0001"));

    HxSequence copy(original);
    EXPECT_EQ(copy.repeatCount(), 3);
    EXPECT_EQ(copy.unitSerialNumber(), QStringLiteral("SN0001"));
    copy.items().first()->columnItem = QStringLiteral("Renamed");
    EXPECT_EQ(original.items().first()->columnItem, QStringLiteral("Renamed"));
    copy.setTitle(QStringLiteral("Other"));
    EXPECT_EQ(original.title(), QStringLiteral("Board"));
}

TEST(HxSequenceListTest, LookupIsExactAndReplaceKeepsThePlace)
{
    HxSequenceList list;
    auto *first = new HxSequence(QStringLiteral("Sequence 1"), QString());
    auto *second = new HxSequence(QStringLiteral("Sequence 2"), QString());
    auto *duplicate = new HxSequence(QStringLiteral("Sequence 1"), QStringLiteral("later"));
    list.append(first);
    list.append(second);
    list.append(duplicate);

    EXPECT_EQ(list.find(QStringLiteral("Sequence 1")), first);
    EXPECT_EQ(list.find(QStringLiteral("sequence 1")), nullptr);

    auto *stranger = new HxSequence(QStringLiteral("Stranger"), QString());
    auto *replacement = new HxSequence(QStringLiteral("Renamed"), QString());
    EXPECT_FALSE(list.replace(stranger, replacement));
    EXPECT_EQ(list.titles(),
              QStringList({QStringLiteral("Sequence 1"), QStringLiteral("Sequence 2"),
                           QStringLiteral("Sequence 1")}));

    QPointer<HxSequence> replaced(second);
    EXPECT_TRUE(list.replace(second, replacement));
    EXPECT_TRUE(replaced.isNull());
    EXPECT_EQ(list.at(1), replacement);
    EXPECT_EQ(list.count(), 3);

    EXPECT_FALSE(list.remove(stranger));
    EXPECT_TRUE(list.remove(first));
    EXPECT_EQ(list.find(QStringLiteral("Sequence 1")), duplicate);
    delete stranger;

    list.clear();
    EXPECT_TRUE(list.isEmpty());
}

TEST(SequenceEnumsTest, FlowActionsFallBackToNext)
{
    for (FlowAction action : {FlowAction::Next, FlowAction::Prev, FlowAction::Stop, FlowAction::Redo})
        EXPECT_EQ(flowActionFromName(flowActionName(action)), action);
    EXPECT_EQ(flowActionFromName(QStringLiteral("stop")), FlowAction::Next);
    EXPECT_EQ(flowActionFromName(QString()), FlowAction::Next);
}
