#include "runrecord.h"

#include <cstdio>

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
    // A run records a stamp for every step: a moment that carries its offset
    // is printed from its fields, without Qt's general date formatting.
    const Qt::TimeSpec zone = time.timeSpec();
    if (zone == Qt::OffsetFromUTC || zone == Qt::UTC) {
        const int offset = time.offsetFromUtc();
        const QDate date = time.date();
        const QTime clock = time.time();
        if (offset % 60 == 0 && date.year() >= 1 && date.year() <= 9999) {
            const int minutes = qAbs(offset) / 60;
            char text[40];
            std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", date.year(),
                          date.month(), date.day(), clock.hour(), clock.minute(), clock.second(),
                          clock.msec(), offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
            return QString::fromLatin1(text);
        }
    }
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
