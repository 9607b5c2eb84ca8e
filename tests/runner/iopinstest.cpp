#include "qstringprinter.h"
#include "iopinscommandline.h"
#include "iopinsoptions.h"
#include "temporaryfolder.h"

#include <functional>

#include <gtest/gtest.h>

using namespace IoPinsCommandLine;

namespace IoPinsCommandLine {
void PrintTo(const ReportRow &row, std::ostream *out)
{
    *out << '{' << row.marker.toStdString() << ", \"" << row.text.toStdString() << "\"}";
}
} // namespace IoPinsCommandLine

namespace {

const QString Program = QStringLiteral("bcu");
constexpr quint32 PodType2 = IoPinsOptions::PodType2Bit;
constexpr quint32 PerTap = IoPinsOptions::LevelPerTapBit;
constexpr quint32 MatchOn = IoPinsOptions::MatchEnabledBit;

// An instrument-wide level without threshold (pod type 1), matching on and
// every TAP idle: each case switches on what it needs.
IoPinsOptions baseOptions()
{
    IoPinsOptions options;
    options.instrumentName = QStringLiteral("Bcu1");
    options.flags = MatchOn;
    return options;
}

void setWrite(IoPinsOptions &options, int tap, qint32 control, qint32 data)
{
    options.tap(tap).setOperation(IoPinsTap::WriteBit, true);
    options.tap(tap).writeControl = control;
    options.tap(tap).writeData = data;
}

void setRead(IoPinsOptions &options, int tap)
{
    options.tap(tap).setOperation(IoPinsTap::ReadBit, true);
}

void setMatch(IoPinsOptions &options, int tap, qint32 mask, qint32 data, qint32 timeoutMs)
{
    options.tap(tap).setOperation(IoPinsTap::ReadBit | IoPinsTap::MatchBit, true);
    options.tap(tap).readMask = mask;
    options.tap(tap).readData = data;
    options.tap(tap).timeoutMs = timeoutMs;
}

void writeAll(IoPinsOptions &options)
{
    for (int tap = 1; tap <= 4; ++tap)
        setWrite(options, tap, 15, 5);
}

struct CommandCase
{
    const char *name;
    std::function<void(IoPinsOptions &)> setUp;
    IoPinsOperation operation;
    QString address;
    QString expected;
};

} // namespace

