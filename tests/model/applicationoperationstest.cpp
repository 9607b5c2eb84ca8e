#include "applicationoperations.h"
#include "hxsequenceitem.h"
#include "sampleprojecthost.h"

#include <gtest/gtest.h>

namespace {

HxSequenceItem stepFor(const QString &application)
{
    HxSequenceItem item;
    item.itemType = int(ItemType::Application);
    item.columnItem = application;
    item.columnOperation = QStringLiteral("Execute Test");
    return item;
}

// The sample project's "Chain" and three applications without lists.
class ApplicationOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto &[name, type] : {std::pair{"Untyped", ""}, std::pair{"Viewer", "Interactive Tool 2"},
                                         std::pair{"Bare", "SVF Vector Player"}}) {
            ProjectApplication application;
            application.name = QLatin1String(name);
            application.type = QLatin1String(type);
            project.applications.append(application);
        }
    }

    SampleProjectHost sample;
    WorkbenchHost &host = sample.host;
    ScriptedPrompt &prompt = sample.prompt;
    HostProject &project = sample.project;
};

} // namespace

TEST_F(ApplicationOperationsTest, ListsTheHostsOperationsThenTheForcedOnes)
{
    const ApplicationOperations result =
        ApplicationOperations::query(host.link(), stepFor(QStringLiteral("Chain")));
    EXPECT_EQ(result.operations,
              QStringList({QStringLiteral("Execute Test"), QStringLiteral("Test Infrastructure"),
                           QStringLiteral("Force Pass"), QStringLiteral("Force Fail"),
                           QStringLiteral("Skip Operation")}));
    EXPECT_EQ(result.showOptions,
              QStringList({QStringLiteral("Status"), QStringLiteral("Diagnostics")}));
    EXPECT_TRUE(prompt.asked.isEmpty());

    // an application without lists still offers the forced operations
    const ApplicationOperations bare =
        ApplicationOperations::query(host.link(), stepFor(QStringLiteral("Bare")));
    EXPECT_EQ(bare.operations.size(), 3);
    EXPECT_TRUE(bare.showOptions.isEmpty());
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(ApplicationOperationsTest, EachFailureIsToldInItsOwnWords)
{
    const struct
    {
        bool projectOpen;
        const char *application;
        const char *message;
    } cases[] = {
        {false, "Chain", "Error no project opened."},
        {true, "Missing", "Error no application selected."},
        {true, "Untyped", "Error could not retrieve application."},
        {true, "Viewer", "Error selection is not an application."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        prompt.asked.clear();
        host.setProject(c.projectOpen ? &project : nullptr);
        const ApplicationOperations result =
            ApplicationOperations::query(host.link(), stepFor(QString::fromUtf8(c.application)));
        EXPECT_TRUE(result.operations.isEmpty());
        EXPECT_TRUE(result.showOptions.isEmpty());
        ASSERT_EQ(prompt.asked.size(), 1);
        EXPECT_EQ(prompt.asked.first().text, QString::fromUtf8(c.message));
        EXPECT_EQ(host.outstandingReferences(), 0);
    }
}
