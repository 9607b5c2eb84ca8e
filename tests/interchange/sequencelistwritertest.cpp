#include "sequencelistwriter.h"

#include "cinifile.h"
#include "temporaryfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HxSequenceItemPtr item(ItemType kind, const QString &operation, const QString &name)
{
    auto step = std::make_shared<HxSequenceItem>();
    step->itemType = int(kind);
    step->columnOperation = operation;
    step->columnItem = name;
    step->columnShow = QStringLiteral("Status");
    step->passAction = QStringLiteral("Next");
    step->failAction = QStringLiteral("Next");
    step->rejectAction = QStringLiteral("Redo");
    step->systemErrorAction = QStringLiteral("Stop");
    step->saveResultsOnFail = true;
    step->statusToSequenceStatus = true;
    return step;
}

std::string written(const HxSequenceItemList &items)
{
    TemporaryFolder folder;
    CIniFile document;
    SequenceListWriter::writeAll(document, items);
    document.setFileName(folder.filePath(QStringLiteral("list.seql")));
    EXPECT_TRUE(document.save());
    return folder.read(QStringLiteral("list.seql")).toStdString();
}

// The entries of one section, "key=value" in order.
std::vector<std::string> section(const HxSequenceItemList &items, const QString &name)
{
    CIniFile document;
    SequenceListWriter::writeAll(document, items);
    std::vector<std::string> entries;
    for (const auto &entry : document.entryList()) {
        if (entry.section == name)
            entries.push_back((entry.key + QLatin1Char('=') + entry.value).toStdString());
    }
    return entries;
}

} // namespace

TEST(SequenceListWriterTest, WritesTheSequenceSectionThenEachItemWithItsParameters)
{
    auto application = item(ItemType::Application, QStringLiteral("Execute Test"),
                            QStringLiteral("BoardTest"));
    application->parameters = {{QStringLiteral("PodType2"), QStringLiteral("1")},
                               {QStringLiteral("UseTck"), QStringLiteral("1")},
                               {QStringLiteral("InstrumentName"), QStringLiteral("Preferred")},
                               {QStringLiteral("Show"), QStringLiteral("Status")}};
    auto pause = item(ItemType::Operation, QStringLiteral("PAUSE"), QStringLiteral("0,"));
    pause->pauseMessageText = QStringLiteral("Insert board\nthen press Yes");
    pause->pauseMessageDefaultAnswer = 1;
    pause->passAction.clear();
    pause->failAction.clear();
    pause->rejectAction.clear();
    pause->systemErrorAction.clear();

    // one line a section
    EXPECT_EQ(written({application, pause}),
              "[SEQUENCE]\nITEM1=BoardTest\nITEM2=PAUSE\n\n"
              "[ITEM1]\nColumnOperation=Execute Test\nColumnShow=Status\nItemType=application\nAddToReport=0\n"
              "PassAction=Next\nFailAction=Next\nRejectAction=Redo\nSyseAction=Stop\nSaveResultsOnFail=1\n"
              "SaveResultsOnPass=0\nStatusToSequenceStatus=1\n\n"
              "[ITEM1.EXECPARAMS]\nInstrumentName=Preferred\nPodType2=1\nUseTck=1\n\n"
              "[ITEM2]\nColumnItem=0,\nColumnShow=Status\nItemType=operation\n"
              "PauseMessageText=Insert board\\nthen press Yes\nPauseMessageDefaultAnswer=1\n"
              "PauseMessageAnswerNoIsPass=0\nAddToReport=0\nSaveResultsOnFail=1\nSaveResultsOnPass=0\n"
              "StatusToSequenceStatus=1\n");
}

TEST(SequenceListWriterTest, AnEmptySequenceGivesAnEmptyFile)
{
    EXPECT_EQ(written({}), "");
}

TEST(SequenceListWriterTest, AnItemOfNoKnownKindKeepsItsNumberAndSectionButHasNoName)
{
    auto first = item(ItemType::Command, QStringLiteral("Execute Command"), QStringLiteral("a"));
    auto odd = item(ItemType::None, QString(), QStringLiteral("odd"));
    auto third = item(ItemType::Command, QStringLiteral("Execute Command"), QStringLiteral("c"));
    const HxSequenceItemList items = {first, odd, third};

    EXPECT_EQ(section(items, QStringLiteral("SEQUENCE")),
              (std::vector<std::string>{"ITEM1=a", "ITEM3=c"}));
    const std::vector<std::string> oddSection = section(items, QStringLiteral("ITEM2"));
    ASSERT_FALSE(oddSection.empty());
    for (const std::string &entry : oddSection)
        EXPECT_NE(entry.rfind("ItemType=", 0), 0u) << entry;
}

