#pragma once

#include <QDateTime>

// The time of day where the station stands, for the many stamps a run takes
// (report rows, step starts and durations). A QDateTime in local time makes
// the C library look at the zone file again on every conversion when TZ is
// unset; this clock reads the zone rules the library already holds and gives
// the moment with its offset from UTC, which prints and compares as the
// local time does.
class LocalClock
{
public:
    static QDateTime now();
    // `moment` with the local offset it had, without another look at the zone file
    static QDateTime withLocalOffset(qint64 msecsSinceEpoch);
};
