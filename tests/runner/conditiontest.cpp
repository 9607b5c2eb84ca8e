#include "condition.h"
#include "conditionkeyword.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

using ConditionKeyword::Id;

namespace {

constexpr qint32 Int32Max = std::numeric_limits<qint32>::max();
constexpr qint32 Int32Min = std::numeric_limits<qint32>::min();

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

ConditionStep ifStep(const QString &condition, int loopNumber = 1)
{
    ConditionStep step;
    step.condition = condition;
    step.loopNumber = loopNumber;
    return step;
}

ConditionStep stepWithStatus(int status)
{
    ConditionStep step;
    step.status = status;
    return step;
}

ConditionStep stepWithExit(qint32 exitCode)
{
    ConditionStep step;
    step.exitCode = exitCode;
    return step;
}

ConditionStep stepWithCrc(quint32 crc)
{
    ConditionStep step;
    step.crc = crc;
    return step;
}

const Condition::AllStatusQuery noAggregate = [](Id) { return false; };

bool evaluate(const QString &condition, const ConditionStep &reference, int loopNumber = 1)
{
    const ConditionStep step = ifStep(condition, loopNumber);
    return Condition::evaluateCondition(&step, &reference, noAggregate);
}

} // namespace

TEST(ConditionKeyword, LookupIgnoresCase)
{
    for (const auto &entry : ConditionKeyword::table()) {
        const QString upper = QString(entry.text);
        EXPECT_EQ(ConditionKeyword::lookup(upper), int(entry.id)) << upper.toStdString();
        EXPECT_EQ(ConditionKeyword::lookup(upper.toLower()), int(entry.id)) << upper.toStdString();
    }
    EXPECT_EQ(ConditionKeyword::lookup(QStringLiteral("cRc")), int(Id::Crc));
}

TEST(ConditionKeyword, OnlyWholeTokensAndAsciiLettersMatch)
{
    // "PAſS" has a long s and "ıtem" a dotless i: Unicode case folding would
    // take the first for PASS.
    for (const char *token : {"", " PASS", "PASS ", "PASSED", "PAS", "pass\r", "==", "=<", "=>",
                              "<>", "<<", "=>=", "ALL=", "PAſS", "ıtem", "ＰＡＳＳ", "ITEM\n",
                              "REJECTED", "CRC32"}) {
        EXPECT_EQ(ConditionKeyword::lookup(text(token)), ConditionKeyword::NotFound) << token;
    }
}

TEST(Condition, ParseSplitsKeyOperatorAndValue)
{
    const struct {
        QString text;
        int count;
        const char *key;
        const char *op;
        const char *value;
    } rows[] = {
        {text("item=fail"), 3, "item", "=", "fail"},
        {text("  ITEM   =   Fail  "), 3, "ITEM", "=", "Fail"},
        {text("item == fail"), 3, "item", "==", "fail"},
        {text("\titem\t>=\t3"), 3, "item", ">=", "3"},
        {text("loop<=3"), 3, "loop", "<=", "3"},
        {text("loop=<3"), 3, "loop", "=<", "3"},
        {text("exit=>-1"), 3, "exit", "=>", "-1"},
        // The operator stops at the blank; the rest belongs to the value.
        {text("loop< =3"), 3, "loop", "<", "=3"},
        {text("item = fail and more"), 3, "item", "=", "fail"},
        {text("crc = 0x10;"), 3, "crc", "=", "0x10;"},
        {text("all\t=pass\t\tx"), 3, "all", "=", "pass"},
        // Line breaks are skipped before a token but belong to it after.
        {text("\r\n item = fail\r\n"), 3, "item", "=", "fail\r\n"},
        {text("item\r\n= fail"), 3, "item\r\n", "=", "fail"},
        {text("a-b = c=d"), 3, "a-b", "=", "c=d"},
        // A no-break space is not white space to the scanner.
        {text("\u00a0item = pass"), 3, "\u00a0item", "=", "pass"},
        {text(""), 0, "", "", ""},
        {text(" \t "), 0, "", "", ""},
        {text("= fail"), 0, "", "", ""},
        {text("item"), 1, "item", "", ""},
        {text("item fail"), 1, "item", "", ""},
        {text("item ="), 2, "item", "=", ""},
        {text("item = \t"), 2, "item", "=", ""},
        {QStringLiteral("item = pass") + QChar(0) + QStringLiteral("junk"), 3, "item", "=", "pass"},
        {QStringLiteral("item") + QChar(0) + QStringLiteral(" = pass"), 1, "item", "", ""},
    };
    for (const auto &row : rows) {
        const Condition::Tokens tokens = Condition::parseCondition(row.text);
        EXPECT_EQ(tokens.count, row.count) << row.text.toStdString();
        EXPECT_EQ(tokens.complete(), row.count == 3) << row.text.toStdString();
        EXPECT_EQ(tokens.key, text(row.key)) << row.text.toStdString();
        EXPECT_EQ(tokens.op, text(row.op)) << row.text.toStdString();
        EXPECT_EQ(tokens.value, text(row.value)) << row.text.toStdString();
    }
}