TEST(SequenceListWriterTest, ColumnsAndOptionsAreWrittenOnlyWhereTheyBelong)
{
    struct Case
    {
        const char *name;
        HxSequenceItemPtr step;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    auto ifStep = item(ItemType::Operation, QStringLiteral("IF"), QStringLiteral(","));
    ifStep->columnProperty = QStringLiteral("item = pass");
    ifStep->timeOut = 250;
    auto application = item(ItemType::Application, QStringLiteral("Execute Test"),
                            QStringLiteral("Chain"));
    application->columnItem = QStringLiteral("Chain");
    application->pauseMessageDefaultAnswer = 1;
    auto pauseOutOfRange = item(ItemType::Operation, QStringLiteral("PAUSE"), QString());
    pauseOutOfRange->pauseMessageDefaultAnswer = 2;
    auto command = item(ItemType::Command, QStringLiteral("Execute Command"),
                        QStringLiteral("Label"));
    command->command.setCommand(QStringLiteral("label.sh --now"));
    command->command.setDir(QStringLiteral("/station"));
    command->command.setConsoleApp(true);
    command->command.setInternal(true);
    command->command.setLaunchInDesignDir(true);
    command->command.setFailExitCode(5);
    command->command.setPassExitCode(0);
    auto quietCommand = item(ItemType::Command, QStringLiteral("Execute Command"),
                             QStringLiteral("Quiet"));
    quietCommand->command.setFailExitCode(0);
    quietCommand->command.setPassExitCode(3);

    const std::vector<Case> cases = {
        {"IF", ifStep,
         {"ColumnProperty=item = pass", "ItemType=operation", "TimeOut=250"},
         {"ColumnOperation=IF", "ColumnItem=,", "PauseMessageAnswerNoIsPass=0",
          "PauseMessageDefaultAnswer=0"}},
        {"application", application,
         {"ColumnOperation=Execute Test", "ItemType=application"},
         {"ColumnItem=Chain", "PauseMessageDefaultAnswer=1", "TimeOut=0"}},
        {"PAUSE with an empty item and answer 2", pauseOutOfRange,
         {"PauseMessageAnswerNoIsPass=0"},
         {"ColumnItem=", "PauseMessageDefaultAnswer=2"}},
        {"command", command,
         {"SeqCommandCommand=label.sh --now", "SeqCommandConsoleApp=1", "SeqCommandDir=/station",
          "SeqCommandFailExitCode=5", "SeqCommandInternal=1", "SeqCommandLaunchInDesignDir=1"},
         {"SeqCommandPassExitCode=0"}},
        {"command without flags", quietCommand,
         {"SeqCommandPassExitCode=3"},
         {"SeqCommandConsoleApp=0", "SeqCommandInternal=0", "SeqCommandFailExitCode=0",
          "SeqCommandCommand=", "SeqCommandDir="}},
    };
    for (const Case &test : cases) {
        const std::vector<std::string> entries = section({test.step}, QStringLiteral("ITEM1"));
        for (const std::string &expected : test.present)
            EXPECT_NE(std::find(entries.begin(), entries.end(), expected), entries.end())
                << test.name << ": " << expected;
        for (const std::string &unexpected : test.absent)
            EXPECT_EQ(std::find(entries.begin(), entries.end(), unexpected), entries.end())
                << test.name << ": " << unexpected;
    }
}

TEST(SequenceListWriterTest, ParametersAreSpreadIntoFlagNamesAndFiltered)
{
    struct Case
    {
        const char *name;
        QMap<QString, QString> parameters;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"no flags set", {{"Flags", "0"}}, {}},
        {"pod type 2 only", {{"Flags", "268435456"}}, {"PodType2=1"}},
        {"unnamed bits are not written",
         {{"Flags", QString::number(0x80 | 0x800000 | 0x4)}}, {"Aw=1"}},
        {"flags in table order",
         {{"Flags", QString::number(0x10000000 | 0x20000000 | 0x1 | 0x8000 | 0x2000)}},
         {"PodType2=1", "Threshold=1", "User0=1", "UseIoWait=1", "NoPwrOn=1"}},
        {"not a number", {{"Flags", "lots"}}, {}},
        {"TAP 32 is beyond the file", {{"TapInfo32.Flags", "1024"}}, {}},
        {"leading zeros of a TAP number go", {{"TapInfo05.Flags", "1024"}}, {"TapInfo5.UseGang=1"}},
        {"TAP 0 is written", {{"TapInfo0.Flags", "3"}}, {"TapInfo0.User0=1", "TapInfo0.User1=1"}},
        {"other TAP fields stay as they are", {{"TapInfo3.Level", "25"}}, {"TapInfo3.Level=25"}},
        {"internal keys and empty values never appear",
         {{"CmdLine", "svf -a1"}, {"TapInfo1.ExtCells", "4"}, {"TapInfo1.Reserved", "0"},
          {"ItemNumber", "3"}, {"Show", "Status"}, {"SeqOperation", "Execute Test"},
          {"ImageFileName", ""}, {"BoardTAP", "1"}},
         {"BoardTAP=1"}},
        {"a Threshold parameter takes over the Threshold flag in place",
         {{"Flags", QString::number(0x20000000 | 0x1)}, {"Threshold", "150"}},
         {"Threshold=150", "User0=1"}},
        {"keys in code-unit order", {{"b", "2"}, {"B", "1"}, {"a", "3"}}, {"B=1", "a=3", "b=2"}},
    };
    for (const Case &test : cases) {
        auto step = item(ItemType::Application, QStringLiteral("Execute Test"),
                         QStringLiteral("Chain"));
        step->parameters = test.parameters;
        EXPECT_EQ(section({step}, QStringLiteral("ITEM1.EXECPARAMS")), test.expected) << test.name;
    }
}
