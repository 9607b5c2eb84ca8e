#include "sequencelistreader.h"

#include "cinifile.h"
#include "qstringprinter.h"
#include "temporaryfolder.h"

#include <gtest/gtest.h>

namespace {

// A document read from `text` as a file, and the items it lists.
struct ReadList
{
    explicit ReadList(const QByteArray &text)
    {
        EXPECT_TRUE(document.load(folder.write(QStringLiteral("list.seql"), text)));
    }
    ImportedItem build(const QString &key) const { return SequenceListReader(document).buildItem(key); }
    QStringList keys() const { return SequenceListReader(document).itemKeys(); }

    TemporaryFolder folder;
    CIniFile document;
};

using Kind = ImportedItem::Kind;

} // namespace

TEST(SequenceListReaderTest, WhatTheFileLeavesOutGetsItsDefault)
{
    const ReadList list("[SEQUENCE]\nITEM1=Chain\nITEM2=Stamp\n"
                        "[ITEM1]\nItemType=application\n"
                        "[ITEM2]\nItemType=command\n");
    const HxSequenceItem a = list.build(QStringLiteral("ITEM1")).item;
    EXPECT_EQ(QStringList({a.columnItem, a.columnOperation, a.columnShow, a.propertiesShow, a.columnStatus,
                           a.passAction, a.failAction, a.rejectAction, a.systemErrorAction,
                           a.parameters.value(QStringLiteral("Show")), a.parameters.value(QStringLiteral("Flags"))}),
              QStringList({"Chain", "", "Status", "Status", "---", "Next", "Next", "Redo", "Stop", "Status",
                           "268435456"}));
    // kind and type; add to report, save results on fail and on pass, status to the sequence
    EXPECT_EQ(QList<int>({a.itemType, a.type}), QList<int>({int(ItemType::Application), -1}));
    EXPECT_EQ(QList<bool>({a.addToReport, a.saveResultsOnFail, a.saveResultsOnPass, a.statusToSequenceStatus}),
              QList<bool>({false, true, false, true}));

    // A command without an operation runs its command; without exit codes
    // both are 0.
    const HxSequenceItem c = list.build(QStringLiteral("ITEM2")).item;
    EXPECT_EQ(QStringList({c.columnOperation, c.propertiesOperation, c.parameters.value(QStringLiteral("SeqOperation")),
                           c.columnType, c.command.name()}),
              QStringList({"Execute Command", "Execute Command", "Execute Command", "Sys", "Stamp"}));
    EXPECT_EQ(QList<int>({c.command.failExitCode(), c.command.passExitCode()}), QList<int>({0, 0}));
}

TEST(SequenceListReaderTest, ItemTypeDecidesTheKind)
{
    // the item keys need not be contiguous
    const ReadList list("[SEQUENCE]\nITEM1=a\nITEM2=b\nITEM3=c\nITEM7=IF\n"
                        "[ITEM1]\nColumnOperation=Execute Test\n"
                        "[ITEM2]\nItemType=Application\n"
                        "[ITEM3]\nItemType=widget\n"
                        "[ITEM7]\nItemType=operation\n");
    EXPECT_EQ(list.keys(), QStringList({"ITEM1", "ITEM2", "ITEM3", "ITEM7"}));
    EXPECT_EQ(list.build(QStringLiteral("ITEM1")).kind, Kind::None);
    EXPECT_EQ(list.build(QStringLiteral("ITEM2")).kind, Kind::Invalid);   // names are exact
    EXPECT_EQ(list.build(QStringLiteral("ITEM3")).kind, Kind::Invalid);
    EXPECT_EQ(list.build(QStringLiteral("ITEM7")).kind, Kind::Operation);
    EXPECT_EQ(list.build(QStringLiteral("ITEM9")).kind, Kind::None);     // no section at all
}

TEST(SequenceListReaderTest, AnOperationIsWhatItsNameInSequenceSays)
{
    const ReadList list("[SEQUENCE]\nITEM1=PAUSE\nITEM2=Reset\nITEM3=GOTO\n"
                        "[ITEM1]\nItemType=operation\nColumnOperation=IF\nTimeOut=2500\n"
                        "PauseMessageText=Insert board\\nthen press Yes?\n"
                        "PauseMessageDefaultAnswer=1\nPauseMessageAnswerNoIsPass=1\n"
                        "[ITEM2]\nItemType=operation\nColumnProperty=BCU-1\nTimeOut=9\n"
                        "[ITEM3]\nItemType=operation\nColumnItem=x\n");
    const HxSequenceItem pause = list.build(QStringLiteral("ITEM1")).item;
    // the item text is the default one
    EXPECT_EQ(QStringList({pause.columnOperation, pause.operationItemId, pause.columnItem, pause.commandEx,
                           pause.pauseMessageText, pause.columnType}),
              QStringList({"PAUSE", "Pause / Display Message", "0,", "0,", "Insert board\nthen press Yes?", "Ctrl"}));
    EXPECT_EQ(QList<int>({pause.type, pause.timeOut, pause.pauseMessageDefaultAnswer}), QList<int>({0, 2500, 1}));
    EXPECT_TRUE(pause.pauseMessageAnswerNoIsPass);

    // Only a pause reads its time-out and message.
    const HxSequenceItem reset = list.build(QStringLiteral("ITEM2")).item;
    EXPECT_EQ(QStringList({reset.columnItem, reset.columnProperty}), QStringList({"Reset", "BCU-1"}));
    EXPECT_EQ(QList<int>({reset.type, reset.timeOut}), QList<int>({12, 0}));
    EXPECT_EQ(list.build(QStringLiteral("ITEM3")).item.columnItem, QStringLiteral("x"));
}

