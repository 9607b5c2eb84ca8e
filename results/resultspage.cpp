#include "resultspage.h"

#include "textboundary.h"

namespace {

const int Width = 580;
const int Height = 300;
const int Left = 56;
const int Right = 56;
const int Top = 20;
const int Bottom = 90;

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

QString text(double x, double y, const QString &content, const QString &extra = QString())
{
    return QStringLiteral("<text x='%1' y='%2' %3>%4</text>").arg(number(x), number(y), extra, TextBoundary::toHtml(content));
}

QString axes(int plotWidth, int plotHeight, bool rightAxis)
{
    QString svg = QStringLiteral("<line x1='%1' y1='%2' x2='%1' y2='%3' stroke='#444'/>").arg(Left).arg(Top).arg(Top + plotHeight);
    svg += QStringLiteral("<line x1='%1' y1='%2' x2='%3' y2='%2' stroke='#444'/>").arg(Left).arg(Top + plotHeight).arg(Left + plotWidth);
    for (int tick = 0; tick <= 100; tick += 25) {
        const double y = Top + plotHeight - plotHeight * tick / 100.0;
        svg += QStringLiteral("<line x1='%1' y1='%2' x2='%3' y2='%2' stroke='#ddd'/>").arg(Left).arg(number(y)).arg(Left + plotWidth);
        if (rightAxis)
            svg += text(Left + plotWidth + 6, y + 4, QStringLiteral("%1%").arg(tick), QStringLiteral("font-size='11'"));
    }
    return svg;
}

QString svgOpen(const QString &label)
{
    return QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2' viewBox='0 0 %1 %2' "
                          "role='img' aria-label='%3' font-family='sans-serif'>")
        .arg(Width).arg(Height).arg(TextBoundary::toHtml(label));
}

} // namespace

QString ResultsPage::yieldChart(const QList<ResultsSummary::DayYield> &days)
{
    const int plotWidth = Width - Left - Right;
    const int plotHeight = Height - Top - Bottom;
    QString svg = svgOpen(QStringLiteral("First-pass yield per day"));
    svg += axes(plotWidth, plotHeight, false);
    for (int tick = 0; tick <= 100; tick += 25)
        svg += text(Left - 6, Top + plotHeight - plotHeight * tick / 100.0 + 4, QStringLiteral("%1%").arg(tick),
                    QStringLiteral("font-size='11' text-anchor='end'"));
    const double slot = days.isEmpty() ? plotWidth : double(plotWidth) / days.size();
    const double bar = qMin(60.0, slot * 0.7);
    for (qsizetype i = 0; i < days.size(); ++i) {
        const ResultsSummary::DayYield &day = days.at(i);
        const double yield = ResultsSummary::percent(day.firstPassed, day.units);
        const double h = plotHeight * yield / 100.0;
        const double x = Left + slot * i + (slot - bar) / 2;
        const QString colour = yield >= 95 ? QStringLiteral("#3a9d3a") : yield >= 80 ? QStringLiteral("#e0a020")
                                                                                     : QStringLiteral("#d04040");
        svg += QStringLiteral("<rect x='%1' y='%2' width='%3' height='%4' fill='%5'><title>%6</title></rect>")
                   .arg(number(x), number(Top + plotHeight - h), number(bar), number(h), colour,
                        TextBoundary::toHtml(QStringLiteral("%1: %2 of %3 units passed first time")
                                                 .arg(day.day.toString(Qt::ISODate)).arg(day.firstPassed).arg(day.units)));
        svg += text(x + bar / 2, Top + plotHeight - h - 4, number(yield) + QLatin1Char('%'),
                    QStringLiteral("font-size='11' text-anchor='middle'"));
        svg += text(x + bar / 2, Top + plotHeight + 16, day.day.toString(QStringLiteral("MM-dd")),
                    QStringLiteral("font-size='11' text-anchor='middle'"));
        svg += text(x + bar / 2, Top + plotHeight + 30, QStringLiteral("%1 units").arg(day.units),
                    QStringLiteral("font-size='10' fill='#666' text-anchor='middle'"));
    }
    if (days.isEmpty())
        svg += text(Left + plotWidth / 2.0, Top + plotHeight / 2.0, QStringLiteral("no units in this period"),
                    QStringLiteral("text-anchor='middle' fill='#888'"));
    return svg + QStringLiteral("</svg>");
}

