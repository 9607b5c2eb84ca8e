#include "sqcfile.h"

#include "temporaryfolder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Kind = SqcRecord::Kind;

// Byte-level builders, so that old files can be laid out exactly as the
// stations wrote them, independently of the writer under test.
void putU32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

void putText(QByteArray &bytes, int offset, const char *text)
{
    std::memcpy(bytes.data() + offset, text, std::strlen(text));
}

// The sum of signed bytes with the checksum field taken as zero.
void sealHeader(QByteArray &header)
{
    putU32(header, 8, 0);
    quint32 sum = 0;
    for (const char byte : header)
        sum += quint32(qint32(qint8(byte)));
    putU32(header, 8, sum);
}

QByteArray header(quint32 version, int size, quint32 flags = 0)
{
    QByteArray bytes(size, '\0');
    putU32(bytes, 0, SqcHeader::Magic);
    putU32(bytes, 4, version);
    putU32(bytes, 12, 1700000000);
    putU32(bytes, 16, quint32(size));
    if (size == SqcHeader::Size)
        putU32(bytes, 980, flags);
    return bytes;
}

QByteArray commonPart(Kind kind, qint32 code, const char *thirdName = "")
{
    QByteArray bytes(SqcRecord::CommonSize, '\0');
    putText(bytes, 512, thirdName);
    putU32(bytes, 776, quint32(kind));
    putU32(bytes, 780, quint32(code));
    return bytes;
}

