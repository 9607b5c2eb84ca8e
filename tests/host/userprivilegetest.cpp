#include "userprivilege.h"
#include "workbenchhost.h"

#include <gtest/gtest.h>

TEST(UserPrivilegeTest, OnlyTheFourExactNamesCountAndEmptyIsDeveloper)
{
    WorkbenchHost host;
    const struct
    {
        const char *privilege;
        bool developer, engineer, technician, operatorRole;
    } cases[] = {
        {"", true, false, false, false}, {"Developer", true, false, false, false},
        {"Engineer", false, true, false, false}, {"Technician", false, false, true, false},
        {"Operator", false, false, false, true}, {"developer", false, false, false, false},
        {"Operator ", false, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.privilege);
        host.setValue(QStringLiteral("UserPrivilege"), QString::fromUtf8(c.privilege));
        const UserPrivilege privilege(host.link());
        EXPECT_EQ(privilege.isDeveloper(), c.developer);
        EXPECT_EQ(privilege.isEngineer(), c.engineer);
        EXPECT_EQ(privilege.isTechnician(), c.technician);
        EXPECT_EQ(privilege.isOperator(), c.operatorRole);
    }
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST(UserPrivilegeTest, WithoutAHostEveryoneIsADeveloperWithoutALogin)
{
    const UserPrivilege privilege{HostLink()};
    EXPECT_TRUE(privilege.isDeveloper());
    EXPECT_FALSE(privilege.isOperator());
    EXPECT_TRUE(privilege.userLogin().isEmpty());

    WorkbenchHost host;
    host.setValue(QStringLiteral("UserLogin"), QStringLiteral("mia"));
    EXPECT_EQ(UserPrivilege(host.link()).userLogin(), QStringLiteral("mia"));
}
