#include "legacysequenceimport.h"

#include "controloperations.h"
#include "executionparameters.h"
#include "hxsequence.h"
#include "sampleprojecthost.h"
#include "legacyfilebuilder.h"
#include "qstringprinter.h"
#include "sqcconversion.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Record = LegacyFileBuilder::Record;

class LegacySequenceImportTest : public ::testing::Test
{
protected:
    std::unique_ptr<HxSequence> convert(const LegacyFileBuilder &builder,
                                        const QString &instrument = QStringLiteral("Preferred"))
    {
        SqcFile file;
        EXPECT_TRUE(file.readData(builder.bytes())) << file.errorString().toStdString();
        LegacySequenceImport conversion(environment.link(), QStringLiteral("Converted"), instrument);
        auto sequence = conversion.convert(file, QStringLiteral("from the old station"));
        dropped = conversion.droppedCount();
        return sequence;
    }
    // The one item a file of one record gives.
    HxSequenceItem only(const Record &record, const QString &instrument = QStringLiteral("Preferred"))
    {
        const auto sequence = convert(LegacyFileBuilder().add(record), instrument);
        EXPECT_EQ(sequence->items().size(), 1);
        return sequence->items().isEmpty() ? HxSequenceItem() : *sequence->items().first();
    }
    QString parameter(const HxSequenceItem &item, const char *key) const
    {
        return item.parameters.value(QLatin1String(key));
    }
    void expectParameters(const HxSequenceItem &item,
                          const QList<std::pair<const char *, QString>> &expected) const
    {
        for (const auto &[key, value] : expected)
            EXPECT_EQ(parameter(item, key), value) << key;
    }

    SampleProjectHost environment;
    int dropped = 0;
};

Record control(quint32 code, const QByteArray &name, const QByteArray &text)
{
    Record record(LegacyFileBuilder::Control);
    record.operation(code).names(QByteArray(), name, QByteArray()).extensionText(0, text);
    return record;
}

} // namespace

TEST_F(LegacySequenceImportTest, TheHeaderGivesTheSequencesSettings)
{
    LegacyFileBuilder builder;
    builder.windowName("Old Board")
        .sequenceFlags(0x1 | 0x4 | 0x80 | 0x100 | 0x400)
        .repeatCount(3)
        .unit(0x1 | 0x4, "SN-0041", "Batch 7");
    const auto sequence = convert(builder);
    EXPECT_EQ(QStringList({sequence->title(), sequence->description(), sequence->unitSerialNumber(),
                           sequence->unitFolder(), sequence->unitSubDirMask()}),
              QStringList({"Converted", "from the old station", "SN-0041", "Batch 7", "SN-0041"}));
    EXPECT_EQ(sequence->repeatCount(), 3);
    // repeat, unit identification, global gang, application and sequence banner
    EXPECT_EQ(QList<bool>({sequence->repeat(), sequence->unitIdentification(), sequence->globalGang(),
                           sequence->statusBannerApp(), sequence->statusBannerSequence()}),
              QList<bool>({true, true, true, false, true}));
    // the six unit options, in the order of their bits
    EXPECT_EQ(QList<bool>({sequence->unitSubDirIsSerialNumber(), sequence->unitSerialNumberManualAdjust(),
                           sequence->unitSerialNumberAutoIncrement(), sequence->unitSubDirManualAdjust(),
                           sequence->unitSubDirAutoIncrement(), sequence->unitAutoPrompt()}),
              QList<bool>({true, false, true, true, false, false}));
    EXPECT_TRUE(sequence->items().isEmpty());
}

