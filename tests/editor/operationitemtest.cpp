#include "operationitem.h"
#include "qstringprinter.h"

#include <gtest/gtest.h>

TEST(OperationItemTest, PaletteNamesAndKeywordsGiveTheKind)
{
    // stored steps name their palette entry; converted ones may carry the
    // bare keyword; anything else, whatever its case, is no operation
    const struct
    {
        const char *name;
        int kind;
    } cases[] = {
        {"IF <condition>", 5}, {"IF", 5}, {"Read/Test/Write IO Pins", 13}, {"Reset", 12},
        {"if <condition>", -1}, {"Pause", -1}, {"", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(OperationItem::kindForPaletteName(QString::fromUtf8(c.name)), c.kind) << c.name;
    for (int unused : {-1, 1, 2, 3, 14})
        EXPECT_TRUE(OperationItem::iconName(unused).isEmpty()) << unused;
}

TEST(OperationItemTest, PauseSummaryJoinsLinesAndCutsLongMessages)
{
    const struct
    {
        const char *message;
        const char *summary;
    } cases[] = {
        {"a\nb\nc", "a || b || c"},
        {"a\r\nb", "a || b"},
        {"Insert the next board", "Insert the next boar..."},
        {"exactly twenty chars", "exactly twenty chars"},
        {"Power on\nthen press OK", "Power on || then pre..."},
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(OperationItem::pauseMessageSummary(QString::fromUtf8(c.message)),
                  QString::fromUtf8(c.summary));
    }
}

TEST(OperationItemTest, AnyPreferredEntryIsKeptAsPreferred)
{
    const struct
    {
        const char *chosen;
        const char *shown;
    } cases[] = {
        {"Preferred", "Preferred"},
        {"Preferred (BCU 1)", "Preferred"},
        {"BCU 1", "BCU 1"},
        {"preferred BCU", "preferred BCU"},
        {" Preferred", " Preferred"},
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(OperationItem::instrumentText(QString::fromUtf8(c.chosen)),
                  QString::fromUtf8(c.shown));
    }
}
