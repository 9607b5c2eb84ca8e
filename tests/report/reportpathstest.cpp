#include "qstringprinter.h"
#include "reportpaths.h"
#include "temporaryfolder.h"

#include <QFileInfo>

#include <gtest/gtest.h>

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