TEST_F(LegacySequenceImportTest, ACommandRecordBecomesACommandStep)
{
    Record record(LegacyFileBuilder::Command);
    // characters a project file cannot carry are dropped, and said so
    record.names("ignored", "Label\x01 board", "ignored too")
        .operation(0)
        .options(0x20 | 0x4 | 0x10)
        .actions(0, 3, 1, 2)
        .show(3)
        .extensionText(0, "label.sh\x02 --serial")
        .extensionText(256, "/station")
        .extensionWord(512, 0x1 | 0x2 | 0x8 | 0x20)
        .extensionWord(516, 0)
        .extensionWord(520, 7);
    const HxSequenceItem item = only(record);
    EXPECT_EQ(item.itemType, int(ItemType::Command));
    EXPECT_EQ(QStringList({item.columnType, item.columnOperation, item.columnItem, item.columnShow}),
              QStringList({"Sys", "Execute Command", "Label board", "Status"}));
    EXPECT_EQ(QList<bool>({item.addToReport, item.saveResultsOnFail, item.saveResultsOnPass,
                           item.statusToSequenceStatus}),
              QList<bool>({true, true, false, false}));
    EXPECT_EQ(QStringList({item.passAction, item.failAction, item.rejectAction, item.systemErrorAction}),
              QStringList({"Next", "Redo", "Prev", "Stop"}));
    EXPECT_EQ(QStringList({item.command.name(), item.command.command(), item.command.dir()}),
              QStringList({"Label board", "label.sh --serial", "/station"}));
    EXPECT_TRUE(item.command.consoleApp() && item.command.internal() && item.command.showImmediateOutput()
                && item.command.launchInDesignDir());
    EXPECT_EQ(item.command.failExitCode(), 7);
    const QString log = environment.output().join(QLatin1Char('\n'));
    for (const char *named : {"Nr. '1': 'second name' held characters", "Nr. '1': 'command line' held"})
        EXPECT_TRUE(log.contains(QLatin1String(named))) << log.toStdString();
}

TEST_F(LegacySequenceImportTest, ControlRecordsBecomeOperationSteps)
{
    struct Case
    {
        Record record;
        QString operation;
        QString property;
        QString itemText;
    };
    const std::vector<Case> cases = {
        {control(5, "IF", "item = pass"), QStringLiteral("IF"), QStringLiteral("item = pass"), QStringLiteral(",")},
        {control(9, "GOTO", "finish"), QStringLiteral("GOTO"), QStringLiteral("finish"), QStringLiteral(",")},
        {control(10, "Print", ""), QStringLiteral("Print"), QString(), QString()},
        {control(12, "Reset", "BCU-7"), QStringLiteral("Reset"), QStringLiteral("Preferred"), QStringLiteral("Reset")},
        {control(13, "Pins", ""), QStringLiteral("Read/Test/Write IO Pins"), QStringLiteral("Preferred"), QString()},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.operation.toStdString());
        const HxSequenceItem item = only(test.record);
        EXPECT_EQ(QList<int>({item.itemType, item.type, item.applicationClass}),
                  QList<int>({int(ItemType::Operation), test.record.bytes().at(780), 4}));
        // the caption is the one the operation has everywhere else
        EXPECT_EQ(QStringList({item.columnType, item.columnOperation, item.operationItemId, item.columnProperty,
                               item.columnItem}),
                  QStringList({"Ctrl", test.operation, ControlOperations::controlOperationCaption(test.operation),
                               test.property, test.itemText}));
    }
    // The instrument steps always run on the preferred instrument, and the
    // pin step gets the flags the reader gives it.
    const HxSequenceItem pins = only(control(13, "Pins", ""), QStringLiteral("BCU-2"));
    EXPECT_EQ(parameter(pins, "InstrumentName"), QStringLiteral("Preferred"));
    EXPECT_EQ(parameter(pins, "Flags"), QString::number(0x10008000 | 0x20000));
}

TEST_F(LegacySequenceImportTest, APauseKeepsItsMessageTimingAndAnswers)
{
    Record record = control(0, "Insert the board || then press Yes?", "5000,beep.wav");
    record.options(0x2000 | 0x1000);
    const HxSequenceItem pause = only(record);
    EXPECT_EQ(QStringList({pause.columnOperation, pause.pauseMessageText, pause.columnProperty,
                           pause.columnItem, pause.commandEx}),
              QStringList({"PAUSE", "Insert the board\nthen press Yes?", "Insert the board\nthe...",
                           "5000,beep.wav", "5000,beep.wav"}));
    EXPECT_EQ(pause.timeOut, 5000);
    EXPECT_EQ(pause.pauseMessageDefaultAnswer, 1);
    EXPECT_TRUE(pause.pauseMessageAnswerNoIsPass);

    struct Case
    {
        const char *message;
        const char *shortText;
    };
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", "ABCDEFGHIJKLMNOPQRST..."},   // 25 characters
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},           // exactly 20
        {"", ""},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(only(control(0, test.message, "0,")).columnProperty, QLatin1String(test.shortText))
            << test.message;
    }
}