TEST(IoPinsCommandLine, OptionsOfEachOperationGroupTapsWithEqualValues)
{
    using Op = IoPinsOperation;
    const QString longAddress = QString(64, u'x') + QStringLiteral("CUT");
    const CommandCase cases[] = {
        {"four TAPs, one pattern: no TAP list", writeAll, Op::Write, {}, "bcu -M -uo15,5"},
        {"TAPs 1 and 3 share a pattern, TAP 2 has another",
         [](IoPinsOptions &o) {
             setWrite(o, 1, 15, 5);
             setWrite(o, 2, 3, 1);
             setWrite(o, 3, 15, 5);
         },
         Op::Write, {}, "bcu -M -uo15,5,13 -uo3,1,2"},
        {"four different patterns give four groups in TAP order",
         [](IoPinsOptions &o) {
             for (int tap = 4; tap >= 1; --tap)
                 setWrite(o, tap, tap, -tap);
         },
         Op::Write, {}, "bcu -M -uo1,-1,1 -uo2,-2,2 -uo3,-3,3 -uo4,-4,4"},
        {"read of three TAPs", [](IoPinsOptions &o) { setRead(o, 1); setRead(o, 2); setRead(o, 4); },
         Op::Read, {}, "bcu -M -ui,124"},
        {"read of all four TAPs",
         [](IoPinsOptions &o) { for (int tap = 1; tap <= 4; ++tap) setRead(o, tap); },
         Op::Read, {}, "bcu -M -ui"},
        {"a matching TAP is not read plainly",
         [](IoPinsOptions &o) { setRead(o, 1); setMatch(o, 2, 15, 5, 500); },
         Op::Read, {}, "bcu -M -ui,1"},
        {"without matching on the controller a matching TAP is read",
         [](IoPinsOptions &o) {
             o.flags &= ~MatchOn;
             setRead(o, 1);
             setMatch(o, 2, 15, 5, 500);
         },
         Op::Read, {}, "bcu -M -ui,12"},
        {"match groups by mask, data and time-out",
         [](IoPinsOptions &o) {
             setMatch(o, 1, 15, 5, 500);
             setMatch(o, 2, 15, 5, 500);
             setMatch(o, 3, 15, 5, 1000);
             setRead(o, 4);
         },
         Op::ReadUntilMatch, {}, "bcu -M -uw15,5,500,12 -uw15,5,1000,3"},
        {"level without threshold",
         [](IoPinsOptions &o) { writeAll(o); o.level = 18; o.threshold = 4; },
         Op::Write, {}, "bcu -M -L18 -uo15,5"},
        {"pod type 2: level with a negative threshold gives half the level",
         [](IoPinsOptions &o) { writeAll(o); o.flags |= PodType2; o.level = 25; o.threshold = -1; },
         Op::Write, {}, "bcu -M -L25,12 -uo15,5"},
        {"pod type 2: level with its threshold",
         [](IoPinsOptions &o) { writeAll(o); o.flags |= PodType2; o.level = 18; o.threshold = 7; },
         Op::Write, {}, "bcu -M -L18,7 -uo15,5"},
        {"pod type 2 with level 0", [](IoPinsOptions &o) { writeAll(o); o.flags |= PodType2; },
         Op::Write, {}, "bcu -M -uo15,5"},
        {"levels per TAP, grouped; a TAP without level gets none",
         [](IoPinsOptions &o) {
             writeAll(o);
             o.flags |= PodType2 | PerTap;
             o.level = 99;
             o.tap(1).level = 18;
             o.tap(1).threshold = -1;
             o.tap(2).level = 33;
             o.tap(2).threshold = 20;
             o.tap(3).level = 18;
             o.tap(3).threshold = -1;
         },
         Op::Write, {}, "bcu -M -L18,9,13 -L33,20,2 -uo15,5"},
        {"the same level on every TAP needs no TAP list",
         [](IoPinsOptions &o) {
             writeAll(o);
             o.flags |= PodType2 | PerTap;
             for (int tap = 1; tap <= 4; ++tap) {
                 o.tap(tap).level = 25;
                 o.tap(tap).threshold = 10;
             }
         },
         Op::Write, {}, "bcu -M -L25,10 -uo15,5"},
        {"bit 5 alone leaves the instrument-wide level",
         [](IoPinsOptions &o) { writeAll(o); o.flags |= PerTap; o.level = 18; o.tap(1).level = 5; },
         Op::Write, {}, "bcu -M -L18 -uo15,5"},
        {"no reset suppresses the level option",
         [](IoPinsOptions &o) { writeAll(o); o.level = 18; o.noReset = true; },
         Op::Write, {}, "bcu -M -nr -uo15,5"},
        {"no setup keeps it",
         [](IoPinsOptions &o) { writeAll(o); o.level = 18; o.noSetup = true; },
         Op::Write, {}, "bcu -M -ns -L18 -uo15,5"},
        {"both switches and the address in their places",
         [](IoPinsOptions &o) { setRead(o, 2); o.noReset = true; o.noSetup = true; },
         Op::Read, QStringLiteral("USB0"), "bcu -M -aUSB0 -nr -ns -ui,2"},
        {"the address is cut at 64 characters", writeAll, Op::Write, longAddress,
         "bcu -M -a" + QString(64, u'x') + " -uo15,5"},
        {"no TAP writes", [](IoPinsOptions &o) { setRead(o, 1); }, Op::Write, {}, ""},
        {"no TAP matches", [](IoPinsOptions &o) { setRead(o, 1); }, Op::ReadUntilMatch, {}, ""},
        {"no instrument", [](IoPinsOptions &o) { writeAll(o); o.instrumentName.clear(); }, Op::Write,
         {}, ""},
    };
    for (const CommandCase &c : cases) {
        IoPinsOptions options = baseOptions();
        c.setUp(options);
        EXPECT_EQ(buildCommandLine(options, c.operation, Program, c.address), c.expected) << c.name;
    }
}

