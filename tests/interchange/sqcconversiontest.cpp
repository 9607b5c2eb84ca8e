#include "sqcconversion.h"

#include "hxsequence.h"
#include "legacysequence.h"
#include "qstringprinter.h"
#include "scriptedprompt.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Kind = SqcRecord::Kind;

HxSequenceItemPtr step(ItemType kind, const QString &type, const QString &operation,
                       const QString &name, const QMap<QString, QString> &parameters = {})
{
    auto item = std::make_shared<HxSequenceItem>();
    item->itemType = int(kind);
    item->columnType = type;
    item->columnOperation = operation;
    item->columnItem = name;
    item->parameters = parameters;
    return item;
}

HxSequenceItemPtr application(const QString &type, const QString &operation,
                              const QMap<QString, QString> &parameters = {})
{
    return step(ItemType::Application, type, operation, QStringLiteral("App"), parameters);
}

// The reference host with a prompt that answers every box with its default
// button and keeps what was shown.
class PromptedTest : public ::testing::Test
{
protected:
    void SetUp() override { host.setPrompt(&prompt); }
    void TearDown() override { EXPECT_EQ(host.outstandingReferences(), 0); }

    ScriptedPrompt prompt;
    WorkbenchHost host;
    HostLink link = host.link();
};

} // namespace

TEST(SqcConversionTest, kindAndOperationCodeOfEveryStepFamily)
{
    const struct
    {
        const char *type;
        const char *operation;
        Kind kind;
        qint32 code;
    } cases[] = {
        {"Sys", "Execute Command", Kind::SystemCommand, 0},
        {"SVF Vector Player", "Force Pass", Kind::SystemCommand, 1},
        {"Ctrl", "Read/Test/Write IO Pins", Kind::ControlStep, 13},
        {"Chain Integrity Test", "Execute Test", Kind::GeneratedTest, 0},
        {"Scan Suite Runner", "Test Infrastructure", Kind::GeneratedTest, 0},
        {"NAND Programming", "Test Infrastructure", Kind::GeneratedTest, 0},
        {"Jam Script Player", "Skip Operation", Kind::JamScript, 3},
        {"STAPL Script Player", "Skip Operation", Kind::StaplScript, 0},
        {"Flash Image Runner", "Check Image File's CRC", Kind::FlashProgramming, 10},
        {"Flash Image Runner", "program_and_verify", Kind::FlashProgramming, 0},
        {"Fuse Map Runner", "verify", Kind::LogicProgramming, 7},
        {"Processor Image Runner", "read(usercode)", Kind::ProcessorRunner, 5},
        {"Processor Image Runner", "check_crc()", Kind::ProcessorRunner, 10},
        {"Not a catalogue type", "Execute Test", Kind(-1), 0},
    };
    for (const auto &c : cases) {
        const SqcRecord record = SqcConversion::recordFromItem(
            *application(QString::fromLatin1(c.type), QString::fromLatin1(c.operation)));
        EXPECT_EQ(record.kind, c.kind) << c.type << " / " << c.operation;
        EXPECT_EQ(record.operationCode, c.code) << c.type << " / " << c.operation;
    }

    // the boundary-scan register test has a code of its own
    const SqcRecord bsreg = SqcConversion::recordFromItem(
        *application(QStringLiteral("Scan Suite Runner"), QStringLiteral("Test Infrastructure"),
                     {{QStringLiteral("InfraOperation"), QStringLiteral("bsreg")}}));
    EXPECT_EQ(bsreg.operationCode, 3);
    EXPECT_EQ(bsreg.thirdName, QStringLiteral("bsreg"));
    const SqcRecord infra = SqcConversion::recordFromItem(
        *application(QStringLiteral("Scan Suite Runner"), QStringLiteral("Test Infrastructure")));
    EXPECT_EQ(infra.thirdName, QStringLiteral("infra"));
}

