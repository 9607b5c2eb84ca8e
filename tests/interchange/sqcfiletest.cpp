#include "sqcfile.h"

#include "legacyfilebuilder.h"
#include "qstringprinter.h"
#include "temporaryfolder.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using Kind = SqcRecord::Kind;

using Builder = LegacyFileBuilder;
using Record = LegacyFileBuilder::Record;

// A record of `kind` with its operation code and third name set.
Record record(quint32 kind, quint32 code, const QByteArray &thirdName = {}, bool withExtension = true)
{
    Record result(kind, withExtension);
    result.operation(code).text(512, thirdName);
    return result;
}

// A current file whose records carry their target address in the common part.
QByteArray currentFile(const QList<Record> &records)
{
    Builder builder;
    builder.sequenceFlags(SqcHeader::TargetAddressInCommonPart);
    for (const Record &r : records)
        builder.add(r);
    return builder.bytes();
}

// The texts of a header: instrument, database, sequence, the two unit texts, window.
QStringList texts(const SqcHeader &h)
{
    return {h.instrumentName, h.databasePath, h.sequenceName, h.unitText1, h.unitText2, h.windowName};
}

void putU32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

// One record of every kind, each with values in every field of its extension.
QList<SqcRecord> recordOfEveryKind()
{
    QList<SqcRecord> records;
    const auto base = [](Kind kind, const QString &name) {
        SqcRecord record;
        record.kind = kind;
        record.firstName = QStringLiteral("C:/Apps/") + name;
        record.secondName = name;
        record.thirdName = QStringLiteral("&") + name;
        record.timeOut = 15;
        record.options = SqcRecord::AddToReport | SqcRecord::SaveResultsOnFail;
        record.showCode = 2;
        record.itemWord792 = 7;
        record.passAction = 0;
        record.failAction = 2;
        record.rejectAction = 3;
        record.systemErrorAction = -1;
        record.tckSource = 1;
        record.tckKhz = 10000;
        record.level = -1;
        record.gang = 0x5;
        record.instrumentFlags = 0x10010400;
        record.imageCrc = 0xCAFEBABE;
        record.threshold = 140;
        record.taps[0].flags = 0x800;
        record.taps[0].level = 330;
        record.taps[31].ioTimeoutMs = 2500;
        record.taps[31].signalsField = -7;
        record.tapStartState = 1;
        record.tapEndState = 2;
        record.targetAddress = 0x80000000;
        record.hasExtension = SqcRecord::extensionSize(kind, SqcHeader::CurrentVersion) > 0;
        return record;
    };

    SqcRecord command = base(Kind::SystemCommand, QStringLiteral("Copy logs"));
    command.command = {QStringLiteral("cp -r logs /srv"), QStringLiteral("/tmp"), 0x45, 0, 3};
    records.append(command);

    SqcRecord flash = base(Kind::FlashProgramming, QStringLiteral("Boot flash"));
    flash.flash.text = QStringLiteral("boot.hex");
    flash.flash.tapList = QStringLiteral("24");
    flash.flash.words = {1, 2, 3, 4, 5, 6, 7, 8};
    records.append(flash);

    SqcRecord logic = base(Kind::LogicProgramming, QStringLiteral("CPLD"));
    logic.logic.texts = {QStringLiteral("Xilinx XC9500(XL) - JEDEC"), QStringLiteral("30"),
                         QStringLiteral("0xFFFF")};
    logic.logic.words = {30, 2, 5, 0, 9};
    records.append(logic);

    records.append(base(Kind::GeneratedTest, QStringLiteral("Chain")));

    SqcRecord control = base(Kind::ControlStep, QStringLiteral("Insert board"));
    control.control.parameterText = QStringLiteral("15,ding.wav");
    records.append(control);

    SqcRecord image = base(Kind::FlashImage, QStringLiteral("Image"));
    image.operationCode = 7;
    image.flash.text = QStringLiteral("image.bin");
    image.flash.tapList = QStringLiteral("1");
    image.flash.words = {8, 7, 6, 5, 4, 3, 2, 1};
    records.append(image);

    SqcRecord jam = base(Kind::JamScript, QStringLiteral("Jam"));
    jam.script = {QStringLiteral("program"), QStringLiteral("3,p1=1 p2=0 "), 0x1, 0x23, 33, 4};
    records.append(jam);

    SqcRecord stapl = base(Kind::StaplScript, QStringLiteral("Stapl"));
    stapl.script = {QStringLiteral("verify"), QStringLiteral("1,"), 0, 0x1041, -1, 0};
    records.append(stapl);

    SqcRecord processor = base(Kind::ProcessorRunner, QStringLiteral("CPU"));
    processor.logic.texts = {QStringLiteral("cpu.ppc"), QStringLiteral("cpu.ini"), QString()};
    processor.logic.words = {1, 0, 0, 3, 4};
    records.append(processor);

    records.append(base(Kind(9), QStringLiteral("Future kind")));
    return records;
}

} // namespace