TEST(IoPinsCommandLine, IsCutAt511Characters)
{
    IoPinsOptions options = baseOptions();
    for (int tap = 1; tap <= 4; ++tap)
        setWrite(options, tap, -2000000000 + tap, -2000000000 - tap);
    const QString program = QString(480, u'p');
    const QString line = buildCommandLine(options, IoPinsOperation::Write, program, QString());
    EXPECT_EQ(line.size(), 511);
    EXPECT_EQ(line, (program + QStringLiteral(" -M -uo-1999999999,-2000000001,1")).left(511));
}

TEST(IoPinsCommandLine, LinesFollowWriteReadMatchOrder)
{
    IoPinsOptions options = baseOptions();
    setMatch(options, 1, 1, 1, 100);
    setRead(options, 2);
    setWrite(options, 3, 7, 3);
    EXPECT_EQ(buildCommandLines(options, Program, QString()),
              QStringList({"bcu -M -uo7,3,3", "bcu -M -ui,2", "bcu -M -uw1,1,100,1"}));

    options = baseOptions();
    setRead(options, 4);
    EXPECT_EQ(buildCommandLines(options, Program, QString()), QStringList({"bcu -M -ui,4"}));
    EXPECT_TRUE(buildCommandLines(baseOptions(), Program, QString()).isEmpty());
    // without a controller program there is nothing to run
    EXPECT_TRUE(buildCommandLines(options, QString(), QString()).isEmpty());
}

TEST(IoPinsOptions, WritingKeepsOtherKeysAndClearsSwitchesThatAreOff)
{
    QMap<QString, QString> parameters = {
        {QStringLiteral("Show"), QStringLiteral("Status")},
        {QStringLiteral("IoPinNoReset"), QStringLiteral("1")},
        {QStringLiteral("IoPinNoSetup"), QStringLiteral("1")},
    };
    IoPinsOptions options;
    options.noSetup = true;
    options.writeParameters(parameters);
    EXPECT_EQ(parameters.value(QStringLiteral("Show")), QStringLiteral("Status"));
    EXPECT_FALSE(parameters.contains(QStringLiteral("IoPinNoReset")));
    EXPECT_EQ(parameters.value(QStringLiteral("IoPinNoSetup")), QStringLiteral("1"));
}

TEST(IoPinsOptions, ReadingFallsBackToDefaultsForMissingOrBadValues)
{
    const IoPinsOptions defaults;
    EXPECT_EQ(IoPinsOptions::fromParameters({}), defaults);
    EXPECT_EQ(defaults.flags, 0x10008000u);

    const QMap<QString, QString> parameters = {
        {QStringLiteral("Level"), QStringLiteral("abc")},
        {QStringLiteral("Threshold"), QStringLiteral(" 12 ")},
        {QStringLiteral("TapInfo1.IoPinWData"), QStringLiteral("4294967295")},
        {QStringLiteral("TapInfo1.IoPinWCtrl"), QStringLiteral("4294967296")},
        {QStringLiteral("TapInfo2.IoTimeoutMs"), QStringLiteral("0x10")},
        {QStringLiteral("IoPinNoReset"), QStringLiteral("yes")},
        {QStringLiteral("IoPinNoSetup"), QStringLiteral("01")},
    };
    const IoPinsOptions options = IoPinsOptions::fromParameters(parameters);
    EXPECT_EQ(options.level, defaults.level);
    EXPECT_EQ(options.threshold, 12);
    // a pattern written unsigned by an older tool
    EXPECT_EQ(options.tap(1).writeData, -1);
    EXPECT_EQ(options.tap(1).writeControl, defaults.tap(1).writeControl);
    EXPECT_EQ(options.tap(2).timeoutMs, defaults.tap(2).timeoutMs);
    EXPECT_FALSE(options.noReset);
    EXPECT_TRUE(options.noSetup);
}

