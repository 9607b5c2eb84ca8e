#include "democopy.h"
#include "resultsdatabase.h"
#include "resultsstore.h"
#include "schemacheck.h"
#include "seqrunprocess.h"
#include "temporaryfolder.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Outcome = SeqrunResult;

// seqrun with the results server `server` (none when empty) and, when given,
// the settings file `settingsFile`.
std::unique_ptr<QProcess> startWith(const QStringList &arguments, const QString &server = QString(),
                                    const QString &settingsFile = QString())
{
    QMap<QString, QString> environment{{QStringLiteral("ORV_RESULTS_DB"), server}};
    if (!settingsFile.isEmpty())
        environment.insert(QStringLiteral("ORV_SETTINGS_FILE"), settingsFile);
    return startSeqrun(arguments, environment);
}

Outcome seqrunWith(const QStringList &arguments, const QString &server = QString(),
                   const QString &settingsFile = QString())
{
    return finishSeqrun(*startWith(arguments, server, settingsFile));
}

QStringList checkThreeUnits(const QString &project)
{
    return {QStringLiteral("run"), project, QStringLiteral("Instrument Check"), QStringLiteral("--units"),
            QStringLiteral("3"), QStringLiteral("--answer"), QStringLiteral("yes")};
}

// A PostgreSQL server of the test's own, stopped and removed at the end.
class PostgresServer
{
public:
    PostgresServer()
    {
        QProcess script;
        script.start(QStringLiteral(PG_SERVER_SCRIPT), {QStringLiteral("start")});
        script.waitForFinished(120000);
        const QStringList words = QString::fromUtf8(script.readAllStandardOutput()).split(QLatin1Char(' '));
        problem = QString::fromUtf8(script.readAllStandardError());
        missing = script.exitCode() == 77;
        if (script.exitCode() == 0 && words.size() == 2) {
            folder = words.at(0);
            url = words.at(1).trimmed();
        }
    }
    ~PostgresServer()
    {
        if (!folder.isEmpty())
            control({QStringLiteral("stop"), folder});
    }
    void stop() { control({QStringLiteral("stop"), folder, QStringLiteral("keep")}); }
    void restart() { control({QStringLiteral("restart"), folder}); }

    QString folder;
    QString url;
    QString problem;
    bool missing = false;

private:
    static void control(const QStringList &arguments)
    {
        QProcess script;
        script.start(QStringLiteral(PG_SERVER_SCRIPT), arguments);
        script.waitForFinished(120000);
    }
};

QList<RunRecord> runsOn(const QString &location)
{
    ResultsDatabase database(location);
    if (!database.open())
        return {};
    return database.runs({});
}

} // namespace