TEST(SqcFileTest, writtenFileReadsBackRecordForRecord)
{
    TemporaryFolder folder;
    const QString path = folder.filePath(QStringLiteral("every kind.sqc"));

    SqcHeader header;
    header.time = 1234567890;
    header.word24 = 99;
    header.instrumentName = QStringLiteral("(no instrument)");
    header.databasePath = QStringLiteral("Demo project");
    header.sequenceName = QStringLiteral("Prüfung");  // a Latin-1 character survives
    header.unitOptions = SqcHeader::UnitAutoPrompt | SqcHeader::UnitSubDirIsSerialNumber;
    header.unitText1 = QStringLiteral("SN0001");
    header.unitText2 = QStringLiteral("Batch 7");
    header.words964 = {1, 2, 3};
    header.repeatCount = 4;
    header.flags = SqcHeader::Repeat | SqcHeader::GlobalGang;
    header.windowName = QStringLiteral("Prüfung");

    SqcFile written;
    written.setHeader(header);
    written.setRecords(recordOfEveryKind());
    ASSERT_TRUE(written.write(path)) << written.errorString().toStdString();

    SqcFile read;
    ASSERT_TRUE(read.read(path)) << read.errorString().toStdString();
    EXPECT_TRUE(read.errorString().isEmpty());
    ASSERT_EQ(read.records().size(), written.records().size());
    for (int i = 0; i < read.records().size(); ++i)
        EXPECT_EQ(read.records()[i], written.records()[i]) << "record " << i;

    SqcHeader expected = header;
    expected.flags |= SqcHeader::TargetAddressInCommonPart;  // the writer always adds it
    expected.checksum = read.header().checksum;
    EXPECT_EQ(read.header(), expected);
    EXPECT_EQ(read.header().checksum, SqcHeader::computeChecksum(written.writtenHeader().toBytes()));

    // writing from memory gives the same bytes as writing the file
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.toData(), file.readAll());
}