TEST(IoPinsCommandLine, ReadsTheResultFile)
{
    TemporaryFolder folder;
    const QString path = folder.write(QStringLiteral("iopins.dat"),
                                      "ioctrl1=15\r\n"
                                      "iodata1=017\r\n"        // octal
                                      "iodata2=0x5\n"
                                      "ioctrl2= 3 trailing\n"  // blanks and a tail are fine
                                      "ioctrl3=-1\n"
                                      "iodata3=9\n"
                                      "iodata3=10\n"           // the later line wins
                                      "ioctrl 4=0X0a\n"
                                      "ioctrl0=1\n"            // no such TAP
                                      "iodata5=1\n"
                                      "IODATA4=1\n"            // case matters
                                      " iodata4=1\n"           // so does the start of the line
                                      "iodata4=\n"
                                      "iodata4=0x\n"           // 0, then an ignored 'x'
                                      "garbage\n");
    const Results results = readResults(path);
    const struct { int tap; QString control; QString data; } expected[] = {
        {1, "0b1111", "0b1111"},
        {2, "0b0011", "0b0101"},
        {3, "0b" + QString(32, u'1'), "0b1010"},
        {4, "0b1010", "0b0000"},
    };
    for (const auto &e : expected) {
        EXPECT_EQ(results.controlText(e.tap), e.control) << e.tap;
        EXPECT_EQ(results.dataText(e.tap), e.data) << e.tap;
    }
    EXPECT_TRUE(results.controlText(0).isEmpty());
    EXPECT_TRUE(results.dataText(5).isEmpty());

    const Results missing = readResults(folder.filePath(QStringLiteral("none.dat")));
    for (int tap = 1; tap <= 4; ++tap) {
        EXPECT_FALSE(missing.control[size_t(tap - 1)].has_value());
        EXPECT_TRUE(missing.dataText(tap).isEmpty());
    }
}

TEST(IoPinsCommandLine, ReportRowsGoIntoTheReportAsTheyStand)
{
    IoPinsOptions options = baseOptions();
    setWrite(options, 1, 1, 1);
    setRead(options, 2);
    setRead(options, 4);
    setMatch(options, 3, 15, 5, 250);

    TemporaryFolder folder;
    folder.write(QStringLiteral("iopins.dat"), "ioctrl2=3\niodata2=0x5\n");
    const Results results = readResults(folder.filePath(QStringLiteral("iopins.dat")));

    const QList<ReportRow> before = parameterRows(options);
    const QList<ReportRow> after = resultRows(options, results);
    EXPECT_EQ(before, QList<ReportRow>({
                          {"*", "I/O Pins: Write"},
                          {"*", "I/O Pins: Read"},
                          {"*", "I/O Pins: Read Until Match"},
                          {"!", " TAP 3:   Mask = 0b1111, Data = 0b0101, Timeout = 250 ms"},
                      }));
    // TAP 4 had nothing in the file: its values stay empty
    EXPECT_EQ(after, QList<ReportRow>({
                         {"!", " TAP 2:   Control = 0b0011, Data = 0b0101"},
                         {"!", " TAP 4:   Control = , Data = "},
                     }));


    // A step that only writes has no result rows.
    IoPinsOptions writeOnly = baseOptions();
    writeAll(writeOnly);
    EXPECT_EQ(parameterRows(writeOnly), QList<ReportRow>({{"*", "I/O Pins: Write"}}));
    EXPECT_TRUE(resultRows(writeOnly, results).isEmpty());
}
