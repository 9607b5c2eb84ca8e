#include "runjson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonObject unitObject(const RunRecord::Unit &unit)
{
    return {{QStringLiteral("cycle"), unit.cycle},
            {QStringLiteral("serialNumber"), unit.serialNumber},
            {QStringLiteral("folder"), unit.folder},
            {QStringLiteral("taps"), unit.taps},
            {QStringLiteral("verdict"), unit.verdict}};
}

QJsonObject stepObject(const RunRecord::Step &step)
{
    return {{QStringLiteral("cycle"), step.cycle},
            {QStringLiteral("number"), step.number},
            {QStringLiteral("type"), step.type},
            {QStringLiteral("operation"), step.operation},
            {QStringLiteral("item"), step.item},
            {QStringLiteral("status"), step.status},
            {QStringLiteral("exitCode"), step.exitCode},
            {QStringLiteral("started"), RunRecord::timeText(step.started)},
            {QStringLiteral("durationMs"), step.durationMs},
            {QStringLiteral("pauseAnswer"), textOrNull(step.pauseAnswer)},
            {QStringLiteral("outputFiles"), QJsonArray::fromStringList(step.outputFiles)},
            {QStringLiteral("output"), step.output}};
}

} // namespace

QJsonObject RunJson::toObject(const RunRecord &record)
{
    QJsonArray units;
    for (const RunRecord::Unit &unit : record.units)
        units.append(unitObject(unit));
    QJsonArray steps;
    for (const RunRecord::Step &step : record.steps)
        steps.append(stepObject(step));
    const RunRecord::Counts counts = record.counts();
    return {{QStringLiteral("format"), QStringLiteral("orv-sequencer-run")},
            {QStringLiteral("formatVersion"), 1},
            {QStringLiteral("id"), record.id},
            {QStringLiteral("project"), record.project},
            {QStringLiteral("sequence"), record.sequence},
            {QStringLiteral("started"), RunRecord::timeText(record.started)},
            {QStringLiteral("ended"), RunRecord::timeText(record.ended)},
            {QStringLiteral("user"), record.user},
            {QStringLiteral("privilege"), record.privilege},
            {QStringLiteral("host"), record.host},
            {QStringLiteral("verdict"), record.verdict},
            {QStringLiteral("end"), record.end},
            {QStringLiteral("reportFile"), textOrNull(record.reportFile)},
            {QStringLiteral("units"), units},
            {QStringLiteral("steps"), steps},
            {QStringLiteral("counts"),
             QJsonObject{{QStringLiteral("steps"), counts.steps},
                         {QStringLiteral("passed"), counts.passed},
                         {QStringLiteral("failed"), counts.failed},
                         {QStringLiteral("errors"), counts.errors},
                         {QStringLiteral("rejected"), counts.rejected},
                         {QStringLiteral("skipped"), counts.skipped}}}};
}

QByteArray RunJson::toJson(const RunRecord &record)
{
    return QJsonDocument(toObject(record)).toJson(QJsonDocument::Indented);
}
