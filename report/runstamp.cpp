#include "runstamp.h"

#include <QDateTime>

RunStamp RunStamp::fromDateTime(const QDateTime &moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    RunStamp stamp;
    stamp.month = date.month();
    stamp.day = date.day();
    stamp.year = date.year();
    stamp.hour = time.hour();
    stamp.minute = time.minute();
    stamp.second = time.second();
    stamp.millisecond = time.msec();
    return stamp;
}

QString RunStamp::padded(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString RunStamp::fileStamp() const
{
    return QStringLiteral("%1_%2_%3-%4h_%5m_%6s_%7ms")
        .arg(padded(month), padded(day), QString::number(year), padded(hour), padded(minute),
             padded(second), padded(millisecond));
}

QString RunStamp::historyTitle() const
{
    const QStringList parts = historyParts();
    return QStringLiteral("%1-%2-%3 / %4:%5:%6:%7")
        .arg(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]);
}

QStringList RunStamp::historyParts() const
{
    return {QString::number(year), padded(month),  padded(day),        padded(hour),
            padded(minute),        padded(second), padded(millisecond)};
}
