// The live report view while a run writes rows: what a row costs the view
// at the start of a run and after many rows, once with the whole report
// handed to the view for every row and once with the row appended.
//
//   QT_QPA_PLATFORM=offscreen build/bin/livereportbench

#include "reporttexteditv2.h"
#include "sequencereport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

namespace {

// microseconds per row for the rows `from` to `to` of a run
double costPerRow(bool append, int from, int to)
{
    SequenceReport report{HostLink()};
    ReportTextEditV2 view;
    view.setMode(ReportTextEditV2::Live);
    view.resize(1000, 700);
    view.show();
    if (append)
        QObject::connect(&report, &SequenceReport::liveReportAppended, &view, &ReportTextEditV2::appendReport);
    else
        QObject::connect(&report, &SequenceReport::liveReportChanged, &view, &ReportTextEditV2::showReport);
    view.showReport(QStringLiteral("<b>SEQUENCE REPORT</b><table border='1'><tr><td>Seq</td></tr>\r\n</table>"));
    ReportStep step;
    step.number = QStringLiteral("1");
    step.type = QStringLiteral("Sys");
    step.operation = QStringLiteral("Execute Command");
    step.show = QStringLiteral("Status");
    step.status = QStringLiteral("Passed");
    QElapsedTimer clock;
    for (int row = 1; row <= to; ++row) {
        if (row == from)
            clock.start();
        step.item = QStringLiteral("true %1").arg(row);
        report.writeStepRow(step, QStringLiteral("#80FF80"));
        // a command step takes about a millisecond; the view gets its events
        QCoreApplication::processEvents();
        if (append && row % 1000 == 0)
            QTest::qWait(1);
    }
    QTest::qWait(250);   // the last refresh of the appending view
    return double(clock.nsecsElapsed()) / 1000.0 / (to - from + 1);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    for (const bool append : {false, true}) {
        // the whole report per row grows too fast to wait for 1,000 rows
        for (const int rows : {100, 400, 1000}) {
            if (!append && rows > 400)
                continue;
            const double early = costPerRow(append, 1, 50);
            const double late = costPerRow(append, rows - 49, rows);
            std::printf("%-22s rows %4d..%4d: %8.0f us per row (first 50 rows: %6.0f us)\n",
                        append ? "appended rows" : "whole report per row", rows - 49, rows, late, early);
        }
    }
    std::printf("goal: the cost per row does not grow with the run\n");
    return 0;
}