TEST(SqcFileTest, readsVersion64BytesByBytes)
{
    Builder builder(SqcHeader::Version64, SqcHeader::Size64);
    builder.headerWord(12, 1700000000).headerText(28, "JTAG Controller 1")
        .headerText(108, "C:\\Projects\\Board").headerText(364, "Board test")
        .unit(SqcHeader::UnitSerialNumberManualAdjust | SqcHeader::UnitAutoPrompt, "SN-0001", "LOT-42");
    // a pause: no parameter text before 8.0, so its own time-out stands
    builder.add(record(Builder::Control, 0, {}, false).text(256, "Insert board").timeOut(30));
    // image compare stored as flash programming: becomes kind 5; gang, level
    // and the Aw flag come from the extension, and so does the target
    // address, the header lacking flag 0x100
    builder.add(record(Builder::FlashProgramming, 7, "Compare").word(2404, 0xDEAD)
                    .extensionText(0, "image.hex").extensionText(256, "13").extensionWord(516, 0x1)
                    .extensionWord(524, 0x1000).extensionWord(536, 33));
    // the same for a record that keeps kind 1, with a TAP list that is not one
    builder.add(record(Builder::FlashProgramming, 0, "Program").extensionText(256, "15")
                    .extensionWord(536, 25));
    builder.add(record(Builder::GeneratedTest, 0, "Chain&Test"));

    SqcFile file;
    ASSERT_TRUE(file.readData(builder.bytes()))
        << file.errorString().toStdString();
    const SqcHeader &h = file.header();
    EXPECT_EQ(texts(h), QStringList({"JTAG Controller 1", "C:\\Projects\\Board", "Board test", "SN-0001", "LOT-42", ""}));
    // version, time, unit options, repeat count, flags
    EXPECT_EQ(QList<quint32>({h.version, h.time, h.unitOptions, quint32(h.repeatCount), h.flags}),
              QList<quint32>({SqcHeader::Version64, 1700000000u, 0xAu, 0, 0}));

    const QList<SqcRecord> &r = file.records();
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(QList<Kind>({r[0].kind, r[1].kind, r[2].kind, r[3].kind}),
              QList<Kind>({Kind::ControlStep, Kind::FlashImage, Kind::FlashProgramming, Kind::GeneratedTest}));
    EXPECT_EQ(QStringList({r[0].displayName(), r[1].flash.text, r[3].displayName()}),
              QStringList({"Insert board", "image.hex", "ChainTest"}));
    EXPECT_EQ(r[0].timeOut, 30);
    EXPECT_FALSE(r[0].hasExtension);
    // gang, level, flags and target address of the two flash records
    EXPECT_EQ(QList<quint32>({r[1].gang, quint32(r[1].level), r[1].instrumentFlags, r[1].targetAddress,
                              r[2].gang, quint32(r[2].level), r[2].instrumentFlags}),
              QList<quint32>({0x5, 33, 0x4, 0x1000, 0, 25, 0}));

    // written again, the file is a current one that reads the same
    SqcFile again;
    ASSERT_TRUE(again.readData(file.toData()));
    EXPECT_EQ(again.header().version, SqcHeader::Version120);
    ASSERT_EQ(again.records().size(), 4);
    EXPECT_EQ(again.records()[0].timeOut, 30);
    EXPECT_EQ(again.records()[1].targetAddress, 0x1000u);
    EXPECT_EQ(again.records()[1].gang, 0x5u);
}

TEST(SqcFileTest, readsVersion81BytesByBytes)
{
    Builder builder(SqcHeader::Version81, SqcHeader::Size81);
    builder.headerText(28, "Pod A").headerText(108, "Demo")
        .headerText(124, "Sixteen chars!!!")  // fills its 16 bytes, no terminator
        .headerWord(140, SqcHeader::UnitSubDirManualAdjust).headerText(144, "SN-9").headerText(225, "Lot 3");
    builder.add(record(Builder::Control, 13).timeOut(999).flags(0x1).extensionText(0, "  12abc"))
        .add(record(Builder::Control, 4).extensionText(0, "start here"))
        .add(record(Builder::Jam, 0, "Erase").extensionText(0, "erase").extensionText(256, "2,blank=1 ")
                 .extensionWord(516, 0x9).extensionWord(520, 33));
    const QByteArray data = builder.bytes();

    SqcFile file;
    ASSERT_TRUE(file.readData(data)) << file.errorString().toStdString();
    const SqcHeader &h = file.header();
    EXPECT_EQ(h.version, SqcHeader::Version81);
    EXPECT_EQ(texts(h), QStringList({"Pod A", "Demo", "Sixteen chars!!!", "SN-9", "Lot 3", ""}));
    EXPECT_EQ(h.unitOptions, quint32(SqcHeader::UnitSubDirManualAdjust));
    // the moved header keeps its sum
    EXPECT_EQ(h.checksum, SqcHeader::computeChecksum(SqcHeader::toCurrentLayout(data.left(SqcHeader::Size81), h.version)));

    const QList<SqcRecord> &r = file.records();
    ASSERT_EQ(r.size(), 3);
    // the I/O pins time-out comes from its text; the label has none
    EXPECT_EQ(QList<qint64>({r[0].timeOut, r[0].instrumentFlags, r[1].timeOut, r[2].script.tapNumber(),
                             r[2].script.scriptOptions, r[2].script.level}),
              QList<qint64>({12, 0x10008001, 0, 2, 0x9, 33}));
    EXPECT_EQ(QStringList({r[1].control.parameterText, r[2].script.tapTextRest()}),
              QStringList({"start here", "blank=1 "}));
}

