#include "instrumentflags.h"
#include "instrumentsettings.h"

#include <gtest/gtest.h>

#include <limits>

using namespace InstrumentFlags;

namespace {

// Typed out again here rather than taken from the Mask constants, so a typo
// in either place shows up.
const std::pair<const char *, quint32> expectedTable[] = {
    {"PodType1", 0x0},          {"PodType2", 0x10000000},  {"Threshold", 0x20000000},
    {"User0", 0x1},             {"User1", 0x2},            {"Aw", 0x4},
    {"Vppe", 0x8},              {"Ready", 0x10},           {"LtPerTap", 0x20},
    {"IoPerTap", 0x40},         {"UseSState", 0x100},      {"UseEState", 0x200},
    {"UseGang", 0x400},         {"UseLevel", 0x800},       {"UseThreshold", 0x1000},
    {"UseIoWait", 0x8000},      {"NoPwrOn", 0x2000},       {"NoPwrOff", 0x4000},
    {"UseTck", 0x10000},        {"UsePrecompiled", 0x20000}, {"NoHeader", 0x40000},
    {"SetVerbose", 0x80000},    {"UseAce", 0x100000},      {"UseAwPod", 0x200000},
    {"StartEqTarget", 0x400000},
};

quint32 allNamedBits()
{
    quint32 bits = 0;
    for (const auto &[name, mask] : expectedTable)
        bits |= mask;
    return bits;
}

} // namespace

TEST(InstrumentFlags, TableNamesMasksAndOrder)
{
    const QList<Flag> &table = flagTable();
    ASSERT_EQ(table.size(), qsizetype(std::size(expectedTable)));
    for (qsizetype i = 0; i < table.size(); ++i) {
        const auto &[name, mask] = expectedTable[i];
        EXPECT_EQ(table.at(i).name, QString::fromLatin1(name)) << i;
        EXPECT_EQ(table.at(i).mask, mask) << name;
        EXPECT_EQ(flagMask(QString::fromLatin1(name)), mask) << name;
        EXPECT_TRUE(isFlagName(QString::fromLatin1(name))) << name;
    }
    EXPECT_EQ(flagNames().size(), table.size());
    EXPECT_EQ(DefaultFlags, 0x10000000u);
    EXPECT_EQ(Mask::LevelsDividedBy100, 0x800000u);
    // The level bit and 0x80 are deliberately unnamed.
    EXPECT_EQ(allNamedBits() & (0x80u | Mask::LevelsDividedBy100), 0u);
}

TEST(InstrumentFlags, EveryNamedMaskIsOneDistinctBit)
{
    quint32 seen = 0;
    for (const Flag &flag : flagTable()) {
        if (flag.name == QLatin1String("PodType1"))
            continue;
        EXPECT_EQ(qPopulationCount(flag.mask), 1) << flag.name.toStdString();
        EXPECT_EQ(seen & flag.mask, 0u) << flag.name.toStdString() << " shares a bit";
        seen |= flag.mask;
    }
}

TEST(InstrumentFlags, LookupIsExact)
{
    for (const char *name : {"", "podtype2", "PODTYPE2", "PodType2 ", "threshold", "UseAWPod",
                             "Pod", "LevelsDividedBy100", "Flags"}) {
        EXPECT_EQ(flagMask(QString::fromLatin1(name)), 0u) << name;
        EXPECT_FALSE(isFlagName(QString::fromLatin1(name))) << name;
    }
    // The flag and the parameter of the same name are different things, and
    // "UseThreshold" is a bit of its own.
    EXPECT_EQ(flagMask(QStringLiteral("Threshold")), 0x20000000u);
    EXPECT_EQ(flagMask(QStringLiteral("UseThreshold")), 0x1000u);
}

TEST(InstrumentFlags, PodType1HasNoBit)
{
    const QString podType1 = QStringLiteral("PodType1");
    for (quint32 flags : {0u, 0x10000000u, 0xFFFFFFFFu, 0x1u}) {
        EXPECT_FALSE(testFlag(flags, podType1)) << flags;
        EXPECT_EQ(setFlag(flags, podType1, true), flags) << flags;
        EXPECT_EQ(setFlag(flags, podType1, false), flags) << flags;
        EXPECT_EQ(applyFlag(flags, podType1, QStringLiteral("1")), flags) << flags;
        EXPECT_EQ(applyFlag(flags, podType1, QStringLiteral("0")), flags) << flags;
        EXPECT_FALSE(setFlagNames(flags).contains(podType1)) << flags;
    }
    for (ExpandMode mode : {ExpandMode::SetOnly, ExpandMode::All}) {
        for (const auto &[name, value] : expandFlags(0, mode))
            EXPECT_NE(name, podType1);
    }
}