TEST(SqcConversionTest, commonPartOfAStep)
{
    auto item = application(
        QStringLiteral("Chain Integrity Test"), QStringLiteral("Execute Test"),
        {{QStringLiteral("Flags"), QString::number(0x800000 | 0x10000 | 0x400)},
         {QStringLiteral("TckSrc"), QStringLiteral("2")},
         {QStringLiteral("TckkHz"), QStringLiteral("5000")},
         {QStringLiteral("Level"), QStringLiteral("330")},
         {QStringLiteral("Threshold"), QStringLiteral("-1")},
         {QStringLiteral("Gang"), QStringLiteral("4")},
         {QStringLiteral("ImageCRC"), QStringLiteral("4294967295")},
         {QStringLiteral("TapSState"), QStringLiteral("1")},
         {QStringLiteral("TapEState"), QStringLiteral("2")},
         {QStringLiteral("TargetAddress"), QStringLiteral("0x8000")},
         {QStringLiteral("TapInfo1.Level"), QStringLiteral("250")},
         {QStringLiteral("TapInfo1.Threshold"), QStringLiteral("-20")},
         {QStringLiteral("TapInfo2.Signals"), QStringLiteral("12")},
         {QStringLiteral("TapInfo3.Reserved"), QStringLiteral("9")},
         {QStringLiteral("TapInfo03.Signals"), QStringLiteral("7")},
         {QStringLiteral("TapInfo32.IoTimeoutMs"), QStringLiteral("100")},
         {QStringLiteral("TapInfo32.Flags"), QStringLiteral("3")}});
    item->columnItem = QStringLiteral("Chain");
    item->columnShow = QStringLiteral("Diagnostics on Fail");
    item->timeOut = 45;
    item->passAction = QStringLiteral("Prev");
    item->failAction = QStringLiteral("Stop");
    item->rejectAction = QStringLiteral("Redo");
    item->systemErrorAction = QStringLiteral("Halt");
    item->addToReport = true;
    item->saveResultsOnFail = true;

    const SqcRecord r = SqcConversion::recordFromItem(*item);
    EXPECT_EQ(QStringList({r.secondName, r.thirdName}), QStringList({"Chain", "Chain"}));
    EXPECT_EQ(r.options, quint32(SqcRecord::AddToReport | SqcRecord::SaveResultsOnFail
                                 | SqcRecord::StatusNotToSequenceStatus));
    // show, time-out, the four actions, clock source and frequency, gang,
    // CRC, TAP states and target address
    EXPECT_EQ(QList<qint64>({r.showCode, r.timeOut, r.passAction, r.failAction, r.rejectAction,
                             r.systemErrorAction, r.tckSource, r.tckKhz, r.gang, r.imageCrc,
                             r.tapStartState, r.tapEndState, r.targetAddress}),
              QList<qint64>({4, 45, 1, 2, 3, -1, 2, 5000, 5, 0xFFFFFFFF, 1, 2, 0x8000}));
    // levels in hundredths are written in whole units; negative ones stay;
    // "TapInfo03" is no TAP's key
    EXPECT_EQ(QList<qint64>({r.level, r.threshold, r.taps[0].level, r.taps[0].threshold,
                             r.taps[1].signalsField, r.taps[2].reserved, r.taps[2].signalsField,
                             r.taps[31].ioTimeoutMs, r.taps[31].flags}),
              QList<qint64>({3, -1, 2, -20, 12, 9, 0, 100, 3}));
    EXPECT_FALSE(r.hasExtension);

    // without UseTck and UseGang neither frequency nor gang is written, and
    // without the hundredths flag levels are taken as they are
    item->parameters[QStringLiteral("Flags")] = QStringLiteral("0");
    const SqcRecord plain = SqcConversion::recordFromItem(*item);
    EXPECT_EQ(QList<qint64>({plain.tckKhz, plain.gang, plain.level, plain.taps[0].level}),
              QList<qint64>({0, 0, 330, 250}));

    // pause answers
    auto pause = step(ItemType::Operation, QStringLiteral("Ctrl"), QStringLiteral("PAUSE"),
                      QStringLiteral("Insert board"));
    pause->commandEx = QStringLiteral("30,bell.wav");
    pause->columnProperty = QStringLiteral("ignored");
    pause->pauseMessageText = QStringLiteral("Insert board\nand close the lid");
    pause->pauseMessageDefaultAnswer = 1;
    pause->pauseMessageAnswerNoIsPass = true;
    pause->statusToSequenceStatus = true;
    const SqcRecord p = SqcConversion::recordFromItem(*pause);
    EXPECT_EQ(p.options, quint32(SqcRecord::PauseAnswerNoIsPass | SqcRecord::PauseDefaultAnswerNo));
    EXPECT_EQ(QStringList({p.secondName, p.thirdName, p.control.parameterText}),
              QStringList({"Insert board || and close the lid", "", "30,bell.wav"}));
    auto condition = step(ItemType::Operation, QStringLiteral("Ctrl"), QStringLiteral("IF"),
                          QStringLiteral(","));
    condition->columnProperty = QStringLiteral("item = pass");
    EXPECT_EQ(SqcConversion::recordFromItem(*condition).control.parameterText,
              QStringLiteral("item = pass"));
}

