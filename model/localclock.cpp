#include "localclock.h"

#include <ctime>

QDateTime LocalClock::now()
{
    return withLocalOffset(QDateTime::currentMSecsSinceEpoch());
}

QDateTime LocalClock::withLocalOffset(qint64 msecsSinceEpoch)
{
    // Whole seconds towards minus infinity, so that a moment before 1970
    // takes the offset of its own second.
    qint64 seconds = msecsSinceEpoch / 1000;
    if (msecsSinceEpoch % 1000 < 0)
        --seconds;
    const std::time_t time = std::time_t(seconds);
    std::tm local{};
    // localtime_r uses the rules loaded last and, unlike mktime and tzset,
    // does not look for a changed zone file.
    if (!localtime_r(&time, &local))
        return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::OffsetFromUTC, int(local.tm_gmtoff));
}
