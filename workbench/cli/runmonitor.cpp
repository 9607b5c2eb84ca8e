#include "runmonitor.h"

RunMonitor::RunMonitor(QTextStream &out) : ServiceObject(QStringLiteral("HxiRunMonitor")), out(out)
{
}

void RunMonitor::stepFinished(const QString &, int loop, const QString &number, const QString &type,
                              const QString &operation, const QString &item, const QString &status)
{
    ++steps;
    // cycle/step number, then what ran and how it ended, in columns
    out << QStringLiteral("%1/%2").arg(loop).arg(number, -4) << "  " << QString(type).leftJustified(24)
        << " " << QString(operation).leftJustified(22) << " " << QString(item).leftJustified(24) << " "
        << status;
    if (stepCount > 0)
        out << QStringLiteral("   [%1 steps done]").arg(steps);
    out << Qt::endl;
}

void RunMonitor::runFinished(const QString &, int end, const QString &verdict,
                             const QString &reportFile)
{
    ended = true;
    runEnd = end;
    runVerdict = verdict;
    report = reportFile;
    Q_EMIT runEnded();
}