TEST(SqcConversionTest, commandLinesOfCommandDrivenSteps)
{
    const struct
    {
        const char *type;
        const char *key;
        const char *line;
        const char *written;
    } cases[] = {
        {"SVF Vector Player", "CmdLine", "svf -afoo x -M2 -b -a -abar y.svf",
         "svf -a%a x -M -b -a%a -a%a y.svf"},
        {"WGL Vector Player", "CmdLine", "wgl -a12 -M2 z", "wgl -a%a -M2 z"},
        {"NAND Programming", "CmdLine", "nand -aX -M2 -M2 ", "nand -aX -M -M2 "},
        {"Power Bus Programming", "CmdLine", "pb -M2 q", "pb -M q"},
        {"Cluster Functional Test", "CmdLineG1", "cft -a1 -M2 k", "cft -a1 -M2 k"},
        {"Processor RAM Check", "CmdLineG1", "ram", "ram"},
    };
    for (const auto &c : cases) {
        const SqcRecord r = SqcConversion::recordFromItem(*application(
            QString::fromLatin1(c.type), QStringLiteral("Execute Test"),
            {{QString::fromLatin1(c.key), QString::fromLatin1(c.line)},
             {QStringLiteral("WorkDir"), QStringLiteral("/work")}}));
        SCOPED_TRACE(c.type);
        EXPECT_EQ(r.kind, Kind::SystemCommand);
        EXPECT_EQ(QStringList({r.command.commandLine, r.command.workingDirectory}),
                  QStringList({QString::fromLatin1(c.written), "/work"}));
        EXPECT_EQ(QList<qint64>({r.command.options, r.command.passExitCode, r.command.failExitCode}),
                  QList<qint64>({SqcCommandExtension::ConsoleApp, 0, 1}));
    }

    auto command = step(ItemType::Command, QStringLiteral("Sys"),
                        QStringLiteral("Execute Command"), QStringLiteral("shown name"));
    command->command.setName(QStringLiteral("Archive"));
    command->command.setCommand(QStringLiteral("tar czf out.tgz ."));
    command->command.setDir(QStringLiteral("/tmp"));
    command->command.setConsoleApp(true);
    command->command.setEditBeforeLaunch(true);
    command->command.setAddToLaunchMenu(true);
    command->command.setPassExitCode(3);
    command->command.setFailExitCode(4);
    const SqcRecord r = SqcConversion::recordFromItem(*command);
    EXPECT_EQ(QStringList({r.secondName, r.thirdName, r.command.commandLine, r.command.workingDirectory}),
              QStringList({"Archive", "", "tar czf out.tgz .", "/tmp"}));
    EXPECT_EQ(QList<qint64>({r.command.options, r.command.passExitCode, r.command.failExitCode}),
              QList<qint64>({0x51, 3, 4}));
}

