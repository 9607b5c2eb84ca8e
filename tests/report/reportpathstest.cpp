#include "qstringprinter.h"
#include "reportpaths.h"
#include "temporaryfolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(ReportPathsTest, FoldersLieBelowTheSequenceFolder)
{
    const ReportPaths paths(QStringLiteral("/data/Demo"), QStringLiteral("Board test"));
    const struct
    {
        QString actual;
        const char *expected;
    } cases[] = {
        {paths.sequenceFolder(), "/data/Demo/Sequences/Board test"},
        {paths.runFolder(QStringLiteral("SequenceReport-02_03_2026-09h_05m_07s_04ms")),
         "/data/Demo/Sequences/Board test/SequenceReport-02_03_2026-09h_05m_07s_04ms"},
        {paths.resultsFolder(), "/data/Demo/Sequences/Board test/Results"},
        {paths.resultsFolder(QStringLiteral("Batch 0001")),
         "/data/Demo/Sequences/Board test/Results/Batch 0001"},
        {paths.unitReportsFolder(true, QStringLiteral("/elsewhere")),
         "/data/Demo/Sequences/Board test/UnitReports"},
        {paths.unitReportsFolder(false, QStringLiteral("/elsewhere/units")), "/elsewhere/units"},
        {paths.exportFolder(), "/data/Demo/Sequences/Board test/Export"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.actual, QDir::toNativeSeparators(QLatin1String(c.expected))) << c.expected;
}

TEST(ReportPathsTest, MakePathCreatesEveryMissingParent)
{
    TemporaryFolder folder;
    folder.write(QStringLiteral("occupied"), "a file, not a folder");
    const struct
    {
        QString path;
        bool created;
    } cases[] = {
        {folder.filePath(QStringLiteral("a/b/c/d")), true},
        {folder.filePath(QStringLiteral("a/b")), true},   // exists already
        {folder.filePath(QStringLiteral("e//f/")), true},   // doubled and trailing
        {folder.filePath(QStringLiteral("occupied/g")), false},   // a file in the way
        {folder.filePath(QStringLiteral("occupied")), false},   // the end is a file
        {QString(), false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ReportPaths::makePath(c.path), c.created) << c.path.toStdString();
        if (c.created)
            EXPECT_TRUE(QFileInfo(c.path).isDir()) << c.path.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("e/f"))).isDir());
}