TEST(SqcFileTest, kind8ExtensionOnlyWhenItsWordIsZero)
{
    const Record withExtension
        = record(Builder::Processor, 10, "CPU").extensionWord(768, 1).extensionWord(784, 4);
    // the next record's third name is where the extension's word 512 would be
    const Record without = record(Builder::Processor, 0, "ISC", false);
    const Record next = record(Builder::GeneratedTest, 0, "Chain");

    SqcFile file;
    ASSERT_TRUE(file.readData(currentFile({withExtension, without, next})))
        << file.errorString().toStdString();
    ASSERT_EQ(file.records().size(), 3);
    EXPECT_TRUE(file.records()[0].hasExtension);
    EXPECT_EQ(file.records()[0].logic.words[0], 1u);
    EXPECT_EQ(file.records()[0].logic.words[4], 4u);
    EXPECT_FALSE(file.records()[1].hasExtension);
    EXPECT_EQ(file.records()[2].thirdName, QStringLiteral("Chain"));

    // a kind 8 record whose extension is cut off is damaged like any other
    SqcFile last;
    EXPECT_FALSE(last.readData(currentFile({record(Builder::Processor, 10, "CPU", false)})));
    EXPECT_EQ(last.error(), SqcFile::ReadError);
}

TEST(SqcFileTest, damagedFilesGiveTheirErrorText)
{
    const QByteArray good = currentFile({record(Builder::GeneratedTest, 0, "Chain")});
    QByteArray badSum = good;
    putU32(badSum, 8, SqcHeader::storedChecksum(good) + 1);
    QByteArray wrongMagic = good;
    putU32(wrongMagic, 0, 0x02950871);
    const QByteArray version70 = Builder(0x00070000).bytes();
    const QByteArray version91 = Builder(0x00090001).bytes();
    // a damaged record is reported as such, not as the sum it also breaks
    QByteArray badSumAndShortRecord = badSum + QByteArray(100, 'x');
    const QByteArray shortExtension = currentFile({record(Builder::Command, 0)}).chopped(1);
    const QByteArray offsetPastEnd = Builder().headerWord(16, quint32(good.size() + 1))
                                         .add(record(Builder::GeneratedTest, 0)).bytes();

    const struct
    {
        const char *what;
        QByteArray data;
        SqcFile::Error error;
        const char *text;
    } cases[] = {
        {"nothing", QByteArray(), SqcFile::BadHeader, "Bad Header"},
        {"seven bytes", good.left(7), SqcFile::BadHeader, "Bad Header"},
        {"wrong magic", wrongMagic, SqcFile::WrongType, "Wrong type"},
        {"version 7.0", version70, SqcFile::IncompatibleVersion, "Incompatible file version"},
        {"version 9.1", version91, SqcFile::IncompatibleVersion, "Incompatible file version"},
        {"short header", good.left(SqcHeader::Size - 1), SqcFile::BadHeader, "Bad Header"},
        {"short 8.1 header", Builder(SqcHeader::Version81, 300).bytes(), SqcFile::BadHeader, "Bad Header"},
        {"record cut short", good.left(good.size() - 1), SqcFile::ReadError, "Read error"},
        {"extension cut short", shortExtension, SqcFile::ReadError, "Read error"},
        {"first record past the end", offsetPastEnd, SqcFile::ReadError, "Read error"},
        {"wrong checksum", badSum, SqcFile::BadSumCheck, "Bad sum check"},
        {"both", badSumAndShortRecord, SqcFile::ReadError, "Read error"},
    };

    TemporaryFolder folder;
    for (const auto &c : cases) {
        const QString path = folder.write(QStringLiteral("damaged.sqc"), c.data);
        SqcFile file;
        EXPECT_FALSE(file.read(path)) << c.what;
        EXPECT_EQ(file.error(), c.error) << c.what;
        EXPECT_EQ(file.errorString(), QString::fromLatin1(c.text) + QStringLiteral(": ") + path)
            << c.what;
        EXPECT_TRUE(file.records().isEmpty()) << c.what;
    }

    SqcFile missing;
    const QString missingPath = folder.filePath(QStringLiteral("missing.sqc"));
    EXPECT_FALSE(missing.read(missingPath));
    EXPECT_EQ(missing.errorString(), QStringLiteral("Can't open: ") + missingPath);

    // a file that ends right after a record is complete
    SqcFile complete;
    EXPECT_TRUE(complete.readData(good));
    EXPECT_EQ(complete.records().size(), 1);
}