TEST(SequenceListReaderTest, NumbersAndBooleansReadStrictly)
{
    struct Case
    {
        const char *value;
        int number;
        bool flag;
    };
    const Case cases[] = {
        {"1", 1, true},  {"01", 1, true}, {"+1", 1, true}, {"yes", 0, false}, {"true", 0, false},
        {"2", 2, false}, {"", 0, false},  {"-1", -1, false}, {"1.0", 0, false},
        {"12345678", 12345678, false},    {"99999999999", 0, false},
    };
    for (const Case &test : cases) {
        const QString value = QLatin1String(test.value);
        EXPECT_EQ(SequenceListReader::number(value), test.number) << test.value;
        EXPECT_EQ(SequenceListReader::flag(value), test.flag) << test.value;
    }

    const ReadList list("[SEQUENCE]\nITEM1=PAUSE\n"
                        "[ITEM1]\nItemType=operation\nSaveResultsOnFail=yes\nTimeOut=soon\n"
                        "AddToReport=1\nStatusToSequenceStatus=0\n");
    const HxSequenceItem pause = list.build(QStringLiteral("ITEM1")).item;
    EXPECT_FALSE(pause.saveResultsOnFail);
    EXPECT_EQ(pause.timeOut, 0);
    EXPECT_TRUE(pause.addToReport);
    EXPECT_FALSE(pause.statusToSequenceStatus);
}

TEST(SequenceListReaderTest, FlagNamesAndTapKeysFoldIntoFlagWords)
{
    struct Case
    {
        const char *name;
        QByteArray section;
        QMap<QString, QString> expected;   // the parameters besides Show and SeqOperation
    };
    const QString podType2 = QStringLiteral("268435456");
    const std::vector<Case> cases = {
        {"nothing set keeps pod type 2", "", {{"Flags", podType2}}},
        {"value 1 sets", "UseTck=1\n", {{"Flags", QString::number(0x10000000 | 0x10000)}}},
        {"value 0 clears", "PodType2=0\n", {{"Flags", "0"}}},
        {"value 2 clears", "UseTck=1\nUseTck=2\n", {{"Flags", podType2}}},
        {"PodType1 changes nothing", "PodType1=1\n", {{"Flags", podType2}}},
        {"UseGang of TAP 3", "TapInfo3.UseGang=1\n",
         {{"Flags", podType2}, {"TapInfo3.Flags", "1024"}}},
        {"a TAP field that is no flag only names the TAP", "TapInfo4.Level=30\n",
         {{"Flags", podType2}, {"TapInfo4.Flags", "0"}}},
        {"TAPs 0 to 31 are held, larger ones ignored",
         "TapInfo0.User0=1\nTapInfo31.User1=1\nTapInfo32.User0=1\nTapInfo4294967296.Aw=1\n",
         {{"Flags", podType2}, {"TapInfo0.Flags", "1"}, {"TapInfo31.Flags", "2"}}},
        {"leading zeros name the same TAP", "TapInfo07.User0=1\nTapInfo7.Aw=1\n",
         {{"Flags", podType2}, {"TapInfo7.Flags", "5"}}},
        {"a stored Flags entry is replaced by the folded word", "Flags=7\nAw=1\n",
         {{"Flags", QString::number(0x10000000 | 0x4)}}},
        {"a Threshold parameter comes back as the flag", "Threshold=150\n", {{"Flags", podType2}}},
        {"Threshold 1 is the flag", "Threshold=1\n", {{"Flags", QString::number(0x30000000)}}},
        {"other pairs as they stand", "InstrumentName=Preferred\nBoardTAP=2\n",
         {{"Flags", podType2}, {"InstrumentName", "Preferred"}, {"BoardTAP", "2"}}},
        {"a key without a real dot is a parameter", "TapInfo3xUseGang=1\n",
         {{"Flags", podType2}, {"TapInfo3xUseGang", "1"}}},
    };
    for (const Case &test : cases) {
        const ReadList list("[SEQUENCE]\nITEM1=Chain\n[ITEM1]\nItemType=application\n"
                            "[ITEM1.EXECPARAMS]\n"
                            + test.section);
        QMap<QString, QString> parameters = list.build(QStringLiteral("ITEM1")).item.parameters;
        parameters.remove(QStringLiteral("Show"));
        parameters.remove(QStringLiteral("SeqOperation"));
        EXPECT_EQ(parameters, test.expected) << test.name;
    }
}
