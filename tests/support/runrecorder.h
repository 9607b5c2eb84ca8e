#pragma once

#include "hxirunmonitor.h"
#include "serviceobject.h"

#include <QList>
#include <QStringList>

// A run monitor that writes down every step that ended and every end of a
// run, in the order the plug-in reported them.
class RunRecorder final : public ServiceObject<VemoInterface::HxiRunMonitor>
{
public:
    struct Step
    {
        QString sequence;
        int loop = 0;
        QString number;
        QString type;
        QString operation;
        QString item;
        QString status;
    };
    struct Run
    {
        QString sequence;
        int end = -1;
        QString verdict;
        QString reportFile;
    };

    RunRecorder() : ServiceObject(QStringLiteral("HxiRunMonitor")) {}

    void stepFinished(const QString &sequence, int loop, const QString &number, const QString &type,
                      const QString &operation, const QString &item, const QString &status) override
    {
        steps.append({sequence, loop, number, type, operation, item, status});
    }
    void runFinished(const QString &sequence, int end, const QString &verdict,
                     const QString &reportFile) override
    {
        runs.append({sequence, end, verdict, reportFile});
    }

    // "loop/number" of every step that ended, in order
    QStringList order() const
    {
        QStringList result;
        for (const Step &step : steps)
            result.append(QStringLiteral("%1/%2").arg(step.loop).arg(step.number));
        return result;
    }
    // the status each of those steps ended with
    QStringList statuses() const
    {
        QStringList result;
        for (const Step &step : steps)
            result.append(step.status);
        return result;
    }

    void clear()
    {
        steps.clear();
        runs.clear();
    }

    QList<Step> steps;
    QList<Run> runs;
};