TEST(Condition, TokensLongerThan255CharactersAreMalformed)
{
    const QString longest(255, u'7');
    const QString tooLong(256, u'7');

    EXPECT_TRUE(Condition::parseCondition(QStringLiteral("exit = ") + longest).complete());
    EXPECT_EQ(Condition::parseCondition(QStringLiteral("exit = ") + tooLong).count, 2);
    EXPECT_EQ(Condition::parseCondition(QStringLiteral("exit ") + QString(256, u'=') + QStringLiteral(" 1")).count, 1);
    EXPECT_EQ(Condition::parseCondition(QString(256, u'x') + QStringLiteral(" = 1")).count, 0);
    EXPECT_TRUE(Condition::parseCondition(QString(255, u'x') + QStringLiteral(" = 1")).complete());

    EXPECT_TRUE(Condition::isValidCondition(QStringLiteral("exit = ") + longest));
    EXPECT_FALSE(Condition::isValidCondition(QStringLiteral("exit = ") + tooLong));
    // Malformed means false even where the number would have compared true.
    EXPECT_TRUE(evaluate(QStringLiteral("exit < ") + longest, stepWithExit(0)));
    EXPECT_FALSE(evaluate(QStringLiteral("exit < ") + tooLong, stepWithExit(0)));
}

TEST(Condition, SyntaxCheck)
{
    const struct { const char *text; bool valid; } rows[] = {
        {"item=fail", true},
        {"ITEM = Fail", true},
        {"item = pass", true},
        {"item = error", true},
        {"item = reject", true},
        {"item = fail trailing words", true},
        {"item == fail", false},
        {"item < fail", false},
        {"item >= pass", false},
        {"item = failed", false},
        {"item = 1", false},
        {"item = fail;", false},
        {"item = fail\r", false},
        {"all = pass", true},
        {"ALL=ERROR", true},
        {"all = fail", true},
        {"all = reject", false},
        {"all <= pass", false},
        {"all == pass", false},
        {"loop = 3", true},
        {"loop < 5", true},
        {"loop>x", true},
        {"loop <= -1", true},
        {"loop >= 0x10", true},
        {"loop =< 3", false},
        {"loop => 3", false},
        {"loop == 3", false},
        {"loop <> 3", false},
        {"loop >> 3", false},
        {"loop <=> 3", false},
        {"loop = ", false},
        {"loop", false},
        {"exit < abc", true},
        {"\texit\t>=\t3\t", true},
        {"exit>=-1", true},
        {"exit == 0", false},
        {"crc = 0x10", true},
        {"CRC >= 010", true},
        {"crc=<1", false},
        {"pass = pass", false},
        {"error = 1", false},
        {"= pass", false},
        {"status = pass", false},
        {"items = pass", false},
        {"", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Condition::isValidCondition(text(row.text)), row.valid) << row.text;
}

TEST(Condition, ItemReadsTheReferenceStatus)
{
    // Status codes: 0 skipped, 1 passed, 2 failed, 3 rejected, 4 error,
    // 5 cancelled, 6 unused, 7 error, 8 done.
    const struct { const char *value; std::vector<int> trueFor; } rows[] = {
        {"pass", {1}},
        {"FAIL", {2}},
        {"Reject", {3}},
        {"error", {4, 7}},
        {"all", {}},
        {"failed", {}},
        {"2", {}},
    };
    for (const auto &row : rows) {
        const QString condition = QStringLiteral("item = ") + text(row.value);
        for (int status = -1; status <= 9; ++status) {
            const bool expected = std::find(row.trueFor.begin(), row.trueFor.end(), status)
                    != row.trueFor.end();
            EXPECT_EQ(evaluate(condition, stepWithStatus(status)), expected)
                    << row.value << " status " << status;
        }
    }
    // Only "=" compares statuses, whatever the status.
    for (const char *condition : {"item == fail", "item < fail", "item >= fail", "item =< fail"}) {
        for (int status = 0; status <= 8; ++status)
            EXPECT_FALSE(evaluate(text(condition), stepWithStatus(status))) << condition;
    }
    EXPECT_TRUE(evaluate(text("ITEM=FAIL and then some"), stepWithStatus(2)));
}

TEST(Condition, ExitAndLoopReadLeadingDecimalDigits)
{
    const struct { const char *value; qint32 reading; } rows[] = {
        {"0", 0},
        {"3", 3},
        {"-3", -3},
        {"+7", 7},
        {"007", 7},
        {"12abc", 12},
        {"1.5", 1},
        {"1e3", 1},
        {"abc", 0},
        {"-", 0},
        {"+-1", 0},
        {"0x10", 0},
        {"010", 10},
        {"=3", 0},
        {"٣", 0},            // an Arabic-Indic three is not a digit here
        {"2147483647", Int32Max},
        {"2147483648", Int32Max},
        {"4294967296", Int32Max},
        {"99999999999999999999999", Int32Max},
        {"-2147483648", Int32Min},
        {"-2147483649", Int32Min},
        {"-99999999999999999999999", Int32Min},
    };
    for (const auto &row : rows) {
        const QString value = text(row.value);
        EXPECT_TRUE(evaluate(QStringLiteral("exit = ") + value, stepWithExit(row.reading))) << row.value;
        EXPECT_FALSE(evaluate(QStringLiteral("exit = ") + value, stepWithExit(row.reading ^ 1))) << row.value;
        EXPECT_TRUE(evaluate(QStringLiteral("loop = ") + value, {}, row.reading)) << row.value;
        EXPECT_FALSE(evaluate(QStringLiteral("loop = ") + value, {}, row.reading ^ 1)) << row.value;
    }
}

TEST(Condition, CrcReadsDecimalHexAndOctal)
{
    const struct { const char *value; quint32 reading; } rows[] = {
        {"16", 16},
        {"0x10", 16},
        {"0X1f", 31},
        {"0xDEADBEEF", 0xdeadbeef},
        {"010", 8},
        {"0777", 511},
        {"08", 0},           // octal stops at the 8
        {"0", 0},
        {"0x", 0},
        {"0xg", 0},
        {"0x1G", 1},
        {"12abc", 12},
        {"abc", 0},
        {"+0x10", 16},
        {"-1", 0xffffffff},
        {"-0x10", 0xfffffff0},
        {"-4294967295", 1},
        {"4294967295", 0xffffffff},
        {"0xffffffff", 0xffffffff},
        {"037777777777", 0xffffffff},
        {"4294967296", 0xffffffff},
        {"0x100000000", 0xffffffff},
        {"-4294967296", 0xffffffff},
        {"99999999999999999999", 0xffffffff},
    };
    for (const auto &row : rows) {
        const QString condition = QStringLiteral("crc = ") + text(row.value);
        EXPECT_TRUE(evaluate(condition, stepWithCrc(row.reading))) << row.value;
        EXPECT_FALSE(evaluate(condition, stepWithCrc(row.reading ^ 1))) << row.value;
    }
}

TEST(Condition, ComparisonsAreSigned32Bit)
{
    const struct { const char *op; bool less; bool equal; bool greater; } ops[] = {
        {"=", false, true, false},
        {"<", true, false, false},
        {">", false, false, true},
        {"<=", true, true, false},
        {">=", false, true, true},
    };
    // The step's number against a value below, equal to and above it.
    for (const auto &op : ops) {
        const QString o = text(op.op);
        EXPECT_EQ(evaluate(QStringLiteral("loop ") + o + QStringLiteral(" 4"), {}, 5), op.greater) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("loop ") + o + QStringLiteral(" 5"), {}, 5), op.equal) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("loop ") + o + QStringLiteral(" 6"), {}, 5), op.less) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("exit") + o + QStringLiteral("-2"), stepWithExit(-1)), op.greater) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("exit") + o + QStringLiteral("-1"), stepWithExit(-1)), op.equal) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("exit") + o + QStringLiteral("0"), stepWithExit(-1)), op.less) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("crc ") + o + QStringLiteral(" 0x7fffffff"), stepWithCrc(0x7fffffff)), op.equal) << op.op;
        // A CRC with the top bit set is negative, below any positive value.
        EXPECT_EQ(evaluate(QStringLiteral("crc ") + o + QStringLiteral(" 1"), stepWithCrc(0xdeadbeef)), op.less) << op.op;
        EXPECT_EQ(evaluate(QStringLiteral("crc ") + o + QStringLiteral(" 0x80000000"), stepWithCrc(0x7fffffff)), op.greater) << op.op;
    }
    EXPECT_TRUE(evaluate(text("exit > -2147483648"), stepWithExit(Int32Min + 1)));
    EXPECT_FALSE(evaluate(text("exit < -99999999999"), stepWithExit(Int32Min)));
    EXPECT_FALSE(evaluate(text("exit > 99999999999"), stepWithExit(1)));
    EXPECT_TRUE(evaluate(text("exit < abc"), stepWithExit(-5)));
    EXPECT_FALSE(evaluate(text("exit < abc"), stepWithExit(0)));
    EXPECT_FALSE(evaluate(text("exit = 0x10"), stepWithExit(16)));
    EXPECT_TRUE(evaluate(text("exit = 0x10"), stepWithExit(0)));
}

