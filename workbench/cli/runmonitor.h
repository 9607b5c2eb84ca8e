#pragma once

#include "hxirunmonitor.h"
#include "serviceobject.h"

#include <QObject>
#include <QTextStream>

// Follows a run for seqrun: prints a line per finished step and remembers
// how the run ended.
class RunMonitor final : public QObject, public ServiceObject<VemoInterface::HxiRunMonitor>
{
    Q_OBJECT

public:
    explicit RunMonitor(QTextStream &out);

    void stepFinished(const QString &sequence, int loop, const QString &number,
                      const QString &type, const QString &operation, const QString &item,
                      const QString &status) override;
    void runFinished(const QString &sequence, int end, const QString &verdict,
                     const QString &reportFile) override;

    // how many steps a pass has, for the progress indication
    void setStepCount(int count) { stepCount = count; }

    bool hasEnded() const { return ended; }
    int end() const { return runEnd; }
    QString verdict() const { return runVerdict; }
    QString reportFile() const { return report; }
    int finishedSteps() const { return steps; }

Q_SIGNALS:
    void runEnded();

private:
    QTextStream &out;
    int stepCount = 0;
    int steps = 0;
    bool ended = false;
    int runEnd = 0;
    QString runVerdict;
    QString report;
};
