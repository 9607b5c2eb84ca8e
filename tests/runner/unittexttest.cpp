#include "imagecrc.h"
#include "unittext.h"

#include <gtest/gtest.h>

TEST(UnitTextTest, DigitsCountLikeAnOdometer)
{
    const struct
    {
        const char *text;
        const char *next;
        const char *previous;
    } cases[] = {
        {"Unit 0009", "Unit 0010", "Unit 0008"}, {"SN-999", "SN-000", "SN-998"}, {"A9B9", "A0B0", "A9B8"},
        {"Unit 0000", "Unit 0001", "Unit 9999"}, {"Batch", "Batch", "Batch"}, {"", "", ""},
        {"x10y", "x11y", "x09y"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(UnitText::incrementText(QString::fromUtf8(c.text)), QString::fromUtf8(c.next));
        EXPECT_EQ(UnitText::decrementText(QString::fromUtf8(c.text)), QString::fromUtf8(c.previous));
    }
    // one step up and one down is the identity wherever a digit exists
    EXPECT_EQ(UnitText::decrementText(UnitText::incrementText(QStringLiteral("B-0999"))),
              QStringLiteral("B-0999"));
}

TEST(ImageCrcTest, ChecksumAndExpectedValueReadings)
{
    EXPECT_EQ(ImageCrc::compute(QByteArray()), 0u);
    // a single byte 1 runs the register through the table entry for 1
    EXPECT_EQ(ImageCrc::compute(QByteArray(1, '\x01')), 0x00400007u);
    // the register starts at 0, so leading zero bytes change nothing
    const QByteArray image = QByteArrayLiteral("boundary-scan image");
    EXPECT_EQ(ImageCrc::compute(QByteArray(3, '\0') + image), ImageCrc::compute(image));
    EXPECT_NE(ImageCrc::compute(image), ImageCrc::compute(QByteArrayLiteral("boundary-scan imagf")));

    const struct
    {
        const char *text;
        std::optional<quint32> value;
    } readings[] = {
        {"16", 16u}, {"0x10", 16u}, {"010", 8u}, {" 4294967295 ", 0xFFFFFFFFu},
        {"4294967296", std::nullopt}, {"", std::nullopt}, {"ten", std::nullopt}, {"08", std::nullopt},
    };
    for (const auto &r : readings)
        EXPECT_EQ(ImageCrc::parseExpected(QString::fromUtf8(r.text)), r.value) << r.text;
}
