#include "resultssummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <algorithm>

namespace {

bool isFailing(const QString &status)
{
    return status == QLatin1String("Failed") || status == QLatin1String("Error")
           || status == QLatin1String("Timeout") || status == QLatin1String("Cancelled");
}

// A run without unit identification tests one unit nobody named.
QList<RunRecord::Unit> unitsOf(const RunRecord &run)
{
    if (!run.units.isEmpty())
        return run.units;
    QString verdict = run.verdict;
    if (verdict == QLatin1String("Passed") && run.end != QLatin1String("completed"))
        verdict = QStringLiteral("Incomplete");
    return {{1, QString(), QString(), QString(), verdict}};
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString columns(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths.append(0);
            widths[i] = qMax(widths[i], row.at(i).size());
        }
    }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += row.at(i).leftJustified(widths.at(i) + 2);
        text += line.trimmed() + QLatin1Char('\n');
    }
    return text;
}

QString percentText(int part, int whole)
{
    return whole == 0 ? QStringLiteral("-") : QString::number(ResultsSummary::percent(part, whole), 'f', 1) + QLatin1Char('%');
}

} // namespace

double ResultsSummary::percent(int part, int whole)
{
    return whole == 0 ? 0.0 : 100.0 * part / whole;
}

ResultsSummary ResultsSummary::of(const QList<RunRecord> &runs, const QString &serialNumber)
{
    ResultsSummary summary;
    struct UnitHistory
    {
        QString firstVerdict;
        QString lastVerdict;
        QDate firstDay;
        bool firstIncomplete = false;
        int tests = 0;
        QDateTime lastTested;
        QString serialNumber;
    };
    QMap<QString, SequenceYield> bySequence;
    QMap<QString, QMap<QString, UnitHistory>> units;   // sequence -> unit -> history
    QMap<QPair<QString, QString>, FailingStep> steps;

    for (const RunRecord &run : runs) {
        SequenceYield &yield = bySequence[run.sequence];
        yield.sequence = run.sequence;
        ++yield.runs;
        for (const RunRecord::Unit &unit : unitsOf(run)) {
            const QString key = unit.serialNumber.isEmpty() ? QStringLiteral("run %1 cycle %2").arg(run.id).arg(unit.cycle)
                                                            : unit.serialNumber;
            UnitHistory &history = units[run.sequence][key];
            // A test cut short is no verdict while a complete one follows.
            const bool incomplete = unit.verdict == QLatin1String("Incomplete");
            if (history.firstVerdict.isEmpty() || (history.firstIncomplete && !incomplete)) {
                history.firstVerdict = unit.verdict;
                history.firstIncomplete = incomplete;
                if (!history.firstDay.isValid())
                    history.firstDay = run.started.date();
            }
            if (history.lastVerdict.isEmpty() || !incomplete)
                history.lastVerdict = unit.verdict;
            ++history.tests;
            history.lastTested = run.started;
            history.serialNumber = unit.serialNumber;
            if (!serialNumber.isEmpty() && unit.serialNumber == serialNumber)
                summary.serialRuns.append({unit.serialNumber, run.sequence, run.started, unit.verdict, run.end, run.host});
        }
        for (const RunRecord::Step &step : run.steps) {
            const QString name = step.name();
            FailingStep &failing = steps[{run.sequence, name}];
            failing.sequence = run.sequence;
            failing.step = name;
            ++failing.executions;
            if (isFailing(step.status))
                ++failing.failures;
        }
    }

    QMap<QDate, DayYield> days;
    for (auto sequence = units.cbegin(); sequence != units.cend(); ++sequence) {
        SequenceYield &yield = bySequence[sequence.key()];
        for (const UnitHistory &history : sequence.value()) {
            const bool firstPassed = history.firstVerdict == QLatin1String("Passed");
            ++yield.units;
            yield.firstPassed += firstPassed;
            yield.finallyPassed += history.lastVerdict == QLatin1String("Passed");
            if (!history.serialNumber.isEmpty())
                summary.units.append({history.serialNumber, sequence.key(), history.tests, history.firstVerdict,
                                      history.lastVerdict, history.lastTested});
            DayYield &day = days[history.firstDay];
            day.day = history.firstDay;
            ++day.units;
            day.firstPassed += firstPassed;
        }
    }
    summary.sequences = bySequence.values();
    summary.days = days.values();
    for (const FailingStep &step : std::as_const(steps)) {
        if (step.failures > 0)
            summary.failingSteps.append(step);
    }
    std::stable_sort(summary.units.begin(), summary.units.end(),
                     [](const UnitResult &a, const UnitResult &b) { return a.lastTested > b.lastTested; });
    std::stable_sort(summary.failingSteps.begin(), summary.failingSteps.end(),
                     [](const FailingStep &a, const FailingStep &b) { return a.failures > b.failures; });
    return summary;
}