TEST_F(LegacySequenceImportTest, SelectInstrumentAndUnknownRecordsAreDroppedWithALogLineEach)
{
    LegacyFileBuilder builder;
    builder.add(control(5, "IF", "item = pass"))
        .add(control(8, "ENDIF", ""))
        .add(control(14, "Select", "BCU-1"))
        .add(control(4, "LABEL", "end"))
        .add(Record(9));
    const auto sequence = convert(builder);
    ASSERT_EQ(sequence->items().size(), 3);
    EXPECT_EQ(sequence->items().at(2)->columnOperation, QStringLiteral("LABEL"));
    EXPECT_EQ(dropped, 2);
    ASSERT_EQ(environment.output().size(), 2);
    EXPECT_TRUE(environment.output().first().endsWith(
        QStringLiteral("ORV Sequencer 'Converted' - Nr. '3': Incompatible 'Select Instrument' item "
                       "removed from Sequence</font>")));
    EXPECT_TRUE(environment.output().last().contains(QStringLiteral("Nr. '5'")));
}

TEST_F(LegacySequenceImportTest, EveryRecordCarriesItsInstrumentSettings)
{
    Record record = control(6, "ELSE", "");
    record.clock(2, 1000, 33)
        .gang(0x5)
        .flags(0x400 | 0x10000000)
        .threshold(17)
        .tapStates(1, 12)
        .tapWord(3, 1, 1024)
        .tapWord(3, 2, 5)
        .tapWord(3, 4, 8)
        .tapWord(32, 10, 250);
    const HxSequenceItem item = only(record);
    expectParameters(item, {
        {"TckSrc", "2"}, {"TckkHz", "1000"}, {"Level", "33"}, {"Threshold", "17"},
        {"TapSState", "1"}, {"TapEState", "12"}, {"Gang", "4"},
        {"Flags", QString::number(0x10000000 | 0x400 | 0x20000 | 0x10000)},
        {"SeqOperation", "ELSE"}, {"TapInfo3.Flags", "1024"}, {"TapInfo3.Level", "5"},
        {"TapInfo3.ExtCells", "8"}, {"TapInfo32.IoTimeoutMs", "250"}
    });
    // Only the four TAP fields that are not 0 are kept, besides seven
    // settings, the flags and the operation; the others read as 0, and the
    // step gives back the TAP records it came from.
    EXPECT_EQ(item.parameters.size(), 4 + 7 + 1 + 1);
    EXPECT_EQ(ExecutionParameters::tapInfo(item.parameters, 3, QStringLiteral("Signals")),
              QStringLiteral("0"));
    SqcFile file;
    ASSERT_TRUE(file.readData(LegacyFileBuilder().add(record).bytes()));
    EXPECT_EQ(SqcConversion::recordFromItem(item).taps, file.records().first().taps);

    // Without a clock there is no clock flag; no gang reads -1.
    const HxSequenceItem plain = only(control(6, "ELSE", ""));
    EXPECT_EQ(parameter(plain, "Flags"), QString::number(0x20000));
    EXPECT_EQ(parameter(plain, "Gang"), QStringLiteral("-1"));

    // Levels kept in hundredths come back in hundredths; markers stay.
    Record hundredths = control(6, "ELSE", "");
    hundredths.flags(0x800000).clock(0, 0, 3).threshold(quint32(-1)).tapWord(2, 2, 4);
    const HxSequenceItem scaled = only(hundredths);
    expectParameters(scaled, {
        {"Level", "300"}, {"Threshold", "-1"}, {"TapInfo2.Level", "400"}
    });
}

