#include "runrecord.h"

RunRecord::Counts RunRecord::counts() const
{
    Counts counts;
    for (const Step &step : steps) {
        ++counts.steps;
        const QString &status = step.status;
        if (status == QLatin1String("Passed") || status == QLatin1String("Done"))
            ++counts.passed;
        else if (status == QLatin1String("Failed"))
            ++counts.failed;
        else if (status == QLatin1String("Rejected"))
            ++counts.rejected;
        else if (status == QLatin1String("Skipped"))
            ++counts.skipped;
        else
            ++counts.errors;
    }
    return counts;
}

QString RunRecord::Step::name() const
{
    const bool byOperation = item.isEmpty() || type == QLatin1String("Ctrl");
    return number + QLatin1Char(' ') + (byOperation ? operation : item);
}

QString RunRecord::verdictOf(const QStringList &statuses)
{
    if (statuses.contains(QLatin1String("Error")) || statuses.contains(QLatin1String("Cancelled"))
        || statuses.contains(QLatin1String("Timeout")))
        return QStringLiteral("Error");
    if (statuses.contains(QLatin1String("Failed")))
        return QStringLiteral("Failed");
    return QStringLiteral("Passed");
}

QString RunRecord::timeText(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    // A local time prints without its offset; a fixed offset prints with it,
    // so stations in different zones agree on the moment.
    const QDateTime fixed = time.toOffsetFromUtc(time.offsetFromUtc());
    QString text = fixed.toString(Qt::ISODateWithMs);
    if (text.endsWith(QLatin1Char('Z'))) {
        text.chop(1);
        text += QStringLiteral("+00:00");
    }
    return text;
}