TEST(Condition, UnknownOperatorsAreFalse)
{
    // Each row's key would compare true with "=".
    const struct { const char *key; ConditionStep reference; int loopNumber; } keys[] = {
        {"loop", {}, 3},
        {"exit", stepWithExit(3), 1},
        {"crc", stepWithCrc(3), 1},
    };
    for (const auto &key : keys) {
        const QString k = text(key.key);
        EXPECT_TRUE(evaluate(k + QStringLiteral(" = 3"), key.reference, key.loopNumber)) << key.key;
        EXPECT_TRUE(evaluate(k + QStringLiteral("=3"), key.reference, key.loopNumber)) << key.key;
        for (const char *op : {"==", "=<", "=>", "<>", "<<", ">>", "<=>", "==="}) {
            EXPECT_FALSE(evaluate(k + u' ' + text(op) + QStringLiteral(" 3"), key.reference, key.loopNumber))
                    << key.key << op;
            EXPECT_FALSE(evaluate(k + text(op) + QStringLiteral("3"), key.reference, key.loopNumber))
                    << key.key << op;
        }
    }
}

TEST(Condition, AbsentStepsAndEmptyConditions)
{
    const auto always = [](Id) { return true; };

    // An IF at the top of the sequence has no step above it.
    const struct { const char *condition; bool withoutReference; } rows[] = {
        {"exit = 0", false},
        {"exit >= -5", false},
        {"item = pass", false},
        {"item = error", false},
        {"crc = 0", false},
        {"crc < 5", false},
        {"loop = 1", true},
        {"loop < 5", true},
        {"all = pass", true},
        {"all = error", true},
    };
    for (const auto &row : rows) {
        const ConditionStep step = ifStep(text(row.condition));
        EXPECT_EQ(Condition::evaluateCondition(&step, nullptr, always), row.withoutReference)
                << row.condition;
    }

    const ConditionStep reference = stepWithStatus(1);
    EXPECT_FALSE(Condition::evaluateCondition(nullptr, &reference, always));
    EXPECT_FALSE(Condition::evaluateCondition(nullptr, nullptr, always));
    const ConditionStep empty = ifStep(QString());
    EXPECT_FALSE(Condition::evaluateCondition(&empty, &reference, always));
    const ConditionStep blank = ifStep(QStringLiteral("   "));
    EXPECT_FALSE(Condition::evaluateCondition(&blank, &reference, always));

    // A step that was skipped matches no verdict.
    for (const char *condition : {"item = pass", "item = fail", "item = error", "item = reject"})
        EXPECT_FALSE(evaluate(text(condition), stepWithStatus(0))) << condition;
}

