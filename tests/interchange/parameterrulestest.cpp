#include "parameterrules.h"

#include "temporaryfolder.h"

#include <gtest/gtest.h>

TEST(ParameterRulesTest, ReadsRulesFromTheFile)
{
    ParameterRules rules;
    rules.loadData("<AnyRoot>"
                   "<ParamRule key='UseConFile' regexp='yes|no'/>"
                   "<ParamRule key='Level' regexp='[0-9]+'/>"
                   "<Comment key='Level' regexp='.*'/>"
                   "<ParamRule key='Level' regexp='-?[0-9]+'/>"
                   "<ParamRule key='InstrumentName' regexp=''/>"
                   "<ParamRule key='Free'/>"
                   "<ParamRule key='Broken' regexp='(unclosed'/>"
                   "</AnyRoot>");
    EXPECT_EQ(rules.count(), 5);

    struct Case
    {
        const char *key;
        const char *value;
        bool accepted;
    };
    const Case cases[] = {
        {"UseConFile", "yes", true},   {"UseConFile", "no", true},
        {"UseConFile", "YES", false},  {"UseConFile", "yes ", false},
        {"UseConFile", "", false},     {"Level", "-20", true},    // the later rule wins
        {"Level", "20x", false},       {"InstrumentName", "anything", true},
        {"Free", "anything", true},    {"Unknown", "anything", true},
        {"Broken", "(unclosed", false},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(rules.accepts(QLatin1String(test.key), QLatin1String(test.value)), test.accepted)
            << test.key << " " << test.value;
    }
    EXPECT_TRUE(rules.isUnrestricted(QStringLiteral("InstrumentName")));
    EXPECT_TRUE(rules.isUnrestricted(QStringLiteral("Free")));
    EXPECT_FALSE(rules.isUnrestricted(QStringLiteral("Unknown")));
    EXPECT_EQ(rules.expression(QStringLiteral("Level")), QStringLiteral("-?[0-9]+"));
}

TEST(ParameterRulesTest, AFileThatCannotBeUsedGivesNoRules)
{
    TemporaryFolder folder;
    struct Case
    {
        const char *name;
        const char *content;   // null: no file
    };
    const Case cases[] = {
        {"missing", nullptr}, {"not well-formed", "<ORVSequencerParamRules><ParamRule key='a' regexp='b'>"},
        {"empty", ""}, {"not XML", "UseConFile=yes|no"},
    };
    for (const Case &test : cases) {
        const QString path = folder.filePath(QLatin1String(test.name) + QStringLiteral(".xml"));
        if (test.content)
            folder.write(QLatin1String(test.name) + QStringLiteral(".xml"), test.content);
        ParameterRules rules;
        rules.loadData("<r><ParamRule key='x' regexp='y'/></r>");
        rules.load(path);
        EXPECT_TRUE(rules.isEmpty()) << test.name;
    }
}