TEST(SqcConversionTest, scriptOptionsAreSetByAnyNumberButZero)
{
    const QMap<QString, QString> parameters = {
        {QStringLiteral("Action"), QStringLiteral("program")},
        {QStringLiteral("BoardTAP"), QStringLiteral("1")},
        {QStringLiteral("ProcsIncluded"), QStringLiteral("1")},
        {QStringLiteral("ProcIn0Action"), QStringLiteral("program")},
        {QStringLiteral("ProcIn0Proc"), QStringLiteral("do_erase")},
        {QStringLiteral("CheckCRC"), QStringLiteral(" 1 ")},
        {QStringLiteral("ShowNotes"), QStringLiteral("1")},
        {QStringLiteral("Erase"), QStringLiteral("8")},  // an import writes the bit's value
        {QStringLiteral("Verify"), QStringLiteral("yes")},
        {QStringLiteral("ExecuteJam"), QStringLiteral("1")},
        {QStringLiteral("Level"), QStringLiteral("25")},
    };
    const SqcRecord jam = SqcConversion::recordFromItem(
        *application(QStringLiteral("Jam Script Player"), QStringLiteral("Execute Test"),
                     parameters));
    EXPECT_EQ(jam.script.text, QStringLiteral("program"));
    EXPECT_EQ(jam.script.tapText, QStringLiteral("2,do_erase=1 "));
    EXPECT_EQ(jam.script.tapNumber(), 2);
    EXPECT_EQ(jam.script.scriptOptions, 0x7u | quint32(SqcScriptExtension::Erase));
    EXPECT_EQ(jam.script.level, 25);

    const SqcRecord stapl = SqcConversion::recordFromItem(
        *application(QStringLiteral("STAPL Script Player"), QStringLiteral("Execute Test"),
                     parameters));
    // "ExecuteJam" means nothing to a STAPL step; the writer marks STAPL
    EXPECT_EQ(stapl.script.scriptOptions, 0x1005u | quint32(SqcScriptExtension::Erase));
}