TEST(SqcFileTest, firstRecordOffsetIsHonoured)
{
    const Record after = record(Builder::GeneratedTest, 0, "After gap");
    Builder builder(SqcHeader::Version90);
    builder.sequenceFlags(0x100).headerWord(16, SqcHeader::Size + 16).addBytes(QByteArray(16, '\x7f')).add(after);
    SqcFile file;
    ASSERT_TRUE(file.readData(builder.bytes())) << file.errorString().toStdString();
    ASSERT_EQ(file.records().size(), 1);
    EXPECT_EQ(file.records()[0].thirdName, QStringLiteral("After gap"));

    // at the end there are no steps
    builder.headerWord(16, quint32(builder.bytes().size()));
    ASSERT_TRUE(file.readData(builder.bytes())) << file.errorString().toStdString();
    EXPECT_TRUE(file.records().isEmpty());
}

namespace {

// Takes a limited number of bytes, then refuses, as a full disk does.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 room) : room(room) { open(QIODevice::WriteOnly); }
    qint64 written = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        const qint64 taken = qMin(size, room - written);
        written += taken;
        return taken > 0 ? taken : -1;
    }

private:
    qint64 room;
};

} // namespace

TEST(SqcFileTest, writeFailuresStopAndSayWhy)
{
    SqcFile file;
    file.setRecords(recordOfEveryKind());
    file.setFileName(QStringLiteral("full.sqc"));

    FullDevice full(SqcHeader::Size + SqcRecord::CommonSize + 10);
    EXPECT_FALSE(file.write(&full));
    EXPECT_EQ(file.errorString(), QStringLiteral("Write error: full.sqc"));
    EXPECT_EQ(full.written, SqcHeader::Size + SqcRecord::CommonSize + 10);

    TemporaryFolder folder;
    const QString inMissingFolder = folder.filePath(QStringLiteral("no/such/folder/x.sqc"));
    EXPECT_FALSE(file.write(inMissingFolder));
    EXPECT_EQ(file.error(), SqcFile::CantOpen);
    EXPECT_EQ(file.errorString(), QStringLiteral("Can't open: ") + inMissingFolder);
    EXPECT_FALSE(QFile::exists(inMissingFolder));
}

TEST(SqcFileTest, tapListsAndLeadingNumbers)
{
    const struct
    {
        const char *text;
        quint32 set;
    } lists[] = {{"", 0}, {"1", 0x1}, {"24", 0xA}, {"1234", 0xF}, {"31", 0x5},
                 {"15", 0}, {"1 2", 0}, {"0", 0}, {"12a", 0}};
    for (const auto &l : lists)
        EXPECT_EQ(SqcRecord::tapSetFromText(QString::fromLatin1(l.text)), l.set) << l.text;
    for (quint32 set = 0; set < 16; ++set)
        EXPECT_EQ(SqcRecord::tapSetFromText(SqcRecord::tapSetToText(set)), set) << set;
    EXPECT_EQ(SqcRecord::tapSetToText(0xF0), QString());

    const struct
    {
        const char *text;
        qint32 number;
    } numbers[] = {{"30,beep.wav", 30}, {"  -5x", -5}, {"+7", 7}, {"", 0},  {",", 0},
                   {"abc", 0},          {"\t12", 12}, {"99999999999", 2147483647},
                   {"-99999999999", -2147483647 - 1}};
    for (const auto &n : numbers)
        EXPECT_EQ(SqcRecord::leadingNumber(QString::fromLatin1(n.text)), n.number) << n.text;
}
