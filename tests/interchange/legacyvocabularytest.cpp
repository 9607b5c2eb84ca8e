#include "legacyvocabulary.h"

#include "temporaryfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using LegacyVocabulary::Vocabulary;

TEST(LegacyVocabularyTest, fixedCodesAndTheCodesReadFromFiles)
{
    const Vocabulary all[] = {Vocabulary::SysCommand,   Vocabulary::ScanTest,
                              Vocabulary::ScanInfrastructure, Vocabulary::StaplScript,
                              Vocabulary::FlashApplicationFile, Vocabulary::FlashImageOperation,
                              Vocabulary::LogicRunner,  Vocabulary::ProcessorRunner};
    for (Vocabulary vocabulary : all) {
        const int v = int(vocabulary);
        EXPECT_EQ(LegacyVocabulary::legacyOperationName(vocabulary, 1), QStringLiteral("Force Pass")) << v;
        EXPECT_EQ(LegacyVocabulary::legacyOperationName(vocabulary, 2), QStringLiteral("Force Fail")) << v;
        for (int code : {-1, 3, 11, 12, 1 << 30}) {
            EXPECT_FALSE(LegacyVocabulary::isReadFromFile(vocabulary, code)) << v << "/" << code;
            EXPECT_EQ(LegacyVocabulary::legacyOperationName(vocabulary, code),
                      QStringLiteral("Skip Operation")) << v << "/" << code;
        }
        for (int code = 0; code <= 11; ++code) {
            const bool fromFile = (vocabulary == Vocabulary::FlashApplicationFile && (code == 0 || code == 6))
                                  || (vocabulary == Vocabulary::ProcessorRunner && code == 10);
            EXPECT_EQ(LegacyVocabulary::isReadFromFile(vocabulary, code), fromFile) << v << "/" << code;
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
        {Vocabulary::FlashApplicationFile, 6, twoActions, "program"},
        {Vocabulary::FlashApplicationFile, 0, noActions, ""},
        {Vocabulary::FlashApplicationFile, 0, binary, ""},
        {Vocabulary::FlashApplicationFile, 6, missing, ""},
        {Vocabulary::FlashApplicationFile, 4, twoActions, "Skip Operation"},
        {Vocabulary::ProcessorRunner, 10, iscAction, "program(usercode)"},
        {Vocabulary::ProcessorRunner, 10, iscOther, "verify_idcode()"},
        {Vocabulary::ProcessorRunner, 10, QString(), "verify_idcode()"},
        {Vocabulary::ProcessorRunner, 0, iscAction, "program()"},
        {Vocabulary::LogicRunner, 10, iscAction, "Skip Operation"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(LegacyVocabulary::legacyOperationName(c.vocabulary, c.code, c.file).toStdString(), c.expected)
            << "vocabulary " << int(c.vocabulary) << ", code " << c.code << ", " << c.file.toStdString();
    }
}

TEST(LegacyVocabularyTest, namesAreExactAndUnknownCodesFallBack)
{
    const std::vector<std::pair<QString, bool>> infrastructure = {
        {"infra", true}, {"bsreg", true}, {"Infra", false}, {"infra ", false}, {"", false}, {"bsre", false},
    };
    for (const auto &[name, expected] : infrastructure)
        EXPECT_EQ(LegacyVocabulary::isInfrastructureName(name), expected) << name.toStdString();

    for (int code = 0; code <= 6; ++code)
        EXPECT_EQ(LegacyVocabulary::showCode(LegacyVocabulary::showName(code)), code) << code;
    for (int code : {7, -1})
        EXPECT_EQ(LegacyVocabulary::showName(code), QStringLiteral("Status")) << code;
    for (const char *other : {"Report", "", "diagnostics"})
        EXPECT_EQ(LegacyVocabulary::showCode(QString::fromLatin1(other)), 3) << other;

    for (int code = 0; code <= 3; ++code)
        EXPECT_EQ(LegacyVocabulary::actionCode(LegacyVocabulary::actionName(code)), code) << code;
    for (int code : {4, -1})
        EXPECT_TRUE(LegacyVocabulary::actionName(code).isEmpty()) << code;
    for (const char *name : {"next", ""})
        EXPECT_EQ(LegacyVocabulary::actionCode(QString::fromLatin1(name)), -1) << name;
}
