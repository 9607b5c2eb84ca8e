#include "applicationoperations.h"
#include "hostproject.h"
#include "hxsequenceitem.h"
#include "scriptedprompt.h"
#include "workbenchhost.h"

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

class ApplicationOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.setPrompt(&prompt);
        project.applications = {application("Chain", "Chain Integrity Test"),
                                application("Untyped", ""),
                                application("Viewer", "Interactive Tool 2"),
                                application("Bare", "SVF Vector Player")};
        project.applications[0].operations = {QStringLiteral("Execute Test"),
                                              QStringLiteral("Test Infrastructure")};
        project.applications[0].showOptions = {QStringLiteral("Status"),
                                               QStringLiteral("Diagnostics")};
    }
    static ProjectApplication application(const char *name, const char *type)
    {
        ProjectApplication result;
        result.name = QLatin1String(name);
        result.type = QLatin1String(type);
        return result;
    }

    WorkbenchHost host;
    ScriptedPrompt prompt;
    HostProject project;
};

} // namespace

TEST_F(ApplicationOperationsTest, ListsTheHostsOperationsThenTheForcedOnes)
{
    host.setProject(&project);
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
