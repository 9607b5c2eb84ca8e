#include "instrumentflags.h"

#include <gtest/gtest.h>

using namespace InstrumentFlags;

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
    EXPECT_EQ(seen & (0x80u | Mask::LevelsDividedBy100), 0u);
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
        EXPECT_EQ(setFlag(flags, podType1, true), flags) << flags;
        EXPECT_EQ(setFlag(flags, podType1, false), flags) << flags;
        EXPECT_EQ(applyFlag(flags, podType1, QStringLiteral("0")), flags) << flags;
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
        FlagEntries expected;
        for (const QString &name : c.names)
            expected.append({name, QStringLiteral("1")});
        EXPECT_EQ(expandFlags(c.flags), expected) << c.flags;
    }
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
