#include "conditionkeyword.h"

namespace ConditionKeyword {

const std::array<Entry, 14> &table()
{
    static const std::array<Entry, 14> entries = {{
        {QLatin1String("ALL"), Id::All},
        {QLatin1String("LOOP"), Id::Loop},
        {QLatin1String("ERROR"), Id::Error},
        {QLatin1String("EXIT"), Id::Exit},
        {QLatin1String("FAIL"), Id::Fail},
        {QLatin1String("ITEM"), Id::Item},
        {QLatin1String("PASS"), Id::Pass},
        {QLatin1String("REJECT"), Id::Reject},
        {QLatin1String("="), Id::Equal},
        {QLatin1String("<"), Id::Less},
        {QLatin1String(">"), Id::Greater},
        {QLatin1String("<="), Id::LessOrEqual},
        {QLatin1String(">="), Id::GreaterOrEqual},
        {QLatin1String("CRC"), Id::Crc},
    }};
    return entries;
}

namespace {

char asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char(c - u'a' + 'A') : char(c);
}

// Only ASCII letters fold: Unicode case folding would let look-alikes such as
// the long s ("PAſS") or the Kelvin sign pass for keywords, which a condition
// typed on any keyboard never needs.
bool equalsIgnoringAsciiCase(QStringView token, QLatin1String keyword)
{
    if (token.size() != keyword.size())
        return false;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const char16_t c = token[i].unicode();
        if (c > 0x7f || asciiUpper(c) != keyword[i].toLatin1())
            return false;
    }
    return true;
}

} // namespace

int lookup(QStringView token)
{
    for (const Entry &entry : table()) {
        if (equalsIgnoringAsciiCase(token, entry.text))
            return int(entry.id);
    }
    return NotFound;
}

} // namespace ConditionKeyword
