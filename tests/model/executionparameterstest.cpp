#include "executionparameters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ExecutionParameters;

TEST(ExecutionParameters, WhichKeysTravelWithASequenceList)
{
    // a listed key, and the TAP fields that stay home
    const char *internal[] = {"SeqOperation", "TapInfo1.ExtCells", "TapInfo0.Reserved",
                              "TapInfo007.Reserved", "TapInfo123456789012.ExtCells"};
    for (const char *key : internal)
        EXPECT_FALSE(isExportableParameter(QString::fromLatin1(key))) << key;

    // Listed keys match exactly; TapInfo keys count only as the whole key,
    // in exact case, with digits and a real dot.
    for (const char *key : {"Flags", "cmdline", "Show ", "", "TapInfo1.Level", "TapInfo.ExtCells",
                            "TapInfo1.extcells", "tapinfo1.ExtCells", "TapInfo1.ExtCellsX",
                            "XTapInfo1.ExtCells", "TapInfo1xExtCells", "TapInfo1.ExtCells ",
                            "TapInfoA.Reserved"}) {
        EXPECT_TRUE(isExportableParameter(QString::fromLatin1(key))) << "'" << key << "'";
    }
}

TEST(ExecutionParameters, TapInfoKeysAndDefaults)
{
    EXPECT_EQ(tapInfoKey(5, QStringLiteral("%1")), QStringLiteral("TapInfo5.%1"));

    // A field set to its default is left out, also over a value stored
    // before, and reads as 0.
    Parameters parameters;
    setTapInfo(parameters, 3, TapField::Level, QStringLiteral("25"));
    setTapInfo(parameters, 4, TapField::Level, QStringLiteral("25"));
    setTapInfo(parameters, 4, TapField::Level, QStringLiteral("0"));
    EXPECT_EQ(parameters, Parameters({{QStringLiteral("TapInfo3.Level"), QStringLiteral("25")}}));
    EXPECT_EQ(tapInfo(parameters, 3, TapField::Level), QStringLiteral("25"));
    EXPECT_EQ(tapInfo(parameters, 4, TapField::Level), QStringLiteral("0"));
}

TEST(ExecutionParameters, ParseTapInfoKey)
{
    const struct {
        const char *key;
        bool matches;
        int tap;
        const char *field;
    } cases[] = {
        {"TapInfo1.Flags", true, 1, "Flags"},
        {"TapInfo05.Flags", true, 5, "Flags"},
        {"TapInfo0.Level", true, 0, "Level"},
        {"TapInfo32.UseGang", true, 32, "UseGang"},
        {"TapInfo3.Some.Thing", true, 3, "Some.Thing"},
        {"TapInfo99999999999999999999.Flags", true, std::numeric_limits<int>::max(), "Flags"},
        {"TapInfo.Flags", false, 0, ""},
        {"TapInfo1.", false, 0, ""},
        {"TapInfo1", false, 0, ""},
        {"TapInfo1Flags", false, 0, ""},
        {"TapInfo1.Use Gang", false, 0, ""},
        {"TapInfo1.Flags\t", false, 0, ""},
        {"TapInfo-1.Flags", false, 0, ""},
        {"TapInfo+1.Flags", false, 0, ""},
        {"tapinfo1.Flags", false, 0, ""},
        {"Flags", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const auto &c : cases) {
        const std::optional<TapInfoKey> parsed = parseTapInfoKey(QString::fromLatin1(c.key));
        ASSERT_EQ(parsed.has_value(), c.matches) << c.key;
        if (!parsed)
            continue;
        EXPECT_EQ(parsed->tap, c.tap) << c.key;
        EXPECT_EQ(parsed->field, QString::fromLatin1(c.field)) << c.key;
    }
    // Digits other than ASCII ones are not TAP numbers.
    EXPECT_FALSE(parseTapInfoKey(QStringLiteral("TapInfo\u0663.Flags")).has_value());
}

TEST(ExecutionParameters, ProcedureSwitches)
{
    const struct {
        const char *what;
        Parameters parameters;
        const char *expected;
    } cases[] = {
        {"no lists", {{"Action", "program"}}, ""},
        {"inclusions of the action only",
         {{"Action", "program"},
          {"ProcsIncluded", "3"},
          {"ProcIn0Action", "program"}, {"ProcIn0Proc", "A"},
          {"ProcIn1Action", "erase"}, {"ProcIn1Proc", "B"},
          {"ProcIn2Action", "program"}, {"ProcIn2Proc", "C"}},
         "A=1 C=1 "},
        {"inclusions before exclusions",
         {{"Action", "verify"},
          {"ProcsIncluded", "1"}, {"ProcIn0Action", "verify"}, {"ProcIn0Proc", "X"},
          {"ProcsExcluded", "2"},
          {"ProcEx0Action", "verify"}, {"ProcEx0Proc", "Y"},
          {"ProcEx1Action", "verify"}, {"ProcEx1Proc", "Z"}},
         "X=1 Y=0 Z=0 "},
        {"the count limits the entries",
         {{"Action", "erase"},
          {"ProcsIncluded", "1"},
          {"ProcIn0Action", "erase"}, {"ProcIn0Proc", "P"},
          {"ProcIn1Action", "erase"}, {"ProcIn1Proc", "Q"}},
         "P=1 "},
        {"negative count",
         {{"Action", "erase"}, {"ProcsIncluded", "-1"}, {"ProcIn0Action", "erase"},
          {"ProcIn0Proc", "P"}},
         ""},
        {"unreadable count",
         {{"Action", "erase"}, {"ProcsIncluded", "two"}, {"ProcIn0Action", "erase"},
          {"ProcIn0Proc", "P"}},
         ""},
        {"hexadecimal count is not decimal",
         {{"Action", "erase"}, {"ProcsIncluded", "0x1"}, {"ProcIn0Action", "erase"},
          {"ProcIn0Proc", "P"}},
         ""},
        {"empty procedure name still counts",
         {{"Action", "program"}, {"ProcsIncluded", "1"}, {"ProcIn0Action", "program"}},
         "=1 "},
        {"action compared exactly",
         {{"Action", "Program"}, {"ProcsIncluded", "1"}, {"ProcIn0Action", "program"},
          {"ProcIn0Proc", "A"}},
         ""},
        {"missing entries match a missing action",
         {{"ProcsIncluded", "2"}, {"ProcsExcluded", "1"}}, "=1 =1 =0 "},
        {"missing entries do not match a set action",
         {{"Action", "program"}, {"ProcsIncluded", "2"}}, ""},
        {"symbols are not part of the switch",
         {{"Action", "program"}, {"ProcsIncluded", "1"}, {"ProcIn0Action", "program"},
          {"ProcIn0Proc", "A"}, {"ProcIn0Symbol", "S"}},
         "A=1 "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(procedureSwitches(c.parameters), QString::fromLatin1(c.expected)) << c.what;
}

TEST(ExecutionParameters, ProcedureSwitchesBoundAHugeCount)
{
    // With no action every missing entry matches; a damaged count must not
    // turn that into gigabytes of switches.
    const Parameters parameters = {{"ProcsIncluded", "4294967295"}};
    EXPECT_EQ(procedureSwitches(parameters).size(), qsizetype(MaxProcedureEntries) * 3);
}
