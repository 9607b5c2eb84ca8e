#include "legacyvocabulary.h"

#include "temporaryfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using LegacyVocabulary::Vocabulary;

TEST(LegacyVocabularyTest, operationNamesOfFixedCodes)
{
    const char *skip = "Skip Operation";
    const char *pass = "Force Pass";
    const char *fail = "Force Fail";
    struct Column {
        Vocabulary vocabulary;
        // codes 0 to 11; nullptr marks the codes read from a file
        std::vector<const char *> names;
    };
    const std::vector<Column> columns = {
        {Vocabulary::SysCommand,
         {"Execute Command", pass, fail, skip, skip, skip, skip, skip, skip, skip, skip, skip}},
        {Vocabulary::ScanTest, {"Execute Test", pass, fail, skip, skip, skip, skip, skip, skip, skip, skip, skip}},
        {Vocabulary::ScanInfrastructure,
         {"Test Infrastructure", pass, fail, skip, skip, skip, skip, skip, skip, skip, skip, skip}},
        {Vocabulary::StaplScript, {skip, pass, fail, skip, skip, skip, skip, skip, skip, skip, skip, skip}},
        {Vocabulary::FlashApplicationFile,
         {nullptr, pass, fail, skip, skip, skip, nullptr, skip, skip, skip, skip, skip}},
        {Vocabulary::FlashImageOperation,
         {skip, pass, fail, skip, "Load Image File", "Save Image File", skip, "Compare with Image File",
          "Preload with 0's", "Preload with 1's", "Check Image File's CRC", skip}},
        {Vocabulary::LogicRunner,
         {"erase", pass, fail, skip, "blank check", "usercode", "program", "verify", "readback", "security", skip,
          skip}},
        {Vocabulary::ProcessorRunner,
         {"program()", pass, fail, skip, "blank_check()", "read(usercode)", "erase()", "verify()", "read()",
          "program(security)", nullptr, skip}},
    };
    for (const Column &column : columns) {
        for (int code = 0; code < int(column.names.size()); ++code) {
            const bool fromFile = column.names[size_t(code)] == nullptr;
            EXPECT_EQ(LegacyVocabulary::isReadFromFile(column.vocabulary, code), fromFile)
                << "vocabulary " << int(column.vocabulary) << ", code " << code;
            if (fromFile)
                continue;
            EXPECT_EQ(LegacyVocabulary::legacyOperationName(column.vocabulary, code).toStdString(),
                      column.names[size_t(code)])
                << "vocabulary " << int(column.vocabulary) << ", code " << code;
        }
        for (int code : {-1, 12, 255, 1 << 30}) {
            EXPECT_FALSE(LegacyVocabulary::isReadFromFile(column.vocabulary, code));
            EXPECT_EQ(LegacyVocabulary::legacyOperationName(column.vocabulary, code).toStdString(), skip)
                << "vocabulary " << int(column.vocabulary) << ", code " << code;
        }
    }
}

TEST(LegacyVocabularyTest, operationNamesReadFromFiles)
{
    TemporaryFolder folder;
    const QString twoActions =
        folder.write(QStringLiteral("two.apl"), "[actions]\naction = program\naction = verify\n");
    const QString noActions = folder.write(QStringLiteral("none.apl"), "[application]\nname = U1\n");
    const QString binary = folder.write(QStringLiteral("binary.apl"), QByteArray("\x00\x01\x02[actions]", 12));
    const QString iscAction = folder.write(QStringLiteral("isc.ini"), "[isc_operation]\naction = program(usercode)\n");
    const QString iscOther = folder.write(QStringLiteral("other.ini"), "[other]\naction = erase()\n");
    const QString missing = folder.filePath(QStringLiteral("missing"));

    struct Case {
        Vocabulary vocabulary;
        int code;
        QString file;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {Vocabulary::FlashApplicationFile, 0, twoActions, "program"},
        {Vocabulary::FlashApplicationFile, 6, twoActions, "program"},
        {Vocabulary::FlashApplicationFile, 0, noActions, ""},
        {Vocabulary::FlashApplicationFile, 0, binary, ""},
        {Vocabulary::FlashApplicationFile, 6, missing, ""},
        {Vocabulary::FlashApplicationFile, 0, QString(), ""},
        {Vocabulary::FlashApplicationFile, 4, twoActions, "Skip Operation"},
        {Vocabulary::ProcessorRunner, 10, iscAction, "program(usercode)"},
        {Vocabulary::ProcessorRunner, 10, iscOther, "verify_idcode()"},
        {Vocabulary::ProcessorRunner, 10, missing, "verify_idcode()"},
        {Vocabulary::ProcessorRunner, 10, QString(), "verify_idcode()"},
        {Vocabulary::ProcessorRunner, 0, iscAction, "program()"},
        {Vocabulary::LogicRunner, 10, iscAction, "Skip Operation"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(LegacyVocabulary::legacyOperationName(c.vocabulary, c.code, c.file).toStdString(), c.expected)
            << "vocabulary " << int(c.vocabulary) << ", code " << c.code << ", " << c.file.toStdString();
    }
}

TEST(LegacyVocabularyTest, infrastructureNames)
{
    const std::vector<std::pair<QString, bool>> cases = {
        {"infra", true}, {"capture", true}, {"ident", true}, {"trst", true}, {"bsreg", true},
        {"Infra", false}, {"infra ", false}, {"", false}, {"test", false}, {"bsre", false},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(LegacyVocabulary::isInfrastructureName(name), expected) << name.toStdString();
}

TEST(LegacyVocabularyTest, showOptions)
{
    const std::vector<std::pair<int, std::string>> codes = {
        {0, "All vectors, All nets"},
        {1, "Failing vectors, All nets"},
        {2, "Diagnostics"},
        {3, "Status"},
        {4, "Diagnostics on Fail"},
        {5, "All vectors, Failing nets"},
        {6, "Failing vectors, Failing nets"},
        {7, "Status"},
        {-1, "Status"},
    };
    for (const auto &[code, name] : codes) {
        EXPECT_EQ(LegacyVocabulary::showName(code).toStdString(), name) << code;
        if (code >= 0 && code <= 6) {
            EXPECT_EQ(LegacyVocabulary::showCode(QString::fromStdString(name)), code) << name;
        }
    }
    for (const char *other : {"Report", "", "diagnostics"})
        EXPECT_EQ(LegacyVocabulary::showCode(QString::fromLatin1(other)), 3) << other;
}

TEST(LegacyVocabularyTest, flowActions)
{
    const std::vector<std::pair<int, std::string>> codes = {
        {0, "Next"}, {1, "Prev"}, {2, "Stop"}, {3, "Redo"}, {4, ""}, {-1, ""},
    };
    for (const auto &[code, name] : codes) {
        EXPECT_EQ(LegacyVocabulary::actionName(code).toStdString(), name) << code;
        EXPECT_EQ(LegacyVocabulary::actionCode(QString::fromStdString(name)), code < 0 || code > 3 ? -1 : code)
            << name;
    }
    EXPECT_EQ(LegacyVocabulary::actionCode(QStringLiteral("next")), -1);
}