QString ResultsPage::paretoChart(const QList<ResultsSummary::FailingStep> &steps)
{
    const int plotWidth = Width - Left - Right;
    const int plotHeight = Height - Top - Bottom;
    const QList<ResultsSummary::FailingStep> shown = steps.mid(0, 12);
    int total = 0;
    int highest = 1;
    for (const ResultsSummary::FailingStep &step : steps)
        total += step.failures;
    for (const ResultsSummary::FailingStep &step : shown)
        highest = qMax(highest, step.failures);
    QString svg = svgOpen(QStringLiteral("Pareto chart of failing steps"));
    svg += axes(plotWidth, plotHeight, true);
    svg += text(Left - 6, Top + 4, QString::number(highest), QStringLiteral("font-size='11' text-anchor='end'"));
    svg += text(Left - 6, Top + plotHeight + 4, QStringLiteral("0"), QStringLiteral("font-size='11' text-anchor='end'"));
    const double slot = shown.isEmpty() ? plotWidth : double(plotWidth) / shown.size();
    const double bar = qMin(60.0, slot * 0.7);
    QStringList line;
    int running = 0;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const ResultsSummary::FailingStep &step = shown.at(i);
        const double h = plotHeight * double(step.failures) / highest;
        const double x = Left + slot * i + (slot - bar) / 2;
        svg += QStringLiteral("<rect x='%1' y='%2' width='%3' height='%4' fill='#d04040'><title>%5</title></rect>")
                   .arg(number(x), number(Top + plotHeight - h), number(bar), number(h),
                        TextBoundary::toHtml(QStringLiteral("%1 (%2): %3 failures in %4 runs")
                                                 .arg(step.step, step.sequence).arg(step.failures).arg(step.executions)));
        // inside the bar, where the cumulative line never runs
        const bool inside = h > 18;
        svg += text(x + bar / 2, inside ? Top + plotHeight - h + 14 : Top + plotHeight - h - 4,
                    QString::number(step.failures),
                    inside ? QStringLiteral("font-size='11' text-anchor='middle' fill='#fff'")
                           : QStringLiteral("font-size='11' text-anchor='middle'"));
        const QString label = step.step.size() > 18 ? step.step.left(17) + QChar(0x2026) : step.step;
        svg += text(x + bar / 2, Top + plotHeight + 12, label,
                    QStringLiteral("font-size='10' text-anchor='end' transform='rotate(-35 %1 %2)'")
                        .arg(number(x + bar / 2), number(Top + plotHeight + 12)));
        running += step.failures;
        const double share = ResultsSummary::percent(running, total);
        line << QStringLiteral("%1,%2").arg(number(x + bar / 2), number(Top + plotHeight - plotHeight * share / 100.0));
    }
    if (!line.isEmpty()) {
        svg += QStringLiteral("<polyline points='%1' fill='none' stroke='#2060c0' stroke-width='2'/>").arg(line.join(QLatin1Char(' ')));
        svg += QStringLiteral("<rect x='%1' y='%2' width='10' height='10' fill='#d04040'/>").arg(Left + 8).arg(Height - 18);
        svg += text(Left + 22, Height - 9, QStringLiteral("failures"), QStringLiteral("font-size='11'"));
        svg += QStringLiteral("<line x1='%1' y1='%2' x2='%3' y2='%2' stroke='#2060c0' stroke-width='2'/>")
                   .arg(Left + 90).arg(Height - 13).arg(Left + 104);
        svg += text(Left + 110, Height - 9, QStringLiteral("cumulative share of all failures"), QStringLiteral("font-size='11'"));
        for (const QString &point : std::as_const(line))
            svg += QStringLiteral("<circle cx='%1' cy='%2' r='3' fill='#2060c0'/>")
                       .arg(point.section(QLatin1Char(','), 0, 0), point.section(QLatin1Char(','), 1, 1));
    } else {
        svg += text(Left + plotWidth / 2.0, Top + plotHeight / 2.0, QStringLiteral("no step failed in this period"),
                    QStringLiteral("text-anchor='middle' fill='#888'"));
    }
    return svg + QStringLiteral("</svg>");
}

