#include "hxapplication.h"

#include <gtest/gtest.h>

using VemoDatabase::HxApplication;

TEST(HxApplicationTest, PathConversionsStayInsideTheApplicationFolder)
{
    const HxApplication application(QStringLiteral("Board"), QStringLiteral("Scan Suite Runner"),
                                    QStringLiteral("/projects/demo/apps/board"));
    const struct
    {
        const char *input;
        const char *absolute;
        const char *relativeFromArchive;
    } cases[] = {
        {"", "", ""},
        {"image.bin", "/projects/demo/apps/board/image.bin", "image.bin"},
        {"../shared/image.bin", "/projects/demo/apps/shared/image.bin", "../shared/image.bin"},
        {"/projects/demo/apps/board/sub/image.bin", "/projects/demo/apps/board/sub/image.bin",
         "sub/image.bin"},
        // a sibling folder whose name begins like the application folder is outside it
        {"/projects/demo/apps/board2/image.bin", "/projects/demo/apps/board2/image.bin",
         "/projects/demo/apps/board2/image.bin"},
        {"/elsewhere/./image.bin", "/elsewhere/image.bin", "/elsewhere/./image.bin"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input);
        const QString input = QString::fromUtf8(c.input);
        EXPECT_EQ(application.convertFileNameRelativeApplicationPathToAbsolutePath(input),
                  QString::fromUtf8(c.absolute));
        EXPECT_EQ(application.convertFileNameAtArchiveToRelativeApplicationPath(input),
                  QString::fromUtf8(c.relativeFromArchive));
    }
}