QByteArray currentFile(const QList<QByteArray> &parts, quint32 flags = SqcHeader::TargetAddressInCommonPart)
{
    QByteArray bytes = header(SqcHeader::Version120, SqcHeader::Size, flags);
    sealHeader(bytes);
    for (const QByteArray &part : parts)
        bytes += part;
    return bytes;
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

    // Every kind has its extension size; kind 8 only when present, kind 9
    // and generated tests none.
    const int extensionSizes[] = {524, 544, 788, 0, 256, 544, 528, 528, 788, 0};
    qint64 expectedSize = SqcHeader::Size;
    for (const int size : extensionSizes)
        expectedSize += SqcRecord::CommonSize + size;
    EXPECT_EQ(QFileInfo(path).size(), expectedSize);

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

TEST(SqcFileTest, emptySequenceIsAHeaderAlone)
{
    SqcFile empty;
    const QByteArray data = empty.toData();
    EXPECT_EQ(data.size(), SqcHeader::Size);
    SqcFile read;
    ASSERT_TRUE(read.readData(data));
    EXPECT_TRUE(read.records().isEmpty());
    EXPECT_EQ(read.header().version, SqcHeader::Version120);
    EXPECT_EQ(read.header().firstRecordOffset, quint32(SqcHeader::Size));
}

TEST(SqcFileTest, checksumTakesBytesAsSigned)
{
    // magic 70 08 95 02 -> 112 + 8 - 107 + 2; version 00 00 0C 00 -> 12;
    // first record at 1076 = 34 04 -> 56
    SqcHeader header;
    EXPECT_EQ(SqcHeader::computeChecksum(header.toBytes()), 15u + 12u + 56u);
    header.sequenceName = QStringLiteral("\u00FC");  // 0xFC counts as -4
    EXPECT_EQ(SqcHeader::computeChecksum(header.toBytes()), 83u - 4u);
    header.sequenceName = QStringLiteral("\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC"
                                         "\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC"
                                         "\u00FC\u00FC\u00FC\u00FC\u00FC\u00FC");
    EXPECT_EQ(SqcHeader::computeChecksum(header.toBytes()), quint32(83 - 4 * 22));
    // the stored checksum never counts itself
    QByteArray bytes = header.toBytes();
    const quint32 sum = SqcHeader::computeChecksum(bytes);
    putU32(bytes, 8, 0xFFFFFFFF);
    EXPECT_EQ(SqcHeader::computeChecksum(bytes), sum);
}

TEST(SqcFileTest, readsVersion64BytesByBytes)
{
    QByteArray head = header(SqcHeader::Version64, SqcHeader::Size64);
    putText(head, 28, "JTAG Controller 1");
    putText(head, 108, "C:\\Projects\\Board");
    putText(head, 364, "Board test");
    putU32(head, 620, SqcHeader::UnitSerialNumberManualAdjust | SqcHeader::UnitAutoPrompt);
    putText(head, 624, "SN-0001");
    putText(head, 705, "LOT-42");
    sealHeader(head);

    // a pause: no parameter text before 8.0, so its own time-out stands
    QByteArray pause = commonPart(Kind::ControlStep, 0);
    putText(pause, 256, "Insert board");
    putU32(pause, 768, 30);

    // image compare stored as flash programming: becomes kind 5; gang, level
    // and the Aw flag come from the extension, and so does the target
    // address, the header lacking flag 0x100
    QByteArray compare = commonPart(Kind::FlashProgramming, 7, "Compare");
    putU32(compare, 2404, 0xDEAD);
    QByteArray flashExtension(SqcRecord::FlashExtensionSize, '\0');
    putText(flashExtension, 0, "image.hex");
    putText(flashExtension, 256, "13");
    putU32(flashExtension, 512 + 4, 0x1);
    putU32(flashExtension, 512 + 12, 0x1000);
    putU32(flashExtension, 512 + 24, 33);

    // the same for a record that keeps kind 1, with a TAP list that is not one
    QByteArray program = commonPart(Kind::FlashProgramming, 0, "Program");
    QByteArray programExtension(SqcRecord::FlashExtensionSize, '\0');
    putText(programExtension, 256, "15");
    putU32(programExtension, 512 + 24, 25);

    QByteArray test = commonPart(Kind::GeneratedTest, 0, "Chain&Test");

    SqcFile file;
    ASSERT_TRUE(file.readData(head + pause + compare + flashExtension + program
                              + programExtension + test))
        << file.errorString().toStdString();
    const SqcHeader &h = file.header();
    EXPECT_EQ(h.version, SqcHeader::Version64);
    EXPECT_EQ(h.time, 1700000000u);
    EXPECT_EQ(h.instrumentName, QStringLiteral("JTAG Controller 1"));
    EXPECT_EQ(h.databasePath, QStringLiteral("C:\\Projects\\Board"));
    EXPECT_EQ(h.sequenceName, QStringLiteral("Board test"));
    EXPECT_EQ(h.unitOptions, 0xAu);
    EXPECT_EQ(h.unitText1, QStringLiteral("SN-0001"));
    EXPECT_EQ(h.unitText2, QStringLiteral("LOT-42"));
    EXPECT_EQ(h.repeatCount, 0);
    EXPECT_EQ(h.flags, 0u);
    EXPECT_TRUE(h.windowName.isEmpty());

    const QList<SqcRecord> &records = file.records();
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0].kind, Kind::ControlStep);
    EXPECT_EQ(records[0].timeOut, 30);
    EXPECT_FALSE(records[0].hasExtension);
    EXPECT_EQ(records[0].displayName(), QStringLiteral("Insert board"));

    EXPECT_EQ(records[1].kind, Kind::FlashImage);
    EXPECT_EQ(records[1].gang, 0x5u);
    EXPECT_EQ(records[1].level, 33);
    EXPECT_EQ(records[1].instrumentFlags, 0x4u);
    EXPECT_EQ(records[1].targetAddress, 0x1000u);
    EXPECT_EQ(records[1].flash.text, QStringLiteral("image.hex"));

    EXPECT_EQ(records[2].kind, Kind::FlashProgramming);
    EXPECT_EQ(records[2].gang, 0u);
    EXPECT_EQ(records[2].level, 25);
    EXPECT_EQ(records[2].instrumentFlags, 0u);

    EXPECT_EQ(records[3].kind, Kind::GeneratedTest);
    EXPECT_EQ(records[3].displayName(), QStringLiteral("ChainTest"));

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
    QByteArray head = header(SqcHeader::Version81, SqcHeader::Size81);
    putText(head, 28, "Pod A");
    putText(head, 108, "Demo");
    putText(head, 124, "Sixteen chars!!!");  // fills its 16 bytes, no terminator
    putU32(head, 140, SqcHeader::UnitSubDirManualAdjust);
    putText(head, 144, "SN-9");
    putText(head, 225, "Lot 3");
    sealHeader(head);

    QByteArray ioPins = commonPart(Kind::ControlStep, 13);
    putU32(ioPins, 768, 999);
    putU32(ioPins, 848, 0x1);
    QByteArray ioText(SqcRecord::ControlExtensionSize, '\0');
    putText(ioText, 0, "  12abc");

    QByteArray label = commonPart(Kind::ControlStep, 4);
    QByteArray labelText(SqcRecord::ControlExtensionSize, '\0');
    putText(labelText, 0, "start here");

    QByteArray jam = commonPart(Kind::JamScript, 0, "Erase");
    QByteArray jamExtension(SqcRecord::ScriptExtensionSize, '\0');
    putText(jamExtension, 0, "erase");
    putText(jamExtension, 256, "2,blank=1 ");
    putU32(jamExtension, 516, 0x9);
    putU32(jamExtension, 520, 33);

    SqcFile file;
    ASSERT_TRUE(file.readData(head + ioPins + ioText + label + labelText + jam + jamExtension))
        << file.errorString().toStdString();
    const SqcHeader &h = file.header();
    EXPECT_EQ(h.version, SqcHeader::Version81);
    EXPECT_EQ(h.instrumentName, QStringLiteral("Pod A"));
    EXPECT_EQ(h.databasePath, QStringLiteral("Demo"));
    EXPECT_EQ(h.sequenceName, QStringLiteral("Sixteen chars!!!"));
    EXPECT_EQ(h.unitOptions, quint32(SqcHeader::UnitSubDirManualAdjust));
    EXPECT_EQ(h.unitText1, QStringLiteral("SN-9"));
    EXPECT_EQ(h.unitText2, QStringLiteral("Lot 3"));
    // the moved header keeps its sum
    EXPECT_EQ(h.checksum, SqcHeader::computeChecksum(SqcHeader::toCurrentLayout(head, h.version)));

    const QList<SqcRecord> &records = file.records();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].timeOut, 12);
    EXPECT_EQ(records[0].instrumentFlags, 0x10008001u);
    EXPECT_EQ(records[1].timeOut, 0);
    EXPECT_EQ(records[1].control.parameterText, QStringLiteral("start here"));
    EXPECT_EQ(records[2].script.tapNumber(), 2);
    EXPECT_EQ(records[2].script.tapTextRest(), QStringLiteral("blank=1 "));
    EXPECT_EQ(records[2].script.scriptOptions, 0x9u);
    EXPECT_EQ(records[2].script.level, 33);
}