// Three units of the demo's instrument check: the files the run was asked
// for, and the project's results that name the three serial numbers.
TEST(SeqrunResultsTest, ThreeUnitsOfTheDemoShowUpInTheResults)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    const QString json = folder.filePath(QStringLiteral("run.json"));
    const QString junit = folder.filePath(QStringLiteral("run.xml"));
    const Outcome run = seqrunWith(checkThreeUnits(project) << QStringLiteral("--json") << json
                                                            << QStringLiteral("--junit") << junit);
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    QString why;
    EXPECT_TRUE(validatesAgainstRunSchema(json, why)) << why.toStdString();
    EXPECT_EQ(QString::fromUtf8(folder.read(QStringLiteral("run.xml"))).count(QLatin1String("<testsuite ")), 3);
    // the board test fails its flash step once per cycle; with the setting
    // on, its results lie beside its report
    const QString settings = folder.write(QStringLiteral("settings.xml"),
                                          "<settings><plugin name='ORVSequencer'>"
                                          "<ORVSequencerSettings saveResultFiles='1'/></plugin></settings>");
    const Outcome board = seqrunWith({QStringLiteral("run"), project, QStringLiteral("Board Test")}, {}, settings);
    ASSERT_EQ(board.exitCode, 0);
    const QString report = QRegularExpression(QStringLiteral("Report: (.*)\\.html")).match(board.out).captured(1);
    EXPECT_TRUE(validatesAgainstRunSchema(report + QStringLiteral(".json"), why)) << why.toStdString();
    EXPECT_TRUE(QFileInfo::exists(report + QStringLiteral(".junit.xml"))) << report.toStdString();

    const Outcome table = seqrunWith({QStringLiteral("results"), project, QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(table.out.toUtf8()).object();
    QMap<QString, int> units;
    for (const QJsonValue &yield : summary.value(QStringLiteral("sequences")).toArray())
        units.insert(yield[QStringLiteral("sequence")].toString(), yield[QStringLiteral("units")].toInt());
    EXPECT_EQ(units.value(QStringLiteral("Instrument Check")), 3);
    EXPECT_EQ(summary.value(QStringLiteral("failingSteps")).toArray().at(0)[QStringLiteral("step")].toString(),
              QStringLiteral("8 Flash"));
    // the third unit's number came from counting up
    const Outcome runs = seqrunWith({QStringLiteral("results"), project, QStringLiteral("--serial"), QStringLiteral("DB-0103")});
    EXPECT_TRUE(runs.out.contains(QRegularExpression(QStringLiteral("DB-0103 .* Instrument Check +Passed")))) << runs.out.toStdString();

    const QString page = folder.filePath(QStringLiteral("results.html"));
    const Outcome html = seqrunWith({QStringLiteral("results"), project, QStringLiteral("--html"), page});
    ASSERT_EQ(html.exitCode, 0) << html.err.toStdString();
    const QString text = QString::fromUtf8(folder.read(QStringLiteral("results.html")));
    EXPECT_EQ(text.count(QLatin1String("<svg ")), 2);
    // nothing to fetch: no scripts, links or sources
    for (const char *fetch : {"<script", "<link", "src=", "href="})
        EXPECT_FALSE(text.contains(QLatin1String(fetch))) << fetch;
}

// Four stations finishing at once on one server lose no row.
TEST(SeqrunResultsTest, FourStationsWritingOneServerAtOnceLoseNoRow)
{
    PostgresServer server;
    if (server.missing)
        GTEST_SKIP() << server.problem.toStdString();
    ASSERT_FALSE(server.url.isEmpty()) << server.problem.toStdString();
    TemporaryFolder folders[4];
    std::vector<std::unique_ptr<QProcess>> stations;
    for (const TemporaryFolder &folder : folders)
        stations.push_back(startWith(checkThreeUnits(copyDemo(folder)), server.url));
    for (auto &station : stations) {
        const Outcome outcome = finishSeqrun(*station);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.out.toStdString() << outcome.err.toStdString();
    }
    const QList<RunRecord> runs = runsOn(server.url);
    ASSERT_EQ(runs.size(), 4);
    QSet<QString> ids;
    for (const RunRecord &run : runs) {
        ids.insert(run.id);
        EXPECT_EQ(run.units.size(), 3);
        EXPECT_EQ(run.steps.size(), 18);
    }
    EXPECT_EQ(ids.size(), 4);
}

// The server goes away in the middle of a run: the run goes on, and once
// the server is back, sync delivers every run exactly once.
TEST(SeqrunResultsTest, RunsMadeWhileTheServerWasDownArriveOnceAfterSync)
{
    PostgresServer server;
    if (server.missing)
        GTEST_SKIP() << server.problem.toStdString();
    ASSERT_FALSE(server.url.isEmpty()) << server.problem.toStdString();
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    ASSERT_EQ(seqrunWith(checkThreeUnits(project), server.url).exitCode, 0);

    // the operator identifies the first unit only after the server stopped
    std::unique_ptr<QProcess> during = startWith({QStringLiteral("run"), project, QStringLiteral("Instrument Check"),
                                                    QStringLiteral("--units"), QStringLiteral("3"),
                                                    QStringLiteral("--ask")},
                                                   server.url);
    during->setReadChannel(QProcess::StandardError);
    QByteArray asked;
    while (!asked.contains("S/N [") && during->waitForReadyRead(30000))
        asked += during->readAllStandardError();
    ASSERT_TRUE(asked.contains("S/N [")) << asked.toStdString();
    server.stop();
    during->write(QByteArray("\n\ny\n").repeated(3));
    const Outcome cut = finishSeqrun(*during);
    EXPECT_EQ(cut.exitCode, 0) << cut.out.toStdString() << cut.err.toStdString();
    EXPECT_EQ(seqrunWith(checkThreeUnits(project), server.url).exitCode, 0);
    EXPECT_EQ(runsOn(ResultsStore::localLocation(project)).size(), 3);

    server.restart();
    const QStringList sync = {QStringLiteral("results"), QStringLiteral("sync"), project};
    const Outcome first = seqrunWith(sync, server.url);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QLatin1String("Delivered 2 runs; 0 waiting"))) << first.out.toStdString();
    EXPECT_TRUE(seqrunWith(sync, server.url).out.contains(QLatin1String("Delivered 0 runs")));
    const QList<RunRecord> runs = runsOn(server.url);
    QSet<QString> ids;
    for (const RunRecord &run : runs)
        ids.insert(run.id);
    EXPECT_EQ(runs.size(), 3);
    EXPECT_EQ(ids.size(), 3);
}

// A step's output files are the files that appeared in the run folder while
// it ran, in name order: not hidden ones, folders or links that lead nowhere.
TEST(SeqrunResultsTest, AStepsOutputFilesAreTheNewFilesOfTheRunFolder)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    ASSERT_TRUE(editProject(project, QStringLiteral("echo Board passed the interconnect test"),
                            QStringLiteral("for d in &quot;Sequences/Board Test&quot;/SequenceReport-*/; do "
                                           "touch &quot;$d.hidden&quot; &quot;${d}b.txt&quot;; "
                                           "mkdir &quot;${d}sub&quot;; ln -s b.txt &quot;${d}c.txt&quot;; "
                                           "ln -s nowhere &quot;${d}a.txt&quot;; done; echo labelled")));
    const QString json = folder.filePath(QStringLiteral("run.json"));
    const Outcome run = seqrunWith({QStringLiteral("run"), project, QStringLiteral("Board Test"),
                                    QStringLiteral("--json"), json});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    const QJsonArray steps = QJsonDocument::fromJson(folder.read(QStringLiteral("run.json")))
                                 .object().value(QStringLiteral("steps")).toArray();
    // the first time the step ran: the links and files are there from then on
    QJsonArray files;
    for (const QJsonValue &step : steps) {
        if (step[QStringLiteral("number")].toString() == QLatin1String("4")) {
            files = step[QStringLiteral("outputFiles")].toArray();
            break;
        }
    }
    QStringList names;
    for (const QJsonValue &file : std::as_const(files))
        names << QFileInfo(file.toString()).fileName().remove(QRegularExpression(QStringLiteral("-[0-9_hms-]+\\.html$")));
    EXPECT_EQ(names, (QStringList{QStringLiteral("Label board-Output"), QStringLiteral("b.txt"),
                                  QStringLiteral("c.txt")}));
}
