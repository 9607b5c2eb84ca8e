#include "localclock.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <ctime>

namespace {

// A zone with summer time, given as rules so that no zone file is needed.
class CentralEuropeanTime
{
public:
    CentralEuropeanTime() : before(qgetenv("TZ")), hadZone(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }
    ~CentralEuropeanTime()
    {
        if (hadZone)
            qputenv("TZ", before);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray before;
    bool hadZone;
};

} // namespace

// The clock's moment shows the same date and time of day, and the same
// offset, as the local time of that moment, on both sides of a change to
// and from summer time and before 1970.
TEST(LocalClockTest, AMomentReadsAsTheLocalTimeOfThatMoment)
{
    const CentralEuropeanTime zone;
    const qint64 moments[] = {
        QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7, 4), Qt::UTC).toMSecsSinceEpoch(),
        QDateTime(QDate(2026, 7, 1), QTime(23, 30, 0, 999), Qt::UTC).toMSecsSinceEpoch(),
        QDateTime(QDate(2026, 3, 29), QTime(0, 59, 59, 999), Qt::UTC).toMSecsSinceEpoch(),
        QDateTime(QDate(2026, 3, 29), QTime(1, 0, 0, 0), Qt::UTC).toMSecsSinceEpoch(),
        QDateTime(QDate(2026, 10, 25), QTime(0, 59, 59, 500), Qt::UTC).toMSecsSinceEpoch(),
        QDateTime(QDate(2026, 10, 25), QTime(1, 0, 0, 1), Qt::UTC).toMSecsSinceEpoch(),
        -1,
    };
    for (const qint64 msecs : moments) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecs);
        const QDateTime clock = LocalClock::withLocalOffset(msecs);
        SCOPED_TRACE(local.toString(Qt::ISODateWithMs).toStdString());
        EXPECT_EQ(clock.toMSecsSinceEpoch(), msecs);
        EXPECT_EQ(clock.date(), local.date());
        EXPECT_EQ(clock.time(), local.time());
        EXPECT_EQ(clock.offsetFromUtc(), local.offsetFromUtc());
    }
    EXPECT_LE(qAbs(LocalClock::now().msecsTo(QDateTime::currentDateTime())), 1000);
}
