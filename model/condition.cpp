#include "condition.h"

#include <limits>

namespace Condition {

using ConditionKeyword::Id;

namespace {

// The white space skipped before each token is the C library's: a condition
// typed into a dialog only ever holds blanks and tabs, but one read from a
// file may carry the others.
bool isSkippedSpace(QChar c)
{
    switch (c.unicode()) {
    case u' ': case u'\t': case u'\n': case u'\v': case u'\f': case u'\r':
        return true;
    default:
        return false;
    }
}

// Tokens themselves end only at a blank or a tab, so a value read from a line
// that ends in "\r" keeps the "\r" and matches no keyword.
bool isBlankOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isOperatorChar(QChar c)
{
    return c == u'<' || c == u'=' || c == u'>';
}

class Scanner
{
public:
    explicit Scanner(QStringView text) : text(text) {}

    void skipSpace()
    {
        while (pos < text.size() && isSkippedSpace(text[pos]))
            ++pos;
    }

    // The longest run of characters that belong to a token; false when the
    // run is empty or too long to be a token.
    template<typename Belongs>
    bool take(QString &token, Belongs belongs)
    {
        const qsizetype start = pos;
        while (pos < text.size() && belongs(text[pos]))
            ++pos;
        const qsizetype length = pos - start;
        if (length == 0 || length > MaxTokenLength)
            return false;
        token = text.mid(start, length).toString();
        return true;
    }

private:
    QStringView text;
    qsizetype pos = 0;
};

bool isAsciiDigit(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (base == 8)
        return u >= u'0' && u <= u'7';
    return u >= u'0' && u <= u'9';
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

int digitValue(QChar c, int base)
{
    if (base == 16)
        return hexDigitValue(c);
    return isAsciiDigit(c, base) ? c.unicode() - u'0' : -1;
}

// Skips leading white space and an optional sign; true for a minus.
bool takeSign(QStringView text, qsizetype &pos)
{
    while (pos < text.size() && isSkippedSpace(text[pos]))
        ++pos;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        return text[pos++] == u'-';
    return false;
}

// LOOP and EXIT values: the leading decimal digits with an optional sign, as
// the C library's atoi reads them; text without digits reads as 0 ("abc",
// "0x10" reads as 0). Numbers beyond 32 bits stop at the nearest limit
// rather than wrapping, so "exit > 99999999999" cannot turn true for a small
// exit code.
qint32 decimalValue(QStringView text)
{
    qsizetype pos = 0;
    const bool negative = takeSign(text, pos);
    const qint64 limit = negative ? -qint64(std::numeric_limits<qint32>::min())
                                  : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    for (; pos < text.size() && isAsciiDigit(text[pos], 10); ++pos) {
        magnitude = magnitude * 10 + (text[pos].unicode() - u'0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return qint32(negative ? -magnitude : magnitude);
}

// CRC values: decimal, hexadecimal after "0x" or octal after a leading zero,
// as the C library's strtoul reads them with a 32-bit unsigned long. A minus
// negates modulo 2^32 and a number that does not fit reads as 0xffffffff.
quint32 crcValue(QStringView text)
{
    qsizetype pos = 0;
    const bool negative = takeSign(text, pos);
    int base = 10;
    if (pos < text.size() && text[pos] == u'0') {
        // "0x" without a hex digit after it reads as 0 in either base.
        if (pos + 1 < text.size() && (text[pos + 1] == u'x' || text[pos + 1] == u'X')) {
            base = 16;
            pos += 2;
        } else {
            base = 8;
        }
    }
    quint64 value = 0;
    bool overflow = false;
    for (int digit; pos < text.size() && (digit = digitValue(text[pos], base)) >= 0; ++pos) {
        value = value * quint64(base) + quint64(digit);
        if (value > std::numeric_limits<quint32>::max()) {
            overflow = true;
            value = std::numeric_limits<quint32>::max();
        }
    }
    if (overflow)
        return std::numeric_limits<quint32>::max();
    const quint32 result = quint32(value);
    return negative ? quint32(0u - result) : result;
}

// Both sides are compared as signed 32-bit numbers, CRCs included: a CRC
// with the top bit set is less than 0x7fffffff, as it always was.
bool compare(qint32 stepNumber, int op, qint32 value)
{
    switch (Id(op)) {
    case Id::Equal: return stepNumber == value;
    case Id::Less: return stepNumber < value;
    case Id::Greater: return stepNumber > value;
    case Id::LessOrEqual: return stepNumber <= value;
    case Id::GreaterOrEqual: return stepNumber >= value;
    default: return false;
    }
}

bool isComparison(int op)
{
    return op >= int(Id::Equal) && op <= int(Id::GreaterOrEqual);
}

bool isAllVerdict(int value)
{
    return value == int(Id::Pass) || value == int(Id::Fail) || value == int(Id::Error);
}

bool isItemVerdict(int value)
{
    return isAllVerdict(value) || value == int(Id::Reject);
}

bool itemHasVerdict(int status, int value)
{
    switch (Id(value)) {
    case Id::Pass: return status == 1;
    case Id::Fail: return status == 2;
    case Id::Reject: return status == 3;
    // 7 is the second error state of a step; it reads as an error here too.
    case Id::Error: return status == 4 || status == 7;
    default: return false;
    }
}

} // namespace

Tokens parseCondition(const QString &text)
{
    // Conditions used to be C strings: nothing after a NUL was ever seen.
    QStringView view(text);
    if (const qsizetype nul = view.indexOf(QChar(0)); nul >= 0)
        view.truncate(nul);

    // A token longer than MaxTokenLength ends the scan like a missing one, so
    // the condition counts as malformed: no keyword is that long, and a value
    // that long is a pasting accident rather than a number.
    Tokens tokens;
    Scanner scanner(view);
    scanner.skipSpace();
    if (!scanner.take(tokens.key, [](QChar c) { return !isBlankOrTab(c) && !isOperatorChar(c); }))
        return tokens;
    tokens.count = 1;
    scanner.skipSpace();
    if (!scanner.take(tokens.op, isOperatorChar))
        return tokens;
    tokens.count = 2;
    scanner.skipSpace();
    if (!scanner.take(tokens.value, [](QChar c) { return !isBlankOrTab(c); }))
        return tokens;
    tokens.count = 3;
    return tokens;
}

bool isValidCondition(const QString &text)
{
    const Tokens tokens = parseCondition(text);
    if (!tokens.complete())
        return false;
    const int key = ConditionKeyword::lookup(tokens.key);
    const int op = ConditionKeyword::lookup(tokens.op);
    const int value = ConditionKeyword::lookup(tokens.value);
    switch (Id(key)) {
    case Id::All:
        return op == int(Id::Equal) && isAllVerdict(value);
    case Id::Item:
        return op == int(Id::Equal) && isItemVerdict(value);
    // Values of these keys are not examined: text that is not a number
    // compares as 0.
    case Id::Loop:
    case Id::Exit:
    case Id::Crc:
        return isComparison(op);
    default:
        return false;
    }
}

bool evaluateCondition(const ConditionStep *conditionStep, const ConditionStep *referenceStep,
                       const AllStatusQuery &allStatus)
{
    if (!conditionStep || conditionStep->condition.isEmpty())
        return false;
    const Tokens tokens = parseCondition(conditionStep->condition);
    if (!tokens.complete())
        return false;
    const int key = ConditionKeyword::lookup(tokens.key);
    const int op = ConditionKeyword::lookup(tokens.op);
    const int value = ConditionKeyword::lookup(tokens.value);

    switch (Id(key)) {
    case Id::All:
        if (op != int(Id::Equal) || !isAllVerdict(value) || !allStatus)
            return false;
        return allStatus(Id(value));
    case Id::Loop:
        return compare(conditionStep->loopNumber, op, decimalValue(tokens.value));
    case Id::Exit:
        return referenceStep && compare(referenceStep->exitCode, op, decimalValue(tokens.value));
    case Id::Crc:
        return referenceStep
                && compare(qint32(referenceStep->crc), op, qint32(crcValue(tokens.value)));
    case Id::Item:
        return referenceStep && op == int(Id::Equal) && itemHasVerdict(referenceStep->status, value);
    default:
        return false;
    }
}

} // namespace Condition
