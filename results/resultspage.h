#pragma once

#include "resultssummary.h"

#include <QString>

// A results summary as one self-contained HTML page: the tables and two
// inline SVG charts, first-pass yield per day and a Pareto chart of the
// failing steps. It needs no network and no script.
class ResultsPage
{
public:
    static QString toHtml(const ResultsSummary &summary, const QString &title);
    static QString yieldChart(const QList<ResultsSummary::DayYield> &days);
    static QString paretoChart(const QList<ResultsSummary::FailingStep> &steps);
};