TEST(SqcConversionTest, addressesInEveryBase)
{
    const struct
    {
        const char *text;
        quint32 value;
    } cases[] = {{"0x1F", 0x1F}, {"0XfF", 0xFF}, {"0b101", 5},   {"017", 15},
                 {"0", 0},       {"42", 42},     {" 42 ", 42},   {"", 0},
                 {"0x", 0},      {"0b2", 0},     {"019", 0},     {"abc", 0},
                 {"-1", 0xFFFFFFFF}, {"0xFFFFFFFF", 0xFFFFFFFF}};
    for (const auto &c : cases)
        EXPECT_EQ(SqcConversion::parseAddress(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(SqcConversionTest, sequenceGivesItsHeaderAndRecords)
{
    HxSequence sequence(QStringLiteral("Board test"), QStringLiteral("whatever"));
    sequence.setRepeat(true);
    sequence.setRepeatCount(3);
    sequence.setGlobalGang(true);
    sequence.setStatusBannerApp(true);
    sequence.setUnitIdentification(true);
    sequence.setUnitSerialNumber(QStringLiteral("SN-17"));
    sequence.setUnitFolder(QStringLiteral("Lot 4"));
    sequence.setUnitSerialNumberManualAdjust(true);
    sequence.setUnitAutoPrompt(true);
    sequence.appendItem(application(QStringLiteral("Flash Image Runner"),
                                    QStringLiteral("Load Image File"),
                                    {{QStringLiteral("ImageFileName"), QStringLiteral("a.hex")},
                                     {QStringLiteral("Flags"), QString::number(0x404)},
                                     {QStringLiteral("Gang"), QStringLiteral("2")},
                                     {QStringLiteral("Level"), QStringLiteral("33")},
                                     {QStringLiteral("TargetAddress"), QStringLiteral("0x400")}}));
    sequence.appendItem(step(ItemType::Operation, QStringLiteral("Ctrl"), QStringLiteral("PAUSE"),
                             QStringLiteral("Wait")));
    sequence.items().last()->commandEx = QStringLiteral("20,");
    sequence.items().last()->timeOut = 20;
    sequence.appendItem(application(QStringLiteral("Processor Image Runner"),
                                    QStringLiteral("verify()"),
                                    {{QStringLiteral("Report"), QStringLiteral("yes")}}));
    sequence.appendItem(application(QStringLiteral("Fuse Map Runner"), QStringLiteral("erase"),
                                    {{QStringLiteral("Family"), QStringLiteral("Lattice")}}));

    const QDateTime when = QDateTime::fromSecsSinceEpoch(1600000000, Qt::UTC);
    const SqcFile file = SqcConversion::fileFromSequence(
        sequence, SqcConversion::NoInstrument, QStringLiteral("Board test"),
        QStringLiteral("Demo"), when);
    const SqcHeader &h = file.header();
    EXPECT_EQ(QStringList({h.instrumentName, h.sequenceName, h.windowName, h.databasePath, h.unitText1, h.unitText2}),
              QStringList({"(no instrument)", "Board test", "Board test", "Demo", "SN-17", "Lot 4"}));
    // time, flags, unit options, repeat count
    EXPECT_EQ(QList<qint64>({h.time, h.flags, h.unitOptions, h.repeatCount}),
              QList<qint64>({1600000000, 0x1 | 0x4 | 0x80 | 0x100 | 0x200, 0xA, 3}));

    // the image load is written as flash programming; the reader turns it
    // back into an image record
    const QList<SqcRecord> &r = file.records();
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(r[0].kind, Kind::FlashProgramming);
    EXPECT_EQ(r[0].flash.tapList, QStringLiteral("12"));
    // the option word's Aw bit, level and target address
    EXPECT_EQ(QList<quint32>({r[0].flash.words[SqcFlashExtension::OptionWord] & 0x1,
                              r[0].flash.words[SqcFlashExtension::LevelWord],
                              r[0].flash.words[SqcFlashExtension::TargetAddressWord]}),
              QList<quint32>({0x1, 33, 0x400}));
    EXPECT_EQ(QList<qint64>({r[1].timeOut, r[2].logic.words[0]}), QList<qint64>({20, 2}));
    EXPECT_EQ(r[3].logic.texts[0], QStringLiteral("Lattice"));
}

TEST(SqcConversionTest, companionNamesEveryApplicationFileOnce)
{
    HxSequence sequence(QStringLiteral("Seq"), QString());
    auto jam = application(QStringLiteral("Jam Script Player"), QStringLiteral("Execute Test"),
                           {{QStringLiteral("JamDirPath"), QStringLiteral("/p/jam")},
                            {QStringLiteral("JamBaseName"), QStringLiteral("t.jam")},
                            {QStringLiteral("ImageLoadFileName"), QStringLiteral("/p/i.bin")}});
    jam->columnItem = QStringLiteral("JamApp");
    auto again = std::make_shared<HxSequenceItem>(*jam);
    auto flash = application(QStringLiteral("Flash Image Runner"), QStringLiteral("x"),
                             {{QStringLiteral("FlashAPLBaseName"), QStringLiteral("f.apl")},
                              {QStringLiteral("NameG1"), QString()}});
    flash->columnItem = QStringLiteral("Flash");
    // a command step names no application files even with such a key
    auto command = step(ItemType::Command, QStringLiteral("Sys"), QStringLiteral("x"),
                        QStringLiteral("c"), {{QStringLiteral("APLBaseName"), QStringLiteral("z")}});
    sequence.setItems({jam, again, flash, command});

    const SqmFile companion = SqcConversion::companionFromSequence(sequence, QStringLiteral("Seq"));
    EXPECT_EQ(companion.toData(),
              QByteArray("\"/p/jam/t.jam\"\t\"<ExtractPath>\\Seq\\JamApp\"\r\n"
                         "\"/p/i.bin\"\t\"<ExtractPath>\\Seq\\JamApp\"\r\n"
                         "\"f.apl\"\t\"<ExtractPath>\\Seq\\Flash\"\r\n"));

    const struct
    {
        const char *sqc;
        const char *sqm;
    } names[] = {{"/a/b.sqc", "/a/b.sqm"}, {"/a/B.SQC", "/a/B.sqm"}, {"/a/b", "/a/b.sqm"},
                 {"/a.sqc/b.txt", "/a.sqc/b.txt.sqm"}};
    for (const auto &n : names)
        EXPECT_EQ(SqmFile::companionFileName(QString::fromLatin1(n.sqc)),
                  QString::fromLatin1(n.sqm));
}

TEST_F(PromptedTest, saveWritesBothFilesOrLeavesNone)
{
    TemporaryFolder project;
    HxSequence sequence(QStringLiteral("Board"), QString());
    sequence.appendItem(application(QStringLiteral("Processor Image Runner"),
                                    QStringLiteral("erase()"),
                                    {{QStringLiteral("PPCBaseName"), QStringLiteral("cpu.ppc")}}));
    const QString folder = legacySequenceFolder(project.path(), sequence.title());
    const QString path = legacySequenceFileName(project.path(), sequence.title());
    EXPECT_EQ(legacySequenceFileName(QStringLiteral("/proj/"), QString()),
              QStringLiteral("/proj/Sequences/untitled.sqc"));

    ASSERT_TRUE(saveLegacySequence(link, path, SqcConversion::NoInstrument, sequence.title(),
                                   folder, sequence, QStringLiteral("Demo")));
    EXPECT_TRUE(prompt.asked.isEmpty());
    SqcFile read;
    ASSERT_TRUE(read.read(path));
    // written record by record, it holds what the whole file made at once holds
    EXPECT_EQ(read.records(), SqcConversion::fileFromSequence(sequence, SqcConversion::NoInstrument,
                                                              sequence.title(), QStringLiteral("Demo"))
                                  .records());
    SqmFile companion;
    ASSERT_TRUE(companion.read(SqmFile::companionFileName(path)));
    ASSERT_EQ(companion.entries().size(), 1);
    EXPECT_EQ(companion.entries()[0].place, QStringLiteral("<ExtractPath>\\Board\\App"));

    // the companion cannot be written: the sequence file goes too
    QFile::remove(SqmFile::companionFileName(path));
    QDir().mkpath(SqmFile::companionFileName(path));
    EXPECT_FALSE(saveLegacySequence(link, path, SqcConversion::NoInstrument, sequence.title(),
                                    folder, sequence, QStringLiteral("Demo")));
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0].icon, int(VemoInterface::HxiPrompt::Warning));
    EXPECT_EQ(QStringList({prompt.asked[0].caption, prompt.asked[0].text}),
              QStringList({"Saving Sequence...", QStringLiteral("Can't open: ") + SqmFile::companionFileName(path)}));

    // the folder cannot be made: nothing is written
    const QString blocked = project.write(QStringLiteral("Sequences/Blocked"), "a file");
    const QString blockedFile = blocked + QStringLiteral("/Blocked.sqc");
    QString message;
    EXPECT_FALSE(writeLegacySequence(blockedFile, SqcConversion::NoInstrument,
                                     QStringLiteral("Blocked"), blocked, sequence,
                                     QStringLiteral("Demo"), &message));
    EXPECT_EQ(message, QStringLiteral("Can't open: ") + blockedFile);
}

TEST_F(PromptedTest, loadShowsTheErrorBoxOnFailure)
{
    TemporaryFolder folder;
    QByteArray data = SqcFile().toData();
    data[400] = 'x';
    const QString damaged = folder.write(QStringLiteral("damaged.sqc"), data);

    EXPECT_FALSE(loadLegacySequence(link, nullptr, damaged).has_value());
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_EQ(prompt.asked[0].icon, int(VemoInterface::HxiPrompt::Warning));
    EXPECT_EQ(QStringList({prompt.asked[0].caption, prompt.asked[0].text}),
              QStringList({"Loading Sequence...", QStringLiteral("Bad sum check: ") + damaged}));
}