QString ResultsSummary::toTable() const
{
    QList<QStringList> yieldRows = {{QStringLiteral("Sequence"), QStringLiteral("Runs"), QStringLiteral("Units"),
                                     QStringLiteral("First-pass yield"), QStringLiteral("Final yield")}};
    for (const SequenceYield &yield : sequences)
        yieldRows.append({yield.sequence, QString::number(yield.runs), QString::number(yield.units),
                          percentText(yield.firstPassed, yield.units), percentText(yield.finallyPassed, yield.units)});
    QString text = columns(yieldRows);
    if (!failingSteps.isEmpty()) {
        QList<QStringList> rows = {{QStringLiteral("Failing step"), QStringLiteral("Sequence"),
                                    QStringLiteral("Failures"), QStringLiteral("Runs")}};
        for (const FailingStep &step : failingSteps)
            rows.append({step.step, step.sequence, QString::number(step.failures), QString::number(step.executions)});
        text += QLatin1Char('\n') + columns(rows);
    }
    if (!units.isEmpty()) {
        QList<QStringList> rows = {{QStringLiteral("Unit"), QStringLiteral("Sequence"), QStringLiteral("Tests"),
                                    QStringLiteral("First"), QStringLiteral("Last"), QStringLiteral("Last tested")}};
        for (const UnitResult &unit : units.mid(0, ShownUnits))
            rows.append({unit.serialNumber, unit.sequence, QString::number(unit.tests), unit.firstVerdict,
                         unit.lastVerdict, RunRecord::timeText(unit.lastTested)});
        text += QLatin1Char('\n') + columns(rows);
        if (units.size() > ShownUnits)
            text += QStringLiteral("(%1 more units: --format csv lists all)\n").arg(units.size() - ShownUnits);
    }
    if (!serialRuns.isEmpty()) {
        QList<QStringList> rows = {{QStringLiteral("Serial number"), QStringLiteral("Started"),
                                    QStringLiteral("Sequence"), QStringLiteral("Verdict"),
                                    QStringLiteral("Run"), QStringLiteral("Station")}};
        for (const SerialRun &run : serialRuns)
            rows.append({run.serialNumber, RunRecord::timeText(run.started), run.sequence, run.verdict, run.end, run.host});
        text += QLatin1Char('\n') + columns(rows);
    }
    return text;
}

