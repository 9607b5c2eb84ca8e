#include "instrumentflags.h"
#include "instrumentsettings.h"

#include <gtest/gtest.h>

#include <limits>

using namespace InstrumentFlags;

namespace {

quint32 allNamedBits()
{
    quint32 bits = 0;
    for (const Flag &flag : flagTable())
        bits |= flag.mask;
    return bits;
}

} // namespace

// Every name but PodType1 owns exactly one bit that no other name shares;
// the level bit and 0x80 stay unnamed.
TEST(InstrumentFlags, NamesAreExactAndOwnOneDistinctBit)
{
    quint32 seen = 0;
    for (const Flag &flag : flagTable()) {
        EXPECT_EQ(flagMask(flag.name), flag.mask) << flag.name.toStdString();
        EXPECT_TRUE(isFlagName(flag.name)) << flag.name.toStdString();
        if (flag.name == QLatin1String("PodType1"))
            continue;
        EXPECT_EQ(qPopulationCount(flag.mask), 1) << flag.name.toStdString();
        EXPECT_EQ(seen & flag.mask, 0u) << flag.name.toStdString() << " shares a bit";
        seen |= flag.mask;
    }
    EXPECT_EQ(allNamedBits() & (0x80u | Mask::LevelsDividedBy100), 0u);
    for (const char *name : {"", "podtype2", "PodType2 ", "UseAWPod", "LevelsDividedBy100"}) {
        EXPECT_EQ(flagMask(QString::fromLatin1(name)), 0u) << name;
        EXPECT_FALSE(isFlagName(QString::fromLatin1(name))) << name;
    }
    // The flag and the parameter of the same name are different things.
    EXPECT_EQ(flagMask(QStringLiteral("Threshold")), 0x20000000u);
    EXPECT_EQ(flagMask(QStringLiteral("UseThreshold")), 0x1000u);
}

