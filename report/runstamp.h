#pragma once

#include <QString>
#include <QStringList>

class QDateTime;

// The moment a run started, continued or was cancelled, broken into the
// seven parts that report file names and history titles are made of.
class RunStamp
{
public:
    int month = 1;
    int day = 1;
    int year = 2000;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    static RunStamp fromDateTime(const QDateTime &moment);

    // "02_03_2026-09h_05m_07s_04ms": month, day, year, hour, minute, second, millisecond
    QString fileStamp() const;
    // "2026-02-03 / 09:05:07:04": the name of the run in the report history
    QString historyTitle() const;
    // the seven parts as the names carry them, in history order:
    // year, month, day, hour, minute, second, millisecond
    QStringList historyParts() const;

    // At least two digits; wider values stay as they are, so 4 ms is "04"
    // and 500 ms "500". Names made by earlier versions sort the same way.
    static QString padded(int value);

    friend bool operator==(const RunStamp &, const RunStamp &) = default;
};