QString ResultsSummary::toCsv() const
{
    QStringList lines = {QStringLiteral("section,sequence,runs,units,first_pass,final_pass,first_pass_yield,final_yield")};
    for (const SequenceYield &yield : sequences)
        lines << QStringLiteral("yield,%1,%2,%3,%4,%5,%6,%7")
                     .arg(csvField(yield.sequence)).arg(yield.runs).arg(yield.units).arg(yield.firstPassed)
                     .arg(yield.finallyPassed)
                     .arg(percent(yield.firstPassed, yield.units), 0, 'f', 1)
                     .arg(percent(yield.finallyPassed, yield.units), 0, 'f', 1);
    lines << QString() << QStringLiteral("section,sequence,step,failures,runs");
    for (const FailingStep &step : failingSteps)
        lines << QStringLiteral("failing step,%1,%2,%3,%4")
                     .arg(csvField(step.sequence), csvField(step.step)).arg(step.failures).arg(step.executions);
    lines << QString() << QStringLiteral("section,serial,sequence,tests,first,last,last_tested");
    for (const UnitResult &unit : units)
        lines << QStringLiteral("unit,%1,%2,%3,%4,%5,%6")
                     .arg(csvField(unit.serialNumber), csvField(unit.sequence)).arg(unit.tests)
                     .arg(unit.firstVerdict, unit.lastVerdict, RunRecord::timeText(unit.lastTested));
    if (!serialRuns.isEmpty()) {
        lines << QString() << QStringLiteral("section,serial,started,sequence,verdict,run,station");
        for (const SerialRun &run : serialRuns)
            lines << QStringLiteral("serial run,%1,%2,%3,%4,%5,%6")
                         .arg(csvField(run.serialNumber), RunRecord::timeText(run.started), csvField(run.sequence),
                              run.verdict, run.end, csvField(run.host));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QByteArray ResultsSummary::toJson() const
{
    QJsonArray yields;
    for (const SequenceYield &yield : sequences)
        yields.append(QJsonObject{{QStringLiteral("sequence"), yield.sequence},
                                  {QStringLiteral("runs"), yield.runs},
                                  {QStringLiteral("units"), yield.units},
                                  {QStringLiteral("firstPassed"), yield.firstPassed},
                                  {QStringLiteral("finallyPassed"), yield.finallyPassed},
                                  {QStringLiteral("firstPassYield"), percent(yield.firstPassed, yield.units)},
                                  {QStringLiteral("finalYield"), percent(yield.finallyPassed, yield.units)}});
    QJsonArray failing;
    for (const FailingStep &step : failingSteps)
        failing.append(QJsonObject{{QStringLiteral("sequence"), step.sequence},
                                   {QStringLiteral("step"), step.step},
                                   {QStringLiteral("failures"), step.failures},
                                   {QStringLiteral("runs"), step.executions}});
    QJsonArray perDay;
    for (const DayYield &day : days)
        perDay.append(QJsonObject{{QStringLiteral("day"), day.day.toString(Qt::ISODate)},
                                  {QStringLiteral("units"), day.units},
                                  {QStringLiteral("firstPassed"), day.firstPassed}});
    QJsonArray unitList;
    for (const UnitResult &unit : units)
        unitList.append(QJsonObject{{QStringLiteral("serialNumber"), unit.serialNumber},
                                    {QStringLiteral("sequence"), unit.sequence},
                                    {QStringLiteral("tests"), unit.tests},
                                    {QStringLiteral("firstVerdict"), unit.firstVerdict},
                                    {QStringLiteral("lastVerdict"), unit.lastVerdict},
                                    {QStringLiteral("lastTested"), RunRecord::timeText(unit.lastTested)}});
    QJsonArray serial;
    for (const SerialRun &run : serialRuns)
        serial.append(QJsonObject{{QStringLiteral("serialNumber"), run.serialNumber},
                                  {QStringLiteral("sequence"), run.sequence},
                                  {QStringLiteral("started"), RunRecord::timeText(run.started)},
                                  {QStringLiteral("verdict"), run.verdict},
                                  {QStringLiteral("end"), run.end},
                                  {QStringLiteral("host"), run.host}});
    return QJsonDocument(QJsonObject{{QStringLiteral("sequences"), yields},
                                     {QStringLiteral("failingSteps"), failing},
                                     {QStringLiteral("days"), perDay},
                                     {QStringLiteral("units"), unitList},
                                     {QStringLiteral("serialRuns"), serial}})
        .toJson(QJsonDocument::Indented);
}