TEST(Condition, AllAsksTheRunAggregate)
{
    const struct { const char *condition; int asked; } rows[] = {
        {"all = pass", int(Id::Pass)},
        {"ALL=FAIL", int(Id::Fail)},
        {"\tall\t=\tError and more", int(Id::Error)},
        {"all = reject", 0},
        {"all == pass", 0},
        {"all < pass", 0},
        {"all >= fail", 0},
        {"all = passed", 0},
        {"all = 706", 0},
        {"all =", 0},
    };
    for (const auto &row : rows) {
        const ConditionStep step = ifStep(text(row.condition));
        for (bool answer : {false, true}) {
            int asked = 0;
            const Condition::AllStatusQuery query = [&](Id verdict) {
                asked = int(verdict);
                return answer;
            };
            EXPECT_EQ(Condition::evaluateCondition(&step, nullptr, query), row.asked != 0 && answer)
                    << row.condition;
            EXPECT_EQ(asked, row.asked) << row.condition;
        }
    }
    const ConditionStep step = ifStep(QStringLiteral("all = pass"));
    EXPECT_FALSE(Condition::evaluateCondition(&step, nullptr, Condition::AllStatusQuery()));
}

TEST(Condition, WhatTheDialogRefusesIsNeverTrue)
{
    const char *conditions[] = {
        "item == fail", "item < pass", "item = passed", "all = reject", "all == pass",
        "all < error", "loop == 1", "loop =< 1", "loop => 1", "exit == 0", "exit =< 0",
        "crc => 0", "crc == 0", "pass = pass", "error = error", "1 = 1", "= 1", "loop",
        "loop =", "status = 0", "loops = 1", "exit <> 0", "item\r\n= pass",
    };
    const auto always = [](Id) { return true; };
    for (const char *condition : conditions) {
        ASSERT_FALSE(Condition::isValidCondition(text(condition))) << condition;
        for (int status = 0; status <= 8; ++status) {
            for (int loopNumber : {0, 1}) {
                ConditionStep step = ifStep(text(condition), loopNumber);
                ConditionStep reference = stepWithStatus(status);
                EXPECT_FALSE(Condition::evaluateCondition(&step, &reference, always))
                        << condition << " status " << status;
            }
        }
    }
}