TEST_F(LegacySequenceImportTest, AScriptRecordCreatesItsPlayerApplication)
{
    Record jam(LegacyFileBuilder::Jam);
    jam.names("C:/tests/jam", "ignored", "&Erase Flash")
        .operation(0)
        .show(0)
        .clock(0, 0, 12)
        .extensionText(0, "erase")
        .extensionText(256, "2,DO_ERASE=1 DO_VERIFY=0 ")
        .extensionWord(516, 0x4 | 0x8 | 0x40)
        .extensionWord(520, 12);
    const HxSequenceItem item = only(jam, QStringLiteral("BCU-2"));
    EXPECT_EQ(item.itemType, int(ItemType::Application));
    EXPECT_EQ(QStringList({item.columnItem, item.columnType, item.columnOperation, item.columnShow}),
              QStringList({"Erase Flash", "Jam Script Player", "Execute Test", "Status"}));
    expectParameters(item, {
        {"JamFileName", "C:/tests/jam/Erase Flash.jam"}, {"BoardTAP", "1"}, {"Level", "12"},
        {"ShowNotes", "4"}, {"Erase", "8"}, {"Verify", "64"}, {"Action", "erase"},
        {"ProcsIncluded", "1"}, {"ProcIn0Proc", "DO_ERASE"}, {"ProcEx0Proc", "DO_VERIFY"},
        {"InstrumentName", "BCU-2"}, {"UseDefaultsPod", "no"}
    });

    const ProjectApplication *created = environment.project.application(QStringLiteral("Erase Flash"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(QStringList({created->type, created->parameters.value(QStringLiteral("JamFileName"))}),
              QStringList({"Jam Script Player", "C:/tests/jam/Erase Flash.jam"}));
    EXPECT_TRUE(created->operations.contains(QStringLiteral("Execute Test")));

    Record stapl(LegacyFileBuilder::Stapl);
    stapl.names("/scripts", "", "Program CPLD").operation(2).extensionText(256, "1,")
        .extensionWord(516, 0x1 | 0x2 | 0x1000);
    const HxSequenceItem player = only(stapl);
    EXPECT_EQ(QStringList({player.columnType, player.columnOperation}),
              QStringList({"STAPL Script Player", "Force Fail"}));
    expectParameters(player, {{"StaplFileName", "/scripts/Program CPLD.jam"}, {"ExecuteStapl", "2"},
                              {"CheckCRC", "1"}, {"UseDefaultsPod", "yes"}});
    EXPECT_FALSE(player.parameters.contains(QStringLiteral("Erase")));
}

TEST_F(LegacySequenceImportTest, AFlashRecordKeepsItsImageAndOptions)
{
    Record flash(LegacyFileBuilder::FlashProgramming);
    flash.names("/flash", "", "Boot Image")
        .operation(7)   // an image operation: the reader makes it a flash image record
        .word(2404, 0x4000)
        .word(852, 0xDEADBEEF)
        .extensionText(0, "boot.hex")
        .extensionWord(512, 0x1000)
        .extensionWord(516, 0x10 | 0x20 | 0x2)
        .extensionWord(520, 2)
        .extensionWord(528, 0x8000)
        .extensionWord(532, 256)
        .extensionWord(540, 16);
    LegacyFileBuilder builder;
    builder.sequenceFlags(0x100).add(flash);
    const auto sequence = convert(builder);
    ASSERT_EQ(sequence->items().size(), 1);
    const HxSequenceItem &item = *sequence->items().first();
    EXPECT_EQ(QStringList({item.columnType, item.columnOperation}),
              QStringList({"Flash Image Runner", "Compare with Image File"}));
    expectParameters(item, {
        {"GenFileName", "/flash/Boot Image.gen"}, {"AplFilePath", "/flash/Boot Image.apl"},
        {"ImageFileName", "boot.hex"}, {"ImageAFA", "4096"}, {"ImageFormat", "2"},
        {"StartAddress", "32768"}, {"Length", "256"}, {"FileOffset", "16"}, {"FlashUnit", "byte"},
        {"UseConFile", "yes"}, {"TargetEqStartAddress", "yes"}, {"TargetAddress", "16384"},
        {"ImageCRC", QString::number(0xDEADBEEFu)}
    });
}

TEST_F(LegacySequenceImportTest, ALogicRecordWithoutFamilyIsAPldVectorRunner)
{
    struct Case
    {
        QByteArray family;
        quint32 show;
        QString type;
        QString showOption;
        QString familyName;
        bool logged;
    };
    const Case cases[] = {
        {"", 3, QStringLiteral("PLD Vector Runner"), QStringLiteral("Status"), QString(), true},
        {"Lattice BSCAN - JEDEC", 2, QStringLiteral("Fuse Map Runner"), QStringLiteral("Report"),
         QStringLiteral("Lattice ispLSI - JEDEC, Vemo protocol"), false},
        {"Brand New Family", 0, QStringLiteral("Fuse Map Runner"), QStringLiteral("Report"),
         QStringLiteral("Brand New Family"), false},
    };
    for (const Case &test : cases) {
        environment.host.logview().clear();
        Record logic(LegacyFileBuilder::Logic);
        logic.names("/pld", "", "CPLD").operation(6).show(test.show)
            .extensionText(0, test.family)
            .extensionText(256, "21")
            .extensionText(512, "A5A5")
            .extensionWord(768, 21)
            .extensionWord(772, 3)
            .extensionWord(776, 0x1 | 0x4);
        const HxSequenceItem item = only(logic);
        EXPECT_EQ(QStringList({item.columnType, item.columnShow, item.columnOperation}),
                  QStringList({test.type, test.showOption, "program"})) << test.family.constData();
        expectParameters(item, {
            {"Action", "program"}, {"Family", QString::fromLatin1(test.family)},
            {"FamilyName", test.familyName}, {"FamilyId", "21"}, {"SecurityUserValue", "A5A5"},
            {"PldOperationModeId", "3"}, {"UseConFile", "yes"}, {"SecurityUser", "yes"},
            {"ProcsIncluded", "5"}, {"ProcIn4Action", "blank check"},
            {"ProcIn4Proc", "DO_BLANK_CHECK"}
        });
        const bool logged = environment.output().join(QLatin1Char('\n')).contains(QStringLiteral(
            "Nr. '1': 'Family' is empty, assuming application type is PLD Vector Runner"));
        EXPECT_EQ(logged, test.logged) << test.family.constData();
    }
}

TEST_F(LegacySequenceImportTest, ProcessorAndGeneratedTestRecords)
{
    Record processor(LegacyFileBuilder::Processor);
    processor.names("/cpu", "", "Boot CPU").operation(0).show(3)
        .extensionWord(768, 0x1 | 0x2).extensionWord(780, 0x4);
    const HxSequenceItem runner = only(processor);
    EXPECT_EQ(QStringList({runner.columnType, runner.columnOperation, runner.columnShow}),
              QStringList({"Processor Image Runner", "program()", "Status"}));
    expectParameters(runner, {
        {"PpcFileName", "/cpu/Boot CPU.ppc"}, {"UseConFile", "yes"}, {"StopConcErr", "yes"}
    });

    Record test(LegacyFileBuilder::GeneratedTest);
    test.names("/tests", "", "Cluster").operation(0).show(2);
    const HxSequenceItem suite = only(test);
    EXPECT_EQ(QStringList({suite.columnType, suite.columnOperation, suite.columnShow}),
              QStringList({"Scan Suite Runner", "Execute Test", "Diagnostics"}));
    EXPECT_EQ(parameter(suite, "GenFileName"), QStringLiteral("/tests/Cluster.gen"));

    // An infrastructure test names its kind of test where the name would
    // be; the application is the second name. "Chain" is taken by another
    // type, so the host creates the runner under a name of its own.
    Record infrastructure(LegacyFileBuilder::GeneratedTest);
    infrastructure.names("/tests", "Chain", "bsreg").operation(3);
    const HxSequenceItem infra = only(infrastructure);
    EXPECT_EQ(QStringList({infra.columnOperation, parameter(infra, "InfraOperation"), infra.columnItem}),
              QStringList({"Test Infrastructure", "bsreg", "Chain (2)"}));
    ASSERT_NE(environment.project.application(QStringLiteral("Chain (2)")), nullptr);
    EXPECT_EQ(environment.project.application(QStringLiteral("Chain (2)"))->type,
              QStringLiteral("Scan Suite Runner"));
}

TEST_F(LegacySequenceImportTest, TwoRecordsOfOneApplicationShareIt)
{
    Record first(LegacyFileBuilder::GeneratedTest);
    first.names("/tests", "", "Cluster").operation(0);
    Record second(LegacyFileBuilder::GeneratedTest);
    second.names("/tests", "", "Cluster").operation(1);
    const auto sequence = convert(LegacyFileBuilder().add(first).add(second));
    ASSERT_EQ(sequence->items().size(), 2);
    EXPECT_EQ(QStringList({sequence->items().at(1)->columnItem, sequence->items().at(1)->columnOperation}),
              QStringList({"Cluster", "Force Pass"}));
    EXPECT_EQ(environment.project.applications.size(), 3);
}

TEST_F(LegacySequenceImportTest, WithoutApplicationCreationTheStepKeepsOnlyTheCommonPart)
{
    environment.host.setProject(nullptr);   // the host offers no creation without a project
    Record jam(LegacyFileBuilder::Jam);
    jam.names("/jam", "", "Erase").operation(0).extensionText(256, "1,");
    const HxSequenceItem item = only(jam);
    EXPECT_EQ(item.itemType, int(ItemType::Application));
    EXPECT_EQ(QStringList({item.columnItem, item.columnType, item.columnOperation, parameter(item, "SeqOperation")}),
              QStringList({"Erase", "Jam Script Player", "", ""}));
    EXPECT_FALSE(item.parameters.contains(QStringLiteral("JamFileName")));
    EXPECT_TRUE(item.parameters.contains(QStringLiteral("Flags")));
    EXPECT_EQ(parameter(item, "InstrumentName"), QStringLiteral("Preferred"));
}
