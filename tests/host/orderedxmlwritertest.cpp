#include "orderedxmlwriter.h"

#include <QDomDocument>

#include <gtest/gtest.h>

TEST(OrderedXmlWriterTest, AttributesComeInTheFormatsOrderAndUnwritableTextIsRefused)
{
    const struct
    {
        const char *tag;
        QList<QPair<QString, QString>> attributes;   // in the order they are set
        const char *written;                         // empty: refused
    } cases[] = {
        {"sequenceelement",
         {{"Zeta", "z"}, {"Column.Item", "A"}, {"Type", "7"}, {"Alpha", "a"}, {"ItemType", "1"}},
         "<sequenceelement ItemType=\"1\" Type=\"7\" Column.Item=\"A\" Alpha=\"a\" Zeta=\"z\"/>"},
        {"as", {{"sq", "1"}, {"sb", "d"}, {"sa", "T"}}, "<as sa=\"T\" sb=\"d\" sq=\"1\"/>"},
        {"ORVSequencerSettings", {{"gangText", "0"}, {"saveReports", "1"}, {"perUnit", "0"}},
         "<ORVSequencerSettings saveReports=\"1\" perUnit=\"0\" gangText=\"0\"/>"},
        {"instrumentparams", {{"b", "two\nlines"}, {"TapInfo1.Flags", "1"}, {"a", "<&>"}},
         "<instrumentparams TapInfo1.Flags=\"1\" a=\"&lt;&amp;&gt;\" b=\"two&#10;lines\"/>"},
        {"instrumentparams", {{"ColumnProperty", QStringLiteral("a\x01" "b")}}, ""},
        {"instrumentparams", {{"My Key", "1"}}, ""},
        {"instrumentparams", {{"1st", "1"}}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tag);
        QDomDocument document;
        QDomElement element = document.createElement(QLatin1String(c.tag));
        for (const auto &[name, value] : c.attributes)
            element.setAttribute(name, value);
        QByteArray bytes;
        QString error;
        const bool written = OrderedXmlWriter::toByteArray(element, bytes, error);
        if (!*c.written) {
            EXPECT_FALSE(written);
            EXPECT_TRUE(error.contains(c.attributes.first().first))
                << error.toStdString();
            continue;
        }
        ASSERT_TRUE(written) << error.toStdString();
        EXPECT_EQ(bytes.split('\n').value(1).toStdString(), c.written);
    }
}
