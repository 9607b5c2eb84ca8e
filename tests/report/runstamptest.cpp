#include "qstringprinter.h"
#include "runstamp.h"

#include <QDateTime>

#include <gtest/gtest.h>

TEST(RunStampTest, NamesPadEverythingButTheYearToTwoDigits)
{
    struct Case
    {
        QDateTime moment;
        const char *fileStamp;
        const char *historyTitle;
    };
    const Case cases[] = {
        {QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7, 4)), "02_03_2026-09h_05m_07s_04ms",
         "2026-02-03 / 09:05:07:04"},
        {QDateTime(QDate(5, 1, 1), QTime(0, 0, 0, 999)), "01_01_5-00h_00m_00s_999ms",
         "5-01-01 / 00:00:00:999"},
    };
    for (const Case &c : cases) {
        const RunStamp stamp = RunStamp::fromDateTime(c.moment);
        EXPECT_EQ(stamp.fileStamp(), QLatin1String(c.fileStamp)) << c.fileStamp;
        EXPECT_EQ(stamp.historyTitle(), QLatin1String(c.historyTitle)) << c.historyTitle;
    }
    // the history tree groups by the title's pieces, in order
    EXPECT_EQ(RunStamp::fromDateTime(cases[0].moment).historyParts(),
              QStringList({"2026", "02", "03", "09", "05", "07", "04"}));
}