TEST(InstrumentFlags, ExpandWritesSetBitsInTableOrder)
{
    const struct {
        quint32 flags;
        QStringList names;
    } cases[] = {
        {0, {}},
        {0x10000000, {QStringLiteral("PodType2")}},
        // Bits without a name are kept in the word but never written.
        {0x80 | 0x800000 | 0x40000000 | 0x80000000, {}},
        {0x10000400 | 0x800000, {QStringLiteral("PodType2"), QStringLiteral("UseGang")}},
        // UseIoWait (0x8000) is written before NoPwrOn (0x2000): table order,
        // not bit order.
        {0x8000 | 0x2000 | 0x20000000 | 0x1,
         {QStringLiteral("Threshold"), QStringLiteral("User0"), QStringLiteral("UseIoWait"),
          QStringLiteral("NoPwrOn")}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(setFlagNames(c.flags), c.names) << c.flags;
        FlagEntries expected;
        for (const QString &name : c.names)
            expected.append({name, QStringLiteral("1")});
        EXPECT_EQ(expandFlags(c.flags), expected) << c.flags;
    }

    QStringList everyName = flagNames();
    everyName.removeFirst();  // PodType1
    EXPECT_EQ(setFlagNames(0xFFFFFFFF), everyName);
}

TEST(InstrumentFlags, WhichValuesSetABit)
{
    const struct {
        const char *value;
        bool set;
    } cases[] = {
        {"1", true},   {"01", true},    {" 1 ", true},  {"+1", true},
        {"0", false},  {"2", false},    {"-1", false},  {"", false},
        {"yes", false}, {"true", false}, {"1.0", false}, {"0x1", false},
        {"1a", false},  {"11", false},
    };
    for (const auto &c : cases) {
        const QString value = QString::fromLatin1(c.value);
        EXPECT_EQ(flagValueIsSet(value), c.set) << "'" << c.value << "'";
        // An unrelated bit must survive either way.
        const quint32 expected = c.set ? 0x10000400u : 0x10000000u;
        EXPECT_EQ(applyFlag(0x10000000, QStringLiteral("UseGang"), value), expected)
            << "'" << c.value << "'";
        EXPECT_EQ(applyFlag(0x10000400, QStringLiteral("UseGang"), value), expected)
            << "'" << c.value << "'";
    }
}

TEST(InstrumentFlags, ApplyEntries)
{
    const struct {
        const char *what;
        FlagEntries entries;
        quint32 expected;
    } cases[] = {
        {"nothing keeps the default", {}, 0x10000000},
        {"PodType2=0 clears the default", {{"PodType2", "0"}}, 0},
        {"a value of 2 clears", {{"UseGang", "1"}, {"UseGang", "2"}}, 0x10000000},
        {"later entry wins", {{"UseTck", "0"}, {"UseTck", "1"}}, 0x10010000},
        {"non-flag keys are skipped", {{"Level", "1"}, {"InstrumentName", "1"}}, 0x10000000},
        {"Threshold is the flag here", {{"Threshold", "1"}}, 0x30000000},
        {"a numeric Threshold clears the flag", {{"Threshold", "1"}, {"Threshold", "250"}},
         0x10000000},
        {"PodType1 changes nothing", {{"PodType1", "1"}, {"PodType1", "0"}}, 0x10000000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(foldFlags(c.entries), c.expected) << c.what;
    EXPECT_EQ(foldFlags({{"User1", "1"}}, 0), 0x2u);
}

TEST(InstrumentFlags, ExpandAndFoldRoundTrip)
{
    const quint32 named = allNamedBits();
    for (quint32 flags : {0u, 0x10000000u, 0x20000000u, 0xFFFFFFFFu, 0x12345678u, 0x00800080u,
                          0x30408421u}) {
        // Writing every bit restores the named bits whatever the start.
        EXPECT_EQ(foldFlags(expandFlags(flags, ExpandMode::All)), flags & named) << flags;
        // Writing only set bits restores them from an empty word; from the
        // default, pod type 2 stays on because nothing clears it.
        EXPECT_EQ(foldFlags(expandFlags(flags), 0), flags & named) << flags;
        EXPECT_EQ(foldFlags(expandFlags(flags)), (flags & named) | DefaultFlags) << flags;
    }
}

TEST(InstrumentSettings, Defaults)
{
    const InstrumentSettings settings;
    EXPECT_EQ(settings.flags(), 0x10000000u);
    const qint32 words[] = {0, 0, -1, -1, 0, 0, 1, 2, 0, 0};
    for (int i = 0; i < InstrumentSettings::WordCount; ++i)
        EXPECT_EQ(settings.word(i), words[i]) << i;
    const qint32 tapWords[] = {0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int tap = 1; tap <= 32; ++tap) {
        EXPECT_EQ(settings.tapFlags(tap), 0u) << tap;
        for (int i = 0; i < InstrumentSettings::TapWordCount; ++i)
            EXPECT_EQ(settings.tapWord(tap, i), tapWords[i]) << tap << "/" << i;
    }
    EXPECT_EQ(settings.tapWord(1, InstrumentSettings::TapWord::Level), -1);
    EXPECT_EQ(settings.tapWord(32, InstrumentSettings::TapWord::Threshold), -1);
}

TEST(InstrumentSettings, OutOfRangeAccessChangesNothing)
{
    const InstrumentSettings pristine;
    InstrumentSettings settings;
    const int badTaps[] = {0, -1, 33, 64, std::numeric_limits<int>::max(),
                           std::numeric_limits<int>::min()};
    for (int tap : badTaps) {
        EXPECT_FALSE(InstrumentSettings::isValidTap(tap)) << tap;
        EXPECT_FALSE(settings.setTapFlags(tap, 0xFFFFFFFF)) << tap;
        EXPECT_FALSE(settings.setTapWord(tap, InstrumentSettings::TapWord::Level, 7)) << tap;
        EXPECT_EQ(settings.tapFlags(tap), 0u) << tap;
        EXPECT_EQ(settings.tapWord(tap, InstrumentSettings::TapWord::Level), 0) << tap;
    }
    for (int index : {-1, 12, 100}) {
        EXPECT_FALSE(settings.setTapWord(1, index, 7)) << index;
        EXPECT_EQ(settings.tapWord(1, index), 0) << index;
    }
    for (int index : {-1, 10, 11}) {
        EXPECT_FALSE(settings.setWord(index, 7)) << index;
        EXPECT_EQ(settings.word(index), 0) << index;
    }
    EXPECT_TRUE(settings == pristine);
}

TEST(InstrumentSettings, TapsAreAddressedOneToThirtyTwo)
{
    InstrumentSettings settings;
    EXPECT_TRUE(settings.setTapFlags(1, 0x400));
    EXPECT_TRUE(settings.setTapFlags(32, 0xFFFFFFFF));
    EXPECT_TRUE(settings.setTapWord(32, InstrumentSettings::TapWord::Reserved, 99));
    EXPECT_TRUE(settings.setWord(9, 5));
    EXPECT_EQ(settings.tapFlags(1), 0x400u);
    EXPECT_EQ(settings.tapFlags(2), 0u);
    EXPECT_EQ(settings.tapFlags(31), 0u);
    EXPECT_EQ(settings.tapFlags(32), 0xFFFFFFFFu);
    EXPECT_EQ(settings.tapWord(32, 11), 99);
    EXPECT_EQ(settings.tapWord(31, 11), 0);
    // Writing the flags must not spill into the neighbouring words.
    EXPECT_EQ(settings.tapWord(1, 0), 0);
    EXPECT_EQ(settings.tapWord(1, 2), -1);
    EXPECT_EQ(settings.word(9), 5);
    EXPECT_EQ(settings.flags(), 0x10000000u);
}

TEST(InstrumentSettings, TapFieldsMapToRecordWords)
{
    const std::pair<const char *, int> cases[] = {
        {"Flags", 1},      {"Level", 2},       {"Threshold", 3},  {"ExtCells", 4},
        {"Signals", 5},    {"IoPinWCtrl", 6},  {"IoPinWData", 7}, {"IoPinRCtrl", 8},
        {"IoPinRData", 9}, {"IoTimeoutMs", 10}, {"Reserved", 11}, {"Unused", -1},
        {"flags", -1},     {"", -1},
    };
    for (const auto &[field, index] : cases)
        EXPECT_EQ(InstrumentSettings::tapWordIndex(QString::fromLatin1(field)), index) << field;
}
