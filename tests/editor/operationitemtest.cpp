#include "operationitem.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

TEST(OperationItemTest, PaletteNamesAndKeywordsGiveTheKindAndItsIcon)
{
    const struct
    {
        const char *name;
        int kind;
        const char *icon;
    } cases[] = {
        {"Pause / Display Message", 0, "Ctrl_Questionmark.png"},
        {"Label / Comment", 4, "Ctrl_Questionmark.png"},
        {"IF <condition>", 5, "Ctrl_Questionmark.png"},
        {"ELSE", 6, "Ctrl_Questionmark.png"},
        {"ELIF <condition>", 7, "Ctrl_Questionmark.png"},
        {"ENDIF", 8, "Ctrl_Questionmark.png"},
        {"GOTO", 9, "Ctrl_Questionmark.png"},
        {"Print report", 10, "Ctrl_Print.png"},
        {"Export report", 11, "Ctrl_Export.png"},
        {"Reset Instrument", 12, "Ctrl_Reset.png"},
        {"Read/Test/Write IO Pins", 13, "Ctrl_Wheel.png"},
        {"PAUSE", 0, "Ctrl_Questionmark.png"},
        {"IF", 5, "Ctrl_Questionmark.png"},
        {"Reset", 12, "Ctrl_Reset.png"},
        {"if <condition>", -1, ""},
        {"Pause", -1, ""},
        {"", -1, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int kind = OperationItem::kindForPaletteName(QString::fromUtf8(c.name));
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(OperationItem::iconName(kind), QString::fromUtf8(c.icon));
    }
    for (int unused : {1, 2, 3, 14})
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

    OperationItem pause(0);
    pause.setPause(QStringLiteral("Continue?"), 5000, QString(), 1, true, true);
    EXPECT_EQ(pause.text(SequenceElementItem::PropertyColumn), QStringLiteral("Continue?"));
    EXPECT_EQ(pause.text(SequenceElementItem::ItemColumn), QStringLiteral("5000,"));
    EXPECT_EQ(pause.commandEx, QStringLiteral("5000,"));
    EXPECT_EQ(pause.timeOut, 5000);
    EXPECT_EQ(pause.pauseMessageText, QStringLiteral("Continue?"));
    EXPECT_EQ(pause.pauseMessageDefaultAnswer, 1);
    EXPECT_TRUE(pause.pauseMessageAnswerNoIsPass);
    EXPECT_TRUE(pause.statusToSequenceStatus);
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
