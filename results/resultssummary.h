#pragma once

#include "runrecord.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// The numbers a test engineer asks of the recorded runs: per sequence the
// runs, units and yields, the steps that fail most, the yield per day, and
// every run of one serial number.
class ResultsSummary
{
public:
    struct SequenceYield
    {
        QString sequence;
        int runs = 0;
        int units = 0;
        int firstPassed = 0;    // units whose first test passed
        int finallyPassed = 0;  // units whose last test passed
    };
    struct FailingStep
    {
        QString sequence;
        QString step;           // "3 Infrastructure Test"
        int failures = 0;
        int executions = 0;
    };
    struct DayYield
    {
        QDate day;
        int units = 0;          // units first tested that day
        int firstPassed = 0;
    };
    struct UnitResult
    {
        QString serialNumber;
        QString sequence;
        int tests = 0;
        QString firstVerdict;
        QString lastVerdict;
        QDateTime lastTested;
    };
    struct SerialRun
    {
        QString serialNumber;
        QString sequence;
        QDateTime started;
        QString verdict;        // the unit's
        QString end;            // how the run ended
        QString host;
    };

    // `runs` in the order they started; `serialNumber` selects the runs to list
    static ResultsSummary of(const QList<RunRecord> &runs, const QString &serialNumber = QString());

    static double percent(int part, int whole);

    QString toTable() const;
    QString toCsv() const;
    QByteArray toJson() const;

    QList<SequenceYield> sequences;
    QList<FailingStep> failingSteps;   // most failures first
    QList<DayYield> days;              // in date order
    QList<UnitResult> units;           // units with a serial number, last tested first
    QList<SerialRun> serialRuns;

    // how many units the table and the page show; CSV and JSON show all
    static constexpr int ShownUnits = 20;
};
