// The report viewer: links of a report open the run's files and the live
// view stays on the report.

#include "qstringprinter.h"
#include "reporttexteditv2.h"
#include "temporaryfolder.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

TEST(ReportTextEditV2Test, LinksNameFilesOfTheSequenceFolderOnly)
{
    TemporaryFolder folder;
    ReportTextEditV2 viewer;
    EXPECT_EQ(viewer.linkedFile(QStringLiteral("Run\\out.html")), QString());   // no folder yet
    viewer.setSequenceFolder(folder.path());
    EXPECT_EQ(viewer.linkedFile(QStringLiteral("Run\\out.html")), folder.filePath(QStringLiteral("Run/out.html")));
    EXPECT_EQ(viewer.linkedFile(QStringLiteral("Run/out.html")), folder.filePath(QStringLiteral("Run/out.html")));
    // a link may not lead out of the sequence folder
    EXPECT_EQ(viewer.linkedFile(QStringLiteral("..\\..\\secret.txt")), QString());
    EXPECT_EQ(viewer.linkedFile(QStringLiteral("/etc/passwd")), QString());
    EXPECT_EQ(viewer.linkedFile(QString()), QString());
}

TEST(ReportTextEditV2Test, AClickOpensTheFileAndTheLiveReportStays)
{
    TemporaryFolder folder;
    folder.write(QStringLiteral("Run 1/Chain-Output.html"), "<html>output</html>");
    ReportTextEditV2 viewer;
    viewer.setMode(ReportTextEditV2::Live);
    viewer.setSequenceFolder(folder.path());
    QStringList opened;
    viewer.setFileOpener([&](const QString &fileName) {
        opened.append(fileName);
        return true;
    });
    viewer.showReport(QStringLiteral("<p>REPORT <a href='Run 1\\Chain-Output.html'>Chain-Output.html</a></p>"));
    QSignalSpy messages(&viewer, &ReportTextEditV2::message);

    // as the browser hands over a click: the link as a URL
    Q_EMIT viewer.anchorClicked(QUrl(QStringLiteral("Run 1\\Chain-Output.html")));
    EXPECT_EQ(opened, QStringList{folder.filePath(QStringLiteral("Run 1/Chain-Output.html"))});
    EXPECT_TRUE(viewer.toPlainText().startsWith(QLatin1String("REPORT")));
    EXPECT_EQ(messages.count(), 0);

    // a file that went away is said, not opened
    viewer.slotLinkClicked(QStringLiteral("Run 1\\gone.html"));
    EXPECT_EQ(opened.size(), 1);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.first().first().toString().contains(QLatin1String("gone.html")));

    // backward and home come back to the live report; Clear empties it
    viewer.setHtml(QStringLiteral("elsewhere"));
    viewer.home();
    EXPECT_TRUE(viewer.toPlainText().startsWith(QLatin1String("REPORT")));
    viewer.clearContents();
    viewer.backward();
    EXPECT_TRUE(viewer.toPlainText().isEmpty());
}

TEST(ReportTextEditV2Test, TheLiveViewShowsAppendedRowsAndKeepsOnlyTheLastOnes)
{
    ReportTextEditV2 viewer;
    viewer.setMode(ReportTextEditV2::Live);
    viewer.showReport(QStringLiteral("<b>REPORT</b><table border='1'><tr><td>Seq</td></tr>\r\n</table>"));
    for (int n = 1; n <= 1000; ++n)
        viewer.appendReport(QStringLiteral("<tr><td>step %1</td></tr>\r\n").arg(n));
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.toPlainText().contains(QLatin1String("step 1000")); }, 5000));
    EXPECT_TRUE(viewer.toPlainText().startsWith(QLatin1String("REPORT")));
    EXPECT_FALSE(viewer.toPlainText().contains(QLatin1String("step 1\n")));
}
