// The live report view keeps the report's header and its last rows, so
// that a row costs it the same however long the run has been.

#include "livereporttail.h"
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace {

const QString Header = QStringLiteral("<b>SEQUENCE REPORT</b><br>");
const QString TableOpen = QStringLiteral("<table border='1'>");
const QString Titles = QStringLiteral("<tr><td>Seq</td><td>Nr.</td></tr>\r\n");

QString row(int n)
{
    return QStringLiteral("<tr><td>1</td><td>step %1</td></tr>\r\n").arg(n);
}

} // namespace

TEST(LiveReportTailTest, KeepsTheHeaderAndTheLastRowsInOneTable)
{
    const struct
    {
        int rows;
        int leftOut;
    } cases[] = {{3, 0}, {LiveReportTail::KeptRows, 0}, {1000, 1000 - LiveReportTail::KeptRows}};
    for (const auto &c : cases) {
        LiveReportTail tail;
        // the view is first handed the report with its open table closed
        tail.setReport(Header + TableOpen + Titles + QStringLiteral("</table>"));
        for (int n = 1; n <= c.rows; ++n)
            tail.append(row(n));
        const QString html = tail.html();
        EXPECT_EQ(tail.leftOutRows(), c.leftOut) << c.rows;
        EXPECT_TRUE(html.startsWith(Header)) << c.rows;
        EXPECT_EQ(html.contains(QLatin1String("earlier rows are in the report file")), c.leftOut > 0);
        EXPECT_TRUE(html.contains(TableOpen + Titles)) << "the column titles stay";
        EXPECT_TRUE(html.contains(row(c.rows)));
        EXPECT_EQ(html.contains(row(1)), c.leftOut == 0);
        EXPECT_EQ(html.count(QLatin1String("<table")), 1) << html.toStdString();
        EXPECT_LE(html.count(QLatin1String("<tr>")), LiveReportTail::KeptRows + 1);
        EXPECT_TRUE(html.endsWith(QLatin1String("</table>")));
    }
}

TEST(LiveReportTailTest, AStoppedAndContinuedRunShowsItsTrailerBetweenTables)
{
    LiveReportTail tail;
    tail.setReport(Header + TableOpen + Titles);
    tail.append(row(1));
    tail.append(QStringLiteral("</table><br>Stopped at  : now<br>"));
    tail.append(TableOpen + Titles);
    tail.append(row(2));
    EXPECT_EQ(tail.html(), Header + TableOpen + Titles + row(1) + QStringLiteral("</table><br>Stopped at  : now<br>")
                               + TableOpen + Titles + row(2) + QStringLiteral("</table>"));
    tail.clear();
    EXPECT_TRUE(tail.html().isEmpty());
}
