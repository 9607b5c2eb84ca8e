#include "applicationtypes.h"

#include <gtest/gtest.h>

using namespace ApplicationTypes;

// The class of a fixed type must not follow the operation, including the
// one that flips the command-line driven types; lookups are exact.
TEST(ApplicationTypes, ClassOfFixedAndUnknownTypes)
{
    const struct {
        const char *type;
        int expected;
    } cases[] = {
        {"Ctrl", 4}, {"Scan Suite Runner", 3}, {"WGL Vector Player", 0},
        {"", -1}, {"SYS", -1}, {"Chain Integrity Test ", -1},
        {"Interactive Tool 1", -1}, {"Nand Programming", -1},
    };
    for (const auto &c : cases) {
        const QString type = QString::fromLatin1(c.type);
        for (const QString &operation : {ExecuteTest, TestInfrastructure}) {
            EXPECT_EQ(applicationClass(type, operation), c.expected)
                << c.type << " / " << operation.toStdString();
        }
    }
}

TEST(ApplicationTypes, CommandLineDrivenTypes)
{
    const struct {
        QString type;
        bool cmdLine;
        bool cmdLineG1;
    } cases[] = {
        {SvfVectorPlayer, true, false}, {ClusterFunctionalTest, false, true}, {Sys, false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(usesCmdLine(c.type), c.cmdLine) << c.type.toStdString();
        EXPECT_EQ(usesCmdLineG1(c.type), c.cmdLineG1) << c.type.toStdString();
        EXPECT_EQ(isCommandLineDriven(c.type), c.cmdLine || c.cmdLineG1) << c.type.toStdString();
    }

    // Only an exact "Test Infrastructure" makes these types a scan test.
    const QStringList operationDriven = {NandProgramming, ClusterFunctionalTest};
    for (const QString &type : operationDriven) {
        EXPECT_EQ(applicationClass(type, TestInfrastructure), 3) << type.toStdString();
        for (const char *operation : {"Execute Test", "test infrastructure", "Test Infrastructure ", ""})
            EXPECT_EQ(applicationClass(type, QString::fromLatin1(operation)), 0) << operation;
    }
}

TEST(ApplicationTypes, Usability)
{
    const struct {
        const char *type;
        int expected;
    } cases[] = {
        {"", 1}, {"Interactive Tool 1", 2}, {"Interactive Tool 4", 2}, {"Interactive Tool 5", 0},
        {"interactive tool 1", 0}, {"Ctrl", 0},
        // Types the catalogue does not know may still come from the host.
        {"Something New", 0},
        {" ", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(applicationUsability(QString::fromLatin1(c.type)), c.expected) << "'" << c.type << "'";
}
