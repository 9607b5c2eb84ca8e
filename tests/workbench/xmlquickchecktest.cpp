#include "xmlquickcheck.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

const QByteArray Head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

bool readerFindsDamage(const QByteArray &document)
{
    QXmlStreamReader reader(document);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError();
}

} // namespace

TEST(XmlQuickCheckTest, FindsTheRootsChildrenOfAPlainDocument)
{
    const QByteArray first = "<plugin name=\"A\"><s a='1 &amp; &#x41;' b = \"&lt;&#10;\">x &gt; y</s></plugin>";
    const QByteArray second = "<plugin name=\"B\"/>";
    const QByteArray document = Head + "<project>\n  <applications><plugin/></applications>\n  " + first
                                + "\n  " + second + "\n</project>\n";
    ASSERT_FALSE(readerFindsDamage(document));
    const auto children = XmlQuickCheck::rootChildren(document, "plugin");
    ASSERT_TRUE(children.has_value());
    ASSERT_EQ(children->size(), 2);
    const XmlQuickCheck::Element &a = children->at(0);
    EXPECT_EQ(document.sliced(a.start, a.end - a.start), first);
    EXPECT_EQ(document.sliced(a.startTagEnd, a.endTagStart - a.startTagEnd),
              "<s a='1 &amp; &#x41;' b = \"&lt;&#10;\">x &gt; y</s>");
    const XmlQuickCheck::Element &b = children->at(1);
    EXPECT_EQ(document.sliced(b.start, b.end - b.start), second);
    EXPECT_EQ(b.startTagEnd, b.end);
}

// Whatever the check does not pass is read by a reader, which names the
// fault: a damaged document the check passed would open with its damage.
TEST(XmlQuickCheckTest, PassesNoDamagedDocument)
{
    const struct
    {
        const char *name;
        QByteArray body;
    } damaged[] = {
        {"unclosed", "<project><plugin>"},
        {"crossed", "<project><a><b></a></b></project>"},
        {"end tag of another name", "<project></projects>"},
        {"attribute twice", "<project><a x=\"1\" y=\"2\" x=\"3\"/></project>"},
        {"attributes run together", "<project><a x=\"1\"y=\"2\"/></project>"},
        {"attribute without value", "<project><a x/></project>"},
        {"unquoted value", "<project><a x=1/></project>"},
        {"unclosed value", "<project><a x=\"1/></project>"},
        {"< in a value", "<project><a x=\"<\"/></project>"},
        {"unknown entity", "<project>&nbsp;</project>"},
        {"bare &", "<project>a & b</project>"},
        {"reference to a control character", "<project>&#1;</project>"},
        {"empty character reference", "<project>&#x;</project>"},
        {"]]> in text", "<project>a ]]> b</project>"},
        {"control byte", "<project>\x01</project>"},
        {"text outside the root", "<project/>x"},
        {"second root", "<project/><project/>"},
        {"text before the root", "x<project/>"},
        {"no root", ""},
        {"undeclared prefix", "<project><a:b/></project>"},
        {"bad name", "<project><1a/></project>"},
        {"space in an empty tag's end", "<project><a / ></project>"},
    };
    for (const auto &c : damaged) {
        SCOPED_TRACE(c.name);
        const QByteArray document = Head + c.body;
        EXPECT_TRUE(readerFindsDamage(document));
        EXPECT_FALSE(XmlQuickCheck::rootChildren(document, "plugin").has_value());
    }
}