TEST(SqcFileTest, kind8ExtensionOnlyWhenItsWordIsZero)
{
    QByteArray withExtension = commonPart(Kind::ProcessorRunner, 10, "CPU");
    QByteArray extension(SqcRecord::LogicExtensionSize, '\0');
    putU32(extension, 768, 1);
    putU32(extension, 784, 4);
    // the next record's third name is where the extension's word 512 would be
    QByteArray without = commonPart(Kind::ProcessorRunner, 0, "ISC");
    QByteArray next = commonPart(Kind::GeneratedTest, 0, "Chain");

    SqcFile file;
    ASSERT_TRUE(file.readData(currentFile({withExtension, extension, without, next})))
        << file.errorString().toStdString();
    ASSERT_EQ(file.records().size(), 3);
    EXPECT_TRUE(file.records()[0].hasExtension);
    EXPECT_EQ(file.records()[0].logic.words[0], 1u);
    EXPECT_EQ(file.records()[0].logic.words[4], 4u);
    EXPECT_FALSE(file.records()[1].hasExtension);
    EXPECT_EQ(file.records()[2].thirdName, QStringLiteral("Chain"));

    // a kind 8 record whose extension is cut off is damaged like any other
    SqcFile last;
    EXPECT_FALSE(last.readData(currentFile({withExtension})));
    EXPECT_EQ(last.error(), SqcFile::ReadError);
}

TEST(SqcFileTest, damagedFilesGiveTheirErrorText)
{
    const QByteArray good = currentFile({commonPart(Kind::GeneratedTest, 0, "Chain")});
    QByteArray badSum = good;
    putU32(badSum, 8, SqcHeader::storedChecksum(good) + 1);
    QByteArray wrongMagic = good;
    putU32(wrongMagic, 0, 0x02950871);
    QByteArray version70 = header(0x00070000, SqcHeader::Size);
    sealHeader(version70);
    QByteArray version91 = header(0x00090001, SqcHeader::Size);
    sealHeader(version91);
    // a damaged record is reported as such, not as the sum it also breaks
    QByteArray badSumAndShortRecord = badSum + QByteArray(100, 'x');
    QByteArray shortExtension = currentFile({commonPart(Kind::SystemCommand, 0)})
                                + QByteArray(SqcRecord::CommandExtensionSize - 1, '\0');

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
        {"short 8.1 header", header(SqcHeader::Version81, 300), SqcFile::BadHeader, "Bad Header"},
        {"record cut short", good.left(good.size() - 1), SqcFile::ReadError, "Read error"},
        {"extension cut short", shortExtension, SqcFile::ReadError, "Read error"},
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

TEST(SqcFileTest, errorTextsOfEveryCode)
{
    const char *texts[] = {"Unknown error", "Can't open", "Bad Header", "Wrong type",
                           "Wrong size",    "Bad sum check", "Bad Buffer", "Write error",
                           "Read error",    "Incompatible file version", "Unknown error"};
    for (int code = 0; code <= 10; ++code)
        EXPECT_EQ(SqcFile::errorText(code), QString::fromLatin1(texts[code])) << code;
    EXPECT_EQ(SqcFile::errorMessage(SqcFile::WriteError, QStringLiteral("a%1.sqc")),
              QStringLiteral("Write error: a%1.sqc"));
}

TEST(SqcFileTest, firstRecordOffsetIsHonoured)
{
    QByteArray head = header(SqcHeader::Version90, SqcHeader::Size, 0x100);
    putU32(head, 16, SqcHeader::Size + 16);
    sealHeader(head);
    const QByteArray records = QByteArray(16, '\x7f') + commonPart(Kind::GeneratedTest, 0, "After gap");
    SqcFile file;
    ASSERT_TRUE(file.readData(head + records)) << file.errorString().toStdString();
    ASSERT_EQ(file.records().size(), 1);
    EXPECT_EQ(file.records()[0].thirdName, QStringLiteral("After gap"));

    // at the end there are no steps; past the end the file was cut short
    putU32(head, 16, quint32((head + records).size()));
    sealHeader(head);
    ASSERT_TRUE(file.readData(head + records)) << file.errorString().toStdString();
    EXPECT_TRUE(file.records().isEmpty());
    putU32(head, 16, 0x7FFFFFFF);
    sealHeader(head);
    EXPECT_FALSE(file.readData(head + records));
    EXPECT_TRUE(file.errorString().contains(QLatin1String("Read error"))) << file.errorString().toStdString();
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
    EXPECT_EQ(SqcRecord::tapSetToText(0xB), QStringLiteral("124"));
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
