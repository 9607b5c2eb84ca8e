#include "applicationtypes.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace ApplicationTypes;

TEST(ApplicationTypes, ClassOfEveryCatalogueType)
{
    const struct {
        const char *type;
        int expected;
    } cases[] = {
        {"Ctrl", 4},
        {"Sys", 0},
        {"Chain Integrity Test", 3},
        {"Net Connection Test", 3},
        {"Memory Bank Test", 3},
        {"AC-Coupled Net Test", 3},
        {"Inter-Board Connection Test", 3},
        {"Flash Connection Test", 3},
        {"Active Stimulus Test", 3},
        {"Logic Cluster Test", 3},
        {"Glue Logic Check", 3},
        {"Memory Device Test", 3},
        {"Pull Resistor Test", 3},
        {"Scan Suite Runner", 3},
        {"Flash Device Programming", 1},
        {"Flash Image Runner", 1},
        {"Fuse Map Programming", 2},
        {"PLD Vector Programming", 2},
        {"Fuse Map Runner", 2},
        {"PLD Vector Runner", 2},
        {"ISC Device Programming", 8},
        {"Processor Image Runner", 8},
        {"Jam Script Player", 6},
        {"STAPL Script Player", 7},
        {"SVF Vector Player", 0},
        {"WGL Vector Player", 0},
    };
    for (const auto &c : cases) {
        const QString type = QString::fromLatin1(c.type);
        // Fixed classes must not depend on the operation, including the one
        // that flips the command-line driven types.
        for (const QString &operation : {ExecuteTest, TestInfrastructure, QString()}) {
            EXPECT_EQ(applicationClass(type, operation), c.expected)
                << c.type << " / " << operation.toStdString();
        }
        EXPECT_TRUE(isCatalogueType(type)) << c.type;
    }
    const QStringList types = catalogueTypes();
    EXPECT_EQ(types.size(), 31);
    EXPECT_EQ(QSet<QString>(types.cbegin(), types.cend()).size(), types.size());
}

TEST(ApplicationTypes, CommandLineDrivenTypesFollowTheOperation)
{
    const QStringList types = {NandProgramming, DiskOnChipProgramming, PowerBusProgramming,
                               ClusterFunctionalTest, ProcessorRamCheck};
    const struct {
        QString operation;
        int expected;
    } cases[] = {
        {QStringLiteral("Test Infrastructure"), 3},
        {QStringLiteral("Execute Test"), 0},
        {QStringLiteral("Force Pass"), 0},
        {QStringLiteral("test infrastructure"), 0},  // exact comparison
        {QStringLiteral("Test Infrastructure "), 0},
        {QString(), 0},
    };
    for (const QString &type : types) {
        EXPECT_TRUE(classDependsOnOperation(type)) << type.toStdString();
        for (const auto &c : cases) {
            EXPECT_EQ(applicationClass(type, c.operation), c.expected)
                << type.toStdString() << " / '" << c.operation.toStdString() << "'";
        }
    }
    EXPECT_FALSE(classDependsOnOperation(SvfVectorPlayer));
    EXPECT_FALSE(classDependsOnOperation(ScanSuiteRunner));
    EXPECT_FALSE(classDependsOnOperation(QStringLiteral("Unknown")));
}

TEST(ApplicationTypes, UnknownTypesHaveNoClass)
{
    for (const char *type : {"", "ctrl", "SYS", "Chain Integrity Test ", "Interactive Tool 1",
                             "Nand Programming", "Whatever"}) {
        EXPECT_EQ(applicationClass(QString::fromLatin1(type), TestInfrastructure), -1) << type;
        EXPECT_FALSE(isCatalogueType(QString::fromLatin1(type))) << type;
    }
}

TEST(ApplicationTypes, Usability)
{
    const struct {
        const char *type;
        int expected;
    } cases[] = {
        {"", 1},
        {"Interactive Tool 1", 2},
        {"Interactive Tool 2", 2},
        {"Interactive Tool 3", 2},
        {"Interactive Tool 4", 2},
        {"Interactive Tool 5", 0},
        {"interactive tool 1", 0},
        {"Chain Integrity Test", 0},
        {"Ctrl", 0},
        {"Sys", 0},
        // Types the catalogue does not know may still come from the host.
        {"Something New", 0},
        {" ", 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(applicationUsability(QString::fromLatin1(c.type)), c.expected) << "'" << c.type << "'";
        EXPECT_EQ(isUsableType(QString::fromLatin1(c.type)), c.expected == 0) << "'" << c.type << "'";
    }
}

TEST(ApplicationTypes, CommandLineKeysPerType)
{
    const struct {
        QString type;
        bool cmdLine;
        bool cmdLineG1;
    } cases[] = {
        {SvfVectorPlayer, true, false},
        {WglVectorPlayer, true, false},
        {NandProgramming, true, false},
        {DiskOnChipProgramming, true, false},
        {PowerBusProgramming, true, false},
        {ClusterFunctionalTest, false, true},
        {ProcessorRamCheck, false, true},
        {Sys, false, false},
        {ScanSuiteRunner, false, false},
        {JamScriptPlayer, false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(usesCmdLine(c.type), c.cmdLine) << c.type.toStdString();
        EXPECT_EQ(usesCmdLineG1(c.type), c.cmdLineG1) << c.type.toStdString();
        EXPECT_EQ(isCommandLineDriven(c.type), c.cmdLine || c.cmdLineG1) << c.type.toStdString();
    }
}