QString ResultsPage::toHtml(const ResultsSummary &summary, const QString &title)
{
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset='utf-8'><title>%1</title><style>"
        "body{font-family:sans-serif;margin:24px;color:#222}h1{font-size:22px}h2{font-size:17px;margin-top:28px}"
        "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:3px 10px;text-align:left}"
        "th{background:#eee}td.n{text-align:right}.charts{display:flex;flex-wrap:wrap;gap:24px;margin-top:20px}"
        "figure{margin:0}figcaption{font-weight:bold;margin-bottom:4px}"
        "</style></head><body>\n<h1>%1</h1>\n")
                       .arg(TextBoundary::toHtml(title));
    html += QStringLiteral("<table><tr><th>Sequence</th><th>Runs</th><th>Units</th><th>First-pass yield</th><th>Final yield</th></tr>\n");
    for (const ResultsSummary::SequenceYield &yield : summary.sequences)
        html += QStringLiteral("<tr><td>%1</td><td class='n'>%2</td><td class='n'>%3</td><td class='n'>%4%</td><td class='n'>%5%</td></tr>\n")
                    .arg(TextBoundary::toHtml(yield.sequence)).arg(yield.runs).arg(yield.units)
                    .arg(ResultsSummary::percent(yield.firstPassed, yield.units), 0, 'f', 1)
                    .arg(ResultsSummary::percent(yield.finallyPassed, yield.units), 0, 'f', 1);
    html += QStringLiteral("</table>\n<div class='charts'>\n<figure><figcaption>First-pass yield per day</figcaption>")
            + yieldChart(summary.days) + QStringLiteral("</figure>\n<figure><figcaption>Failing steps (Pareto)</figcaption>")
            + paretoChart(summary.failingSteps) + QStringLiteral("</figure>\n</div>\n");
    if (!summary.failingSteps.isEmpty()) {
        html += QStringLiteral("<h2>Steps that fail most</h2><table><tr><th>Step</th><th>Sequence</th><th>Failures</th><th>Runs</th></tr>\n");
        for (const ResultsSummary::FailingStep &step : summary.failingSteps)
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td class='n'>%3</td><td class='n'>%4</td></tr>\n")
                        .arg(TextBoundary::toHtml(step.step), TextBoundary::toHtml(step.sequence))
                        .arg(step.failures).arg(step.executions);
        html += QStringLiteral("</table>\n");
    }
    if (!summary.units.isEmpty()) {
        html += QStringLiteral("<h2>Units tested last</h2><table><tr><th>Unit</th><th>Sequence</th><th>Tests</th>"
                               "<th>First verdict</th><th>Last verdict</th><th>Last tested</th></tr>\n");
        for (const ResultsSummary::UnitResult &unit : summary.units.mid(0, ResultsSummary::ShownUnits))
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td class='n'>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>\n")
                        .arg(TextBoundary::toHtml(unit.serialNumber), TextBoundary::toHtml(unit.sequence))
                        .arg(unit.tests)
                        .arg(TextBoundary::toHtml(unit.firstVerdict), TextBoundary::toHtml(unit.lastVerdict),
                             RunRecord::timeText(unit.lastTested));
        html += QStringLiteral("</table>\n");
    }
    if (!summary.serialRuns.isEmpty()) {
        html += QStringLiteral("<h2>Runs of %1</h2><table><tr><th>Started</th><th>Sequence</th><th>Verdict</th><th>Run</th><th>Station</th></tr>\n")
                    .arg(TextBoundary::toHtml(summary.serialRuns.first().serialNumber));
        for (const ResultsSummary::SerialRun &run : summary.serialRuns)
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>\n")
                        .arg(RunRecord::timeText(run.started), TextBoundary::toHtml(run.sequence),
                             TextBoundary::toHtml(run.verdict), TextBoundary::toHtml(run.end), TextBoundary::toHtml(run.host));
        html += QStringLiteral("</table>\n");
    }
    return html + QStringLiteral("</body></html>\n");
}
