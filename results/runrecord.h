#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What one run of a sequence leaves as data: who ran what where and when,
// the units under test, every step that ended and how the run ended.
struct RunRecord
{
    struct Unit
    {
        int cycle = 1;            // the cycle that tested it
        QString serialNumber;
        QString folder;
        QString taps;             // "1+3" in gang mode, empty otherwise
        QString verdict;          // "Passed", "Failed", "Error" or "Incomplete"

        bool operator==(const Unit &) const = default;
    };
    struct Step
    {
        int cycle = 1;
        QString number;
        QString type;
        QString operation;
        QString item;
        QString status;           // "Passed", "Failed", "Done", ...
        int exitCode = 0;
        QDateTime started;
        qint64 durationMs = 0;
        QString pauseAnswer;      // "yes", "no", "timeout"; empty without a question
        QStringList outputFiles;
        QString output;           // the step's console output as plain text
        bool countsToVerdict = true;

        // "3 Infrastructure Test": the number, then the item a person
        // recognises; control steps by their operation
        QString name() const;
    };
    struct Counts
    {
        int steps = 0;
        int passed = 0;
        int failed = 0;
        int errors = 0;
        int rejected = 0;
        int skipped = 0;
    };

    QString id;                   // unique across stations; delivery is keyed by it
    QString project;
    QString sequence;
    QDateTime started;
    QDateTime ended;
    QString user;
    QString privilege;
    QString host;
    QString verdict;              // the run's aggregate
    QString end;                  // "completed", "stopped" or "cancelled"
    QString reportFile;
    QList<Unit> units;
    QList<Step> steps;

    Counts counts() const;

    // The verdict of a set of step statuses, by severity: an error, a
    // cancel or a time-out outweighs a failure, which outweighs a pass.
    static QString verdictOf(const QStringList &statuses);
    // "2026-02-03T09:05:07.004+01:00": ISO 8601 with milliseconds and offset
    static QString timeText(const QDateTime &time);
};
