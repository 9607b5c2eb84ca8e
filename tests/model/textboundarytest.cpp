#include "textboundary.h"

#include <gtest/gtest.h>

TEST(TextBoundary, FileNamesNeverLeaveTheirFolder)
{
    const struct {
        QString text;
        QString name;
    } cases[] = {
        {"Check 5V/3V3 rails", "Check 5V_3V3 rails"},
        {"..", "_"},
        {".", "_"},
        {"../../x", "_.._x"},
        {"a\\b", "a_b"},
        {".hidden", "hidden"},
        {"trailing. ", "trailing"},
        {QString::fromUtf8("tab\there\x01"), "tabhere"},
        {"", "_"},
        {"it's <ok> & fine", "it's _ok_ & fine"},
        {QString::fromUtf8("Prüfung"), QString::fromUtf8("Prüfung")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TextBoundary::toFileName(c.text), c.name) << c.text.toStdString();
    EXPECT_EQ(TextBoundary::toFileName(QString(500, u'x')).size(), 96);
}

TEST(TextBoundary, HtmlAndLinksCarryAnyText)
{
    EXPECT_EQ(TextBoundary::toHtml("<script>alert('t')</script> & co"),
              "&lt;script&gt;alert(&#39;t&#39;)&lt;/script&gt; &amp; co");
    EXPECT_EQ(TextBoundary::toHtmlText("'<b>' & co"), "'&lt;b&gt;' &amp; co");
    // and back: a report's output line and a log line read as plain text
    EXPECT_EQ(TextBoundary::fromHtml("<font color='red'>a&nbsp;&lt;b&gt;&amp;amp;</font><br>\r\nx&#39;s"),
              "a <b>&amp;\nx's");
    EXPECT_EQ(TextBoundary::toLink("Run 1\\c-Output-it's #1.html"),
              "Run%201/c-Output-it%27s%20%231.html");
}

TEST(TextBoundary, XmlKeepsOnlyWhatXmlCanCarry)
{
    const QString raw = QStringLiteral("a\001b\tc\nd") + QChar(0xFFFE) + QChar(0xD800) + "e"
                        + QString::fromUcs4(U"\U0001F600");
    EXPECT_FALSE(TextBoundary::isXmlSafe(raw));
    const QString safe = TextBoundary::toXml(raw);
    EXPECT_EQ(safe, QStringLiteral("ab\tc\nde") + QString::fromUcs4(U"\U0001F600"));
    EXPECT_TRUE(TextBoundary::isXmlSafe(safe));
}

TEST(TextBoundary, TitlesNameOneFolderBelowSequences)
{
    for (const char *bad : {"", "../../x", "..", ".", "a/b", "a\\b", " lead", "trail.", "x\001y"})
        EXPECT_FALSE(TextBoundary::titleProblem(QString::fromUtf8(bad)).isEmpty()) << bad;
    for (const char *good : {"Board Test", "Check 5V-3V3", "v1.2 final", "it's", "Flash \xF0\x9F\x94\xA5"})
        EXPECT_TRUE(TextBoundary::titleProblem(QString::fromUtf8(good)).isEmpty()) << good;
    // a stored title that breaks the rule still names one folder inside "Sequences"
    const struct
    {
        const char *title;
        const char *folder;
    } folders[] = {{"Board Test", "Board Test"}, {"", ""}, {"../../x", "_.._x"}, {"..", "_"}, {"a/b", "a_b"}};
    for (const auto &f : folders)
        EXPECT_EQ(TextBoundary::sequenceFolderName(QString::fromUtf8(f.title)), QString::fromUtf8(f.folder)) << f.title;
}

TEST(TextBoundary, IniValuesKeepLineBreaksOnOneLine)
{
    const struct
    {
        const char *text;
        const char *written;
    } cases[] = {
        {"Insert board\nthen press Yes", "Insert board\\nthen press Yes"},
        {"echo a\n[SEQUENCE]\nITEM99=Print", "echo a\\n[SEQUENCE]\\nITEM99=Print"},
        {"C:\\dir\\file", "C:\\dir\\file"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"C:\\new", "C:\\\\new"},
        {"a\\\nb\r", "a\\\\\\nb\\r"},
        {"end\\", "end\\"},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const QString written = TextBoundary::toIniValue(text);
        EXPECT_EQ(written, QString::fromUtf8(c.written)) << c.text;
        EXPECT_FALSE(written.contains(u'\n') || written.contains(u'\r')) << c.text;
        EXPECT_EQ(TextBoundary::fromIniValue(written), text) << c.text;
    }
}