TEST(InstrumentFlags, PodType1HasNoBit)
{
    const QString podType1 = QStringLiteral("PodType1");
    for (quint32 flags : {0u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(testFlag(flags, podType1)) << flags;
        EXPECT_EQ(setFlag(flags, podType1, true), flags) << flags;
        EXPECT_EQ(setFlag(flags, podType1, false), flags) << flags;
        EXPECT_EQ(applyFlag(flags, podType1, QStringLiteral("0")), flags) << flags;
        EXPECT_FALSE(setFlagNames(flags).contains(podType1)) << flags;
    }
    for (const auto &[name, value] : expandFlags(0, ExpandMode::All))
        EXPECT_NE(name, podType1);
}

TEST(InstrumentFlags, ExpandWritesSetBitsInTableOrder)
{
    const struct {
        quint32 flags;
        QStringList names;
    } cases[] = {
        {0, {}},
        // Bits without a name are kept in the word but never written.
        {0x80 | 0x800000 | 0x40000000 | 0x80000000, {}},
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

TEST(InstrumentFlags, OnlyTheNumberOneSetsABit)
{
    const struct {
        const char *value;
        bool set;
    } cases[] = {
        {"1", true},  {"01", true},  {" 1 ", true},  {"+1", true},  {"0", false},  {"2", false},
        {"-1", false}, {"", false},  {"true", false}, {"0x1", false}, {"1a", false}, {"11", false},
    };
    for (const auto &c : cases) {
        const QString value = QString::fromLatin1(c.value);
        EXPECT_EQ(flagValueIsSet(value), c.set) << "'" << c.value << "'";
        // An unrelated bit must survive either way.
        const quint32 expected = c.set ? 0x10000400u : 0x10000000u;
        EXPECT_EQ(applyFlag(0x10000000, QStringLiteral("UseGang"), value), expected) << c.value;
        EXPECT_EQ(applyFlag(0x10000400, QStringLiteral("UseGang"), value), expected) << c.value;
    }
}

TEST(InstrumentFlags, FoldEntriesAndRoundTrip)
{
    const struct {
        const char *what;
        FlagEntries entries;
        quint32 expected;
    } cases[] = {
        {"nothing keeps the default", {}, 0x10000000},
        {"PodType2=0 clears the default", {{"PodType2", "0"}}, 0},
        {"later entry wins", {{"UseTck", "0"}, {"UseTck", "1"}}, 0x10010000},
        {"non-flag keys are skipped", {{"Level", "1"}, {"InstrumentName", "1"}}, 0x10000000},
        {"a numeric Threshold clears the flag", {{"Threshold", "1"}, {"Threshold", "250"}},
         0x10000000},
        {"PodType1 changes nothing", {{"PodType1", "1"}, {"PodType1", "0"}}, 0x10000000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(foldFlags(c.entries), c.expected) << c.what;

    const quint32 named = allNamedBits();
    for (quint32 flags : {0u, 0xFFFFFFFFu, 0x12345678u, 0x00800080u}) {
        // Writing every bit restores the named bits whatever the start.
        EXPECT_EQ(foldFlags(expandFlags(flags, ExpandMode::All)), flags & named) << flags;
        // Writing only set bits restores them from an empty word; from the
        // default, pod type 2 stays on because nothing clears it.
        EXPECT_EQ(foldFlags(expandFlags(flags), 0), flags & named) << flags;
        EXPECT_EQ(foldFlags(expandFlags(flags)), (flags & named) | DefaultFlags) << flags;
    }
}

TEST(InstrumentSettings, DefaultsAndTapsOneToThirtyTwo)
{
    InstrumentSettings settings;
    EXPECT_EQ(settings.flags(), 0x10000000u);
    const qint32 words[] = {0, 0, -1, -1, 0, 0, 1, 2, 0, 0};
    for (int i = 0; i < InstrumentSettings::WordCount; ++i)
        EXPECT_EQ(settings.word(i), words[i]) << i;
    // Level and threshold of every TAP start at -1, the rest at 0.
    for (int tap : {1, 32}) {
        for (int i = 0; i < InstrumentSettings::TapWordCount; ++i)
            EXPECT_EQ(settings.tapWord(tap, i), i == 2 || i == 3 ? -1 : 0) << tap << "/" << i;
    }

    EXPECT_TRUE(settings.setTapFlags(1, 0x400));
    EXPECT_TRUE(settings.setTapFlags(32, 0xFFFFFFFF));
    EXPECT_TRUE(settings.setTapWord(32, InstrumentSettings::TapWord::Reserved, 99));
    EXPECT_EQ(settings.tapFlags(1), 0x400u);
    EXPECT_EQ(settings.tapFlags(2), 0u);
    EXPECT_EQ(settings.tapFlags(31), 0u);
    EXPECT_EQ(settings.tapWord(32, 11), 99);
    EXPECT_EQ(settings.tapWord(31, 11), 0);
    // Writing the flags must not spill into the neighbouring words.
    EXPECT_EQ(settings.tapWord(1, 0), 0);
    EXPECT_EQ(settings.tapWord(1, 2), -1);
    EXPECT_EQ(settings.flags(), 0x10000000u);
}

TEST(InstrumentSettings, OutOfRangeAccessChangesNothing)
{
    const InstrumentSettings pristine;
    InstrumentSettings settings;
    for (int tap : {0, 33, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        EXPECT_FALSE(InstrumentSettings::isValidTap(tap)) << tap;
        EXPECT_FALSE(settings.setTapFlags(tap, 0xFFFFFFFF)) << tap;
        EXPECT_FALSE(settings.setTapWord(tap, InstrumentSettings::TapWord::Level, 7)) << tap;
        EXPECT_EQ(settings.tapFlags(tap), 0u) << tap;
        EXPECT_EQ(settings.tapWord(tap, InstrumentSettings::TapWord::Level), 0) << tap;
    }
    for (int index : {-1, 12}) {
        EXPECT_FALSE(settings.setTapWord(1, index, 7)) << index;
        EXPECT_EQ(settings.tapWord(1, index), 0) << index;
    }
    for (int index : {-1, 10}) {
        EXPECT_FALSE(settings.setWord(index, 7)) << index;
        EXPECT_EQ(settings.word(index), 0) << index;
    }
    EXPECT_TRUE(settings == pristine);
}

TEST(InstrumentSettings, TapFieldsMapToRecordWords)
{
    // The parameter names list Reserved between Signals and IoPinWCtrl; the
    // record keeps it last.
    const std::pair<const char *, int> cases[] = {
        {"Flags", 1}, {"Signals", 5}, {"IoPinWCtrl", 6}, {"IoTimeoutMs", 10}, {"Reserved", 11},
        {"Unused", -1}, {"flags", -1}, {"", -1},
    };
    for (const auto &[field, index] : cases)
        EXPECT_EQ(InstrumentSettings::tapWordIndex(QString::fromLatin1(field)), index) << field;
}
