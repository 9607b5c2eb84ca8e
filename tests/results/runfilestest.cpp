#include "junitreport.h"
#include "runjson.h"
#include "samplerun.h"
#include "schemacheck.h"
#include "temporaryfolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QXmlStreamReader>

#include <functional>

#include <gtest/gtest.h>

namespace {

bool validates(const QJsonObject &run, QString &why)
{
    TemporaryFolder folder;
    return validatesAgainstRunSchema(folder.write(QStringLiteral("run.json"), QJsonDocument(run).toJson()), why);
}

} // namespace

// The documented schema accepts what the program writes and refuses what
// a reader could not rely on.
TEST(RunFilesTest, TheJsonOfARunValidatesAgainstTheDocumentedSchema)
{
    using Change = std::function<void(QJsonObject &)>;
    auto inStep = [](const QString &key, const QJsonValue &value) {
        return Change([key, value](QJsonObject &run) {
            QJsonArray steps = run.value(QStringLiteral("steps")).toArray();
            QJsonObject first = steps.at(0).toObject();
            first.insert(key, value);
            steps.replace(0, first);
            run.insert(QStringLiteral("steps"), steps);
        });
    };
    struct Case
    {
        const char *name;
        Change change;
        bool valid;
    };
    const QList<Case> cases = {
        {"as written", [](QJsonObject &) {}, true},
        {"without an id", [](QJsonObject &run) { run.remove(QStringLiteral("id")); }, false},
        {"a time without its offset", [](QJsonObject &run) { run.insert(QStringLiteral("started"), QStringLiteral("2026-02-03T09:05:07")); }, false},
        {"an unknown run end", [](QJsonObject &run) { run.insert(QStringLiteral("end"), QStringLiteral("crashed")); }, false},
        {"an unknown step status", inStep(QStringLiteral("status"), QStringLiteral("Maybe")), false},
        // an undefined value takes the key away
        {"a step without its output files", inStep(QStringLiteral("outputFiles"), QJsonValue::Undefined), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QJsonObject run = RunJson::toObject(sampleRun());
        c.change(run);
        QString why;
        EXPECT_EQ(validates(run, why), c.valid) << why.toStdString();
    }
    // a record taken in local time still says its offset
    RunRecord local = sampleRun();
    local.started = QDateTime::currentDateTime();
    local.steps.first().started = local.started;
    QString why;
    EXPECT_TRUE(validates(RunJson::toObject(local), why)) << why.toStdString();
    const QJsonObject counts = RunJson::toObject(sampleRun()).value(QStringLiteral("counts")).toObject();
    EXPECT_EQ(counts.value(QStringLiteral("passed")).toInt(), 2);
    EXPECT_EQ(counts.value(QStringLiteral("errors")).toInt(), 3);
}

// One suite per unit, one case per step, failure/error/skipped as the
// status says, and only the names of the common JUnit schema.
TEST(RunFilesTest, TheJUnitFileHasASuitePerUnitAndACasePerStep)
{
    const QMap<QString, QSet<QString>> junitNames = {
        {QStringLiteral("testsuites"), {"name", "tests", "failures", "errors", "time", "disabled"}},
        {QStringLiteral("testsuite"), {"name", "tests", "failures", "errors", "skipped", "time", "timestamp",
                                       "hostname", "id", "package", "disabled"}},
        {QStringLiteral("properties"), {}},
        {QStringLiteral("property"), {"name", "value"}},
        {QStringLiteral("testcase"), {"name", "classname", "time", "assertions", "status"}},
        {QStringLiteral("failure"), {"message", "type"}},
        {QStringLiteral("error"), {"message", "type"}},
        {QStringLiteral("skipped"), {"message"}},
        {QStringLiteral("system-out"), {}},
        {QStringLiteral("system-err"), {}},
    };
    const QMap<QString, QString> outcomeOf = {{"Passed", ""},         {"Done", ""},         {"Failed", "failure"},
                                              {"Error", "error"},     {"Timeout", "error"}, {"Cancelled", "error"},
                                              {"Rejected", "skipped"}, {"Skipped", "skipped"}};

    const RunRecord run = sampleRun();
    QXmlStreamReader xml(JUnitReport::toXml(run));
    QStringList suites;
    QStringList outcomes;
    QMap<QString, int> declared;   // per suite: tests + failures + errors + skipped
    QMap<QString, int> found;
    QString suite;
    QString lastCase;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        ASSERT_TRUE(junitNames.contains(name)) << name.toStdString();
        for (const QXmlStreamAttribute &attribute : xml.attributes())
            EXPECT_TRUE(junitNames.value(name).contains(attribute.name().toString()))
                << name.toStdString() << "@" << attribute.name().toString().toStdString();
        if (name == QLatin1String("testsuite")) {
            suite = xml.attributes().value(QStringLiteral("name")).toString();
            suites << suite;
            for (const char *count : {"tests", "failures", "errors", "skipped"})
                declared[suite] += xml.attributes().value(QLatin1String(count)).toInt();
        } else if (name == QLatin1String("testcase")) {
            ++found[suite];
            outcomes << QString();
        } else if (name == QLatin1String("failure") || name == QLatin1String("error")
                   || name == QLatin1String("skipped")) {
            ++found[suite];
            outcomes.last() = name;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(suites, QStringList({QStringLiteral("Board \"Test\" & more - DB-0101"),
                                   QStringLiteral("Board \"Test\" & more - DB-0102")}));
    ASSERT_EQ(outcomes.size(), run.steps.size());
    for (qsizetype i = 0; i < run.steps.size(); ++i)
        EXPECT_EQ(outcomes.at(i), outcomeOf.value(run.steps.at(i).status)) << run.steps.at(i).status.toStdString();
    EXPECT_EQ(declared, found);

    // without units, each cycle is a suite
    RunRecord cycles = run;
    cycles.units.clear();
    const QString text = QString::fromUtf8(JUnitReport::toXml(cycles));
    EXPECT_EQ(text.count(QLatin1String("<testsuite ")), 2);
    EXPECT_TRUE(text.contains(QLatin1String("cycle 2")));
}
