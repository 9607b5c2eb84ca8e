#pragma once

#include "runrecord.h"



// A run of two units with a step of every status, and texts that must
// survive JSON, XML and HTML: quotes, markup, a control character.
inline RunRecord sampleRun(const QString &id = QStringLiteral("0b7c1c1e-8d7a-4a8e-9d43-5b8f0e2a4c11"))
{
    const QDateTime start(QDate(2026, 2, 3), QTime(9, 5, 7, 4), Qt::OffsetFromUTC, 3600);
    RunRecord run;
    run.id = id;
    run.project = QStringLiteral("Demo <Board>");
    run.sequence = QStringLiteral("Board \"Test\" & more");
    run.started = start;
    run.ended = start.addSecs(12);
    run.user = QStringLiteral("op");
    run.privilege = QStringLiteral("Operator");
    run.host = QStringLiteral("station-1");
    run.verdict = QStringLiteral("Error");
    run.end = QStringLiteral("completed");
    run.units = {{1, QStringLiteral("DB-0101"), QStringLiteral("DB-0101"), QString(), QStringLiteral("Failed")},
                 {2, QStringLiteral("DB-0102"), QStringLiteral("DB-0102"), QString(), QStringLiteral("Error")}};
    const QStringList statuses = {QStringLiteral("Passed"), QStringLiteral("Failed"), QStringLiteral("Done"),
                                  QStringLiteral("Rejected"), QStringLiteral("Skipped"), QStringLiteral("Error"),
                                  QStringLiteral("Timeout"), QStringLiteral("Cancelled")};
    for (int i = 0; i < statuses.size(); ++i) {
        RunRecord::Step step;
        step.cycle = i < 4 ? 1 : 2;
        step.number = QString::number(i % 4 + 1);
        step.type = i == 2 ? QStringLiteral("Ctrl") : QStringLiteral("Infrastructure Test");
        step.operation = i == 2 ? QStringLiteral("PAUSE") : QStringLiteral("Test");
        step.item = QStringLiteral("Chain <%1>").arg(i);
        step.status = statuses.at(i);
        step.exitCode = i;
        step.started = start.addMSecs(100 * i);
        step.durationMs = 100;
        step.pauseAnswer = i == 2 ? QStringLiteral("yes") : QString();
        step.outputFiles = {QStringLiteral("/p/Sequences/B/run/Chain-Output-%1.html").arg(i)};
        step.output = QStringLiteral("line & <tag> \"q\"\x01 end\n");
        run.steps.append(step);
    }
    return run;
}
