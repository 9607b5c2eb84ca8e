#include "junitreport.h"

#include "textboundary.h"

#include <QMap>
#include <QXmlStreamWriter>

namespace {

struct Suite
{
    QString name;
    int cycle = 1;
    QString serialNumber;
};

QString seconds(qint64 ms)
{
    return QString::number(double(ms) / 1000.0, 'f', 3);
}

bool isFailure(const QString &status)
{
    return status == QLatin1String("Failed");
}

bool isSkipped(const QString &status)
{
    return status == QLatin1String("Skipped") || status == QLatin1String("Rejected");
}

bool isError(const QString &status)
{
    return status == QLatin1String("Error") || status == QLatin1String("Timeout")
           || status == QLatin1String("Cancelled");
}

QList<Suite> suitesOf(const RunRecord &record)
{
    QList<Suite> suites;
    for (const RunRecord::Unit &unit : record.units) {
        QString name = record.sequence + QStringLiteral(" - ") + unit.serialNumber;
        if (!unit.taps.isEmpty())
            name += QStringLiteral(" (TAPs %1)").arg(unit.taps);
        suites.append({name, unit.cycle, unit.serialNumber});
    }
    if (!suites.isEmpty())
        return suites;
    QList<int> cycles;
    for (const RunRecord::Step &step : record.steps) {
        if (!cycles.contains(step.cycle))
            cycles.append(step.cycle);
    }
    for (int cycle : cycles)
        suites.append({record.sequence + QStringLiteral(" - cycle %1").arg(cycle), cycle, QString()});
    return suites;
}

void writeStep(QXmlStreamWriter &xml, const RunRecord &record, const RunRecord::Step &step)
{
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("name"), TextBoundary::toXml(step.name()));
    xml.writeAttribute(QStringLiteral("classname"),
                       TextBoundary::toXml(record.sequence + QLatin1Char('.') + step.type));
    xml.writeAttribute(QStringLiteral("time"), seconds(step.durationMs));
    const QString message = QStringLiteral("%1 (exit code %2)").arg(step.status).arg(step.exitCode);
    const QString element = isFailure(step.status) ? QStringLiteral("failure")
                            : isError(step.status) ? QStringLiteral("error")
                            : isSkipped(step.status) ? QStringLiteral("skipped")
                                                     : QString();
    if (!element.isEmpty()) {
        xml.writeStartElement(element);
        xml.writeAttribute(QStringLiteral("message"), message);
        if (element != QLatin1String("skipped"))
            xml.writeAttribute(QStringLiteral("type"), step.status);
        xml.writeEndElement();
    }
    QString out = step.output;
    if (!step.pauseAnswer.isEmpty())
        out += QStringLiteral("Answer: %1\n").arg(step.pauseAnswer);
    for (const QString &file : step.outputFiles)
        out += QStringLiteral("File: %1\n").arg(file);
    if (!out.isEmpty())
        xml.writeTextElement(QStringLiteral("system-out"), TextBoundary::toXml(out));
    xml.writeEndElement();
}

} // namespace

QByteArray JUnitReport::toXml(const RunRecord &record)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    const RunRecord::Counts all = record.counts();
    const qint64 runMs = record.started.msecsTo(record.ended);
    xml.writeStartElement(QStringLiteral("testsuites"));
    xml.writeAttribute(QStringLiteral("name"), TextBoundary::toXml(record.sequence));
    xml.writeAttribute(QStringLiteral("tests"), QString::number(all.steps));
    xml.writeAttribute(QStringLiteral("failures"), QString::number(all.failed));
    xml.writeAttribute(QStringLiteral("errors"), QString::number(all.errors));
    xml.writeAttribute(QStringLiteral("time"), seconds(qMax<qint64>(0, runMs)));

    const QList<Suite> suites = suitesOf(record);
    for (qsizetype index = 0; index < suites.size(); ++index) {
        const Suite &suite = suites.at(index);
        QList<RunRecord::Step> steps;
        for (const RunRecord::Step &step : record.steps) {
            if (step.cycle == suite.cycle)
                steps.append(step);
        }
        RunRecord part;
        part.steps = steps;
        const RunRecord::Counts counts = part.counts();
        qint64 ms = 0;
        for (const RunRecord::Step &step : std::as_const(steps))
            ms += step.durationMs;
        xml.writeStartElement(QStringLiteral("testsuite"));
        xml.writeAttribute(QStringLiteral("name"), TextBoundary::toXml(suite.name));
        xml.writeAttribute(QStringLiteral("id"), QString::number(index));
        xml.writeAttribute(QStringLiteral("package"), TextBoundary::toXml(record.project));
        xml.writeAttribute(QStringLiteral("tests"), QString::number(counts.steps));
        xml.writeAttribute(QStringLiteral("failures"), QString::number(counts.failed));
        xml.writeAttribute(QStringLiteral("errors"), QString::number(counts.errors));
        xml.writeAttribute(QStringLiteral("skipped"), QString::number(counts.skipped + counts.rejected));
        xml.writeAttribute(QStringLiteral("time"), seconds(ms));
        xml.writeAttribute(QStringLiteral("timestamp"),
                           steps.isEmpty() ? RunRecord::timeText(record.started).left(19)
                                           : RunRecord::timeText(steps.first().started).left(19));
        xml.writeAttribute(QStringLiteral("hostname"), TextBoundary::toXml(record.host));
        xml.writeStartElement(QStringLiteral("properties"));
        const QList<QPair<QString, QString>> properties = {
            {QStringLiteral("serialNumber"), suite.serialNumber},
            {QStringLiteral("user"), record.user},
            {QStringLiteral("privilege"), record.privilege},
            {QStringLiteral("runId"), record.id},
            {QStringLiteral("runEnd"), record.end}};
        for (const auto &[name, value] : properties) {
            xml.writeStartElement(QStringLiteral("property"));
            xml.writeAttribute(QStringLiteral("name"), name);
            xml.writeAttribute(QStringLiteral("value"), TextBoundary::toXml(value));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        for (const RunRecord::Step &step : std::as_const(steps))
            writeStep(xml, record, step);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
