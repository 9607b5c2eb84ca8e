#include "qstringprinter.h"
#include "reportpaths.h"
#include "sampleprojecthost.h"
#include "sequencereport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

namespace {

const QDateTime Start(QDate(2026, 2, 3), QTime(9, 5, 7, 4));
// how the toolkit writes Start as text
const QString StartText = QStringLiteral("Tue Feb 3 09:05:07 2026");
const QString RunName = QStringLiteral("SequenceReport-02_03_2026-09h_05m_07s_04ms");

const QString FileHead = QStringLiteral(
    "<html><meta charset='utf-8'><body><font face=\"Lucida Console\" point-size=\"8\" >");
const QString FileTail = QStringLiteral("</font></body></html>");
const QString TableHeader = QStringLiteral(
    "<table border='1' cellspacing='0' cellpadding='0'><tr><td>Seq</td><td>Nr.</td><td>Type</td>"
    "<td>Operation</td><td>Item</td><td>Show</td><td>Status</td><td>Time</td></tr>\r\n");

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// A unit identified by `serial`, the run's first, in `unitFolder`.
UnitSettings unitOf(const QString &serial, const QString &unitFolder = QString())
{
    UnitSettings unit;
    unit.unitIdentification = true;
    unit.unitFolder = unitFolder;
    unit.serialNumber = unit.firstSerialNumber = serial;
    return unit;
}

ReportStep chainStep()
{
    ReportStep step;
    step.loop = 2;
    step.number = QStringLiteral("3");
    step.type = QStringLiteral("Boundary Scan");
    step.operation = QStringLiteral("Run");
    step.item = QStringLiteral("Chain");
    step.show = QStringLiteral("Status");
    step.status = QStringLiteral("Passed");
    return step;
}

class SequenceReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.setValue(QStringLiteral("UserLogin"), QStringLiteral("mia"));
        host.setValue(QStringLiteral("UserPrivilege"), QStringLiteral("Engineer"));
        report.setSequence(QStringLiteral("Board"), QStringLiteral("final test"));
        report.setClock([this] { return now; });
        report.setStartStamp(RunStamp::fromDateTime(Start));
    }

    QString sequenceFolder() const
    {
        return ReportPaths(project.directory(), QStringLiteral("Board")).sequenceFolder();
    }
    QString runFolder() const { return sequenceFolder() + QDir::separator() + RunName; }
    // what `operation` added to the report text
    QString added(const std::function<void()> &operation)
    {
        const qsizetype before = report.reportText().size();
        operation();
        return report.reportText().mid(before);
    }

    SampleProjectHost sample;
    TemporaryFolder &folder = sample.folder;
    ScriptedPrompt &prompt = sample.prompt;
    WorkbenchHost &host = sample.host;
    HostProject &project = sample.project;
    QDateTime now = Start;
    SequenceReport report{host.link()};
};

} // namespace

TEST_F(SequenceReportTest, HeaderNamesTheRunAndEscapesWhatPeopleTyped)
{
    const struct
    {
        QString description;
        QString descriptionLine;
    } cases[] = {
        {QStringLiteral("<i>final</i> & 'last'"),
         QStringLiteral("Sequence description : &lt;i&gt;final&lt;/i&gt; &amp; &#39;last&#39;<br>")},
        {QString(), QString()},
    };
    for (const auto &c : cases) {
        report.setSequence(QStringLiteral("Board"), c.description);
        report.writeReportHeader();
        const QString header = report.reportText();
        EXPECT_EQ(header.contains(QLatin1String("Sequence description")), !c.description.isEmpty());
        EXPECT_TRUE(header.contains(c.descriptionLine));
        EXPECT_TRUE(header.contains(QStringLiteral("Started at    : ") + StartText));
        EXPECT_TRUE(header.endsWith(TableHeader));
        EXPECT_EQ(report.unitHeaderText(), header);
    }
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(SequenceReportTest, RowsEscapeTextThatIsNotHtmlAndGoToTheUnitToo)
{
    report.writeReportHeader();
    const QString typed = QStringLiteral("<i>x</i> & 'q'");
    const QString escaped = QStringLiteral("&lt;i&gt;x&lt;/i&gt; &amp; &#39;q&#39;");
    ReportStep step = chainStep();
    step.item = typed;
    const struct
    {
        const char *name;
        std::function<void()> write;
        QString expected;
    } cases[] = {
        {"step", [&] { report.writeStepRow(step, QStringLiteral("#80FF80")); },
         QStringLiteral("<td><b>") + escaped + QStringLiteral("</b></td>")},
        {"user request", [&] { report.writeUserRequestRow(typed, QStringLiteral("#FF4040")); },
         QStringLiteral("<td bgcolor='#FF4040'>") + escaped + QStringLiteral("</td>")},
        {"cancel", [&] { report.writeCancelRow(typed); }, QStringLiteral("Cancel : ") + escaped},
        // the answer is HTML already, the question is not
        {"answer", [&] { report.writeAnswerRow(typed, QStringLiteral("<font color='#008000'>yes</font>")); },
         escaped + QStringLiteral(" -> <font color='#008000'>yes</font>")},
        {"unit", [&] { report.writeUnitRows(typed, QStringLiteral("Batch 1"), typed); },
         QStringLiteral("Unit Serial Number : ") + escaped},
        {"instrument", [&] { report.writeInstrumentRow(QStringLiteral("!"), typed); }, escaped},
        // a loop below 1 stands for the current one
        {"cycle", [&] { report.writeCycleRow(QStringLiteral("PASSED"), QStringLiteral("#80FF80"), 0, 3); },
         QStringLiteral("Sequence Cycle 3 </td>")},
    };
    for (const auto &c : cases) {
        report.clearUnitReport();
        const QString text = added(c.write);
        EXPECT_TRUE(text.contains(c.expected)) << c.name << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1String("<i>"))) << c.name;
        EXPECT_EQ(report.unitReportText(), text) << c.name;
    }
}

TEST_F(SequenceReportTest, TheLiveViewGetsRowsAppendedOrTheWholeReport)
{
    QSignalSpy whole(&report, &SequenceReport::liveReportChanged);
    report.writeReportHeader();
    report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
    // nobody follows the appends: every change sends the whole report,
    // with its open table closed
    ASSERT_EQ(whole.count(), 2);
    EXPECT_EQ(whole.at(1).at(0).toString(), report.reportText() + QStringLiteral("</table>"));

    QSignalSpy appended(&report, &SequenceReport::liveReportAppended);
    whole.clear();
    const QString row = added([&] { report.writeStepRow(chainStep(), QStringLiteral("#80FF80")); });
    report.refreshLiveReport();
    EXPECT_EQ(whole.count(), 0);
    ASSERT_EQ(appended.count(), 1);
    EXPECT_EQ(appended.at(0).at(0).toString(), row);
    // a new run starts the view afresh
    report.writeReportHeader();
    EXPECT_EQ(whole.count(), 1);
}

TEST_F(SequenceReportTest, TrailerClosesTheTableAndAPauseOpensANewOne)
{
    report.writeReportHeader();
    const QString stopped = added([&] { report.writeReportTrailer(true); });
    EXPECT_TRUE(stopped.startsWith(QStringLiteral("</table><br>Stopped at    : ") + StartText));
    // a closed table is not closed twice in the live view
    EXPECT_EQ(report.liveReportText(), report.reportText());

    // Continue: a new table and its request row in the same report
    const QString continued = added([&] {
        report.appendTableHeader();
        report.writeUserRequestRow(QStringLiteral("Continue"), QStringLiteral("#99CCFF"));
    });
    EXPECT_TRUE(continued.startsWith(TableHeader));
    EXPECT_EQ(report.liveReportText(), report.reportText() + QStringLiteral("</table>"));

    EXPECT_TRUE(added([&] { report.writeReportTrailer(false); })
                    .startsWith(QStringLiteral("</table><br>Completed at  : ")));
    // the trailer is the report's, not a row of the unit
    EXPECT_FALSE(report.unitReportText().contains(QLatin1String("END OF REPORT")));
}

TEST_F(SequenceReportTest, TheReportFileIsWrittenAsTheRunGoes)
{
    const QString path = sequenceFolder() + QDir::separator() + RunName + QStringLiteral(".html");
    report.writeReportHeader();
    report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
    // on disk before the run ends, as a crash would leave it
    EXPECT_EQ(readText(path), FileHead + report.reportText());

    // stopped, written, continued and ended: one file, whole each time
    report.writeReportTrailer(true);
    EXPECT_EQ(report.writeReportFile(QStringLiteral("Board")), path);
    EXPECT_EQ(readText(path), FileHead + report.reportText() + FileTail);
    report.appendTableHeader();
    report.writeStepRow(chainStep(), QStringLiteral("#FF4040"));
    EXPECT_EQ(readText(path), FileHead + report.reportText());
    report.writeReportTrailer(false);
    // the file keeps the start even when written later
    now = now.addSecs(3600);
    EXPECT_EQ(report.writeReportFile(QStringLiteral("Board")), path);
    EXPECT_EQ(readText(path), FileHead + report.reportText() + FileTail);
    EXPECT_EQ(report.startStamp().historyTitle(), QStringLiteral("2026-02-03 / 09:05:07:04"));

    // a run that goes on under a new stamp goes on in a new file; the
    // stopped one stays as it was
    report.writeReportHeader();
    report.writeReportTrailer(true);
    ASSERT_EQ(report.writeReportFile(QStringLiteral("Board")), path);
    const QString atStop = readText(path);
    report.setStartStamp(RunStamp::fromDateTime(Start.addSecs(60)));
    report.appendTableHeader();
    report.writeReportTrailer(false);
    const QString later = report.writeReportFile(QStringLiteral("Board"));
    EXPECT_NE(later, path);
    EXPECT_EQ(readText(later), FileHead + report.reportText() + FileTail);
    EXPECT_EQ(readText(path), atStop);

    // a stamp taken while the run writes moves the file
    report.writeReportHeader();
    report.setStartStamp(RunStamp::fromDateTime(Start.addSecs(120)));
    report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
    report.writeReportTrailer(false);
    const QString moved = report.writeReportFile(QStringLiteral("Board"));
    EXPECT_EQ(readText(moved), FileHead + report.reportText() + FileTail);
    EXPECT_FALSE(QFileInfo::exists(later));

    // with the setting off nothing is written until the run asks for it
    report.setWritesReportFile(false);
    report.writeReportHeader();
    report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
    EXPECT_NE(readText(moved), FileHead + report.reportText());
    EXPECT_EQ(report.writeReportFile(QStringLiteral("Board")), moved);
    EXPECT_EQ(readText(moved), FileHead + report.reportText() + FileTail);
}

TEST_F(SequenceReportTest, ConsoleOutputGoesWholeToItsFileAndBoundedIntoTheReport)
{
    report.writeReportHeader();
    ReportStep step = chainStep();
    step.addToReport = true;
    const struct
    {
        int lines;
        bool cut;
    } cases[] = {{3, false}, {5000, true}};
    for (const auto &c : cases) {
        report.clearOutput();
        QString whole;
        for (int line = 1; line <= c.lines; ++line) {
            const QString text = QStringLiteral("line %1 <%2> & more").arg(line).arg(line % 2 ? "out" : "err");
            line % 2 ? report.appendStdout(text) : report.appendStderr(text);
            const QString html = SequenceReport::escapeOutput(text) + QStringLiteral("<br>\r\n");
            whole += line % 2 ? html : QStringLiteral("<font color='red'>%1</font>").arg(html.chopped(6)) + QStringLiteral("<br>\r\n");
        }
        now = now.addSecs(1);
        const QString inline_ = added([&] { report.writeOutputReport(step, QString(), QString(), QString()); });
        const QString outputName = QStringLiteral("Chain-Output-%1.html").arg(RunStamp::fromDateTime(now).fileStamp());
        EXPECT_EQ(readText(runFolder() + QDir::separator() + outputName), FileHead + whole + FileTail);
        EXPECT_TRUE(inline_.contains(QLatin1String("line&nbsp;1&nbsp;&lt;out&gt;")));
        EXPECT_TRUE(inline_.contains(QStringLiteral("line&nbsp;%1&nbsp;").arg(c.lines)));
        EXPECT_EQ(inline_.contains(QStringLiteral("line&nbsp;%1&nbsp;").arg(c.lines / 2 + 1)), !c.cut);
        EXPECT_EQ(inline_.contains(QStringLiteral("%1 of %2 lines left out").arg(c.lines - 200).arg(c.lines)), c.cut);
        EXPECT_LT(inline_.size(), 64 * 1024);
    }
    // the partial file of a step is gone once the output is filed or dropped
    report.appendStdout(QStringLiteral("never filed"));
    report.clearOutput();
    EXPECT_FALSE(fileNames(runFolder()).join(u' ').contains(QLatin1String("in-progress")));
}

TEST_F(SequenceReportTest, OutputReportMovesTheApplicationsFilesIntoTheRunFolder)
{
    report.writeReportHeader();
    now = QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7, 104));
    const QString stamp = QStringLiteral("02_03_2026-09h_05m_07s_104ms");
    const QString truthTable = folder.write(QStringLiteral("app/chain_ttr.html"), "<p>ttr</p>");
    const QString diagnostics = folder.write(QStringLiteral("app/chain_dia.html"), "<p>dia</p>");
    const QString errors = folder.write(QStringLiteral("app/error.html"), "<p>error</p>");

    ReportStep step = chainStep();
    step.addToReport = true;
    report.appendStdout(QStringLiteral("scan ok"));
    report.clearUnitReport();
    const QString rows
        = added([&] { report.writeOutputReport(step, truthTable, diagnostics, errors); });

    const QString output = QStringLiteral("Chain-Output-") + stamp + QStringLiteral(".html");
    const QString ttr = QStringLiteral("Chain-Ttr-") + stamp + QStringLiteral(".html");
    const QString dia = QStringLiteral("Chain-Dia-") + stamp + QStringLiteral(".html");
    const QString rep = QStringLiteral("Chain-Report-") + stamp + QStringLiteral(".html");
    EXPECT_EQ(fileNames(runFolder()), QStringList({dia, output, rep, ttr}));
    EXPECT_EQ(readText(runFolder() + QDir::separator() + output),
              FileHead + QStringLiteral("scan&nbsp;ok<br>\r\n") + FileTail);
    EXPECT_EQ(readText(runFolder() + QDir::separator() + ttr), QStringLiteral("<p>ttr</p>"));
    for (const QString &source : {truthTable, diagnostics, errors})
        EXPECT_FALSE(QFileInfo::exists(source)) << source.toStdString();

    const auto linkRow = [&](const char *title, const QString &name) {
        return QStringLiteral("<tr><td>2</td><td><b>3</b></td><td colspan='6'>** %1: <a "
                              "href=\"%2/%3\">%3</a> **</td></tr>\r\n")
            .arg(QLatin1String(title), RunName, name);
    };
    const QString expected
        = linkRow("Command Output Report", output) + linkRow("Truth Table Report", ttr)
          + linkRow("Diagnostics Report", dia) + linkRow("Report", rep)
          + QStringLiteral("<tr><td colspan='8'>scan&nbsp;ok<br>\r\n</td></tr>\r\n");
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(report.unitReportText(), expected);
}

TEST_F(SequenceReportTest, OutputReportNeedsConsoleOutputAndAnItemForItsPrefix)
{
    report.writeReportHeader();
    const QString truthTable = folder.write(QStringLiteral("app/chain_ttr.html"), "<p>ttr</p>");

    // no console output: no files and no rows, the truth table stays where it is
    EXPECT_EQ(
        added([&] { report.writeOutputReport(chainStep(), truthTable, QString(), QString()); }),
        QString());
    EXPECT_FALSE(QFileInfo::exists(runFolder()));
    EXPECT_TRUE(QFileInfo::exists(truthTable));

    now = QDateTime(QDate(2026, 2, 3), QTime(9, 5, 7, 104));
    ReportStep unnamed = chainStep();
    unnamed.item.clear();
    report.appendStderr(QStringLiteral("warning"));
    report.writeOutputReport(unnamed, QString(), QString(), QString());
    EXPECT_EQ(fileNames(runFolder()),
              QStringList({QStringLiteral("Output-02_03_2026-09h_05m_07s_104ms.html")}));
    // addToReport is off: no inline copy of the output
    EXPECT_FALSE(report.reportText().contains(QLatin1String("<td colspan='8'><font")));
}

TEST_F(SequenceReportTest, CustomTruthTableTextGoesInlineForInfrastructureTests)
{
    report.writeReportHeader();
    const struct
    {
        const char *operation;
        const char *type;
        bool inline_;
    } cases[] = {
        {"Test Infrastructure", "Boundary Scan", true},
        {"Run", "Flash Connection Test", true},
        {"Run", "Boundary Scan", false},
    };
    for (const auto &c : cases) {
        const QString truthTable = folder.filePath(QStringLiteral("app/infra_ttr.html"));
        const QString custom
            = folder.write(QStringLiteral("app/infra_ttr.html.custom"), "TDI ok\r\nTDO <open>\n");
        ReportStep step = chainStep();
        step.operation = QLatin1String(c.operation);
        step.type = QLatin1String(c.type);
        report.clearOutput();
        report.appendStdout(QStringLiteral("done"));

        const QString text
            = added([&] { report.writeOutputReport(step, truthTable, QString(), QString()); });
        // the lines are the application's own HTML and are not escaped
        const QString lines = QStringLiteral("<br><br>TDI ok<br>\r\nTDO <open><br>\r\n<br>");
        EXPECT_EQ(text.contains(lines), c.inline_) << c.operation << c.type;
        EXPECT_FALSE(QFileInfo::exists(custom));
        for (const QString &name : fileNames(runFolder()))
            EXPECT_FALSE(name.endsWith(QLatin1String(".custom"))) << name.toStdString();
        now = now.addMSecs(1);
    }
}

TEST_F(SequenceReportTest, DiagnosticsTextVariantIsEscapedIntoTheReport)
{
    report.writeReportHeader();
    const QString diagnostics = folder.write(QStringLiteral("app/board.dia"), "binary");
    const QString variant = folder.write(QStringLiteral("app/board_dia.html"), "net A<B open\nok");
    report.appendStdout(QStringLiteral("done"));

    const QString text
        = added([&] { report.writeOutputReport(chainStep(), QString(), diagnostics, QString()); });
    EXPECT_TRUE(
        text.endsWith(QStringLiteral("<br><br>net&nbsp;A&lt;B&nbsp;open<br>\r\nok<br>\r\n<br>")));
    EXPECT_FALSE(QFileInfo::exists(diagnostics));
    EXPECT_TRUE(QFileInfo::exists(variant));
    // only the linked diagnostics stay in the run folder, not the text copy
    const QStringList files = fileNames(runFolder());
    EXPECT_EQ(files.size(), 2);
    for (const QString &name : files)
        EXPECT_FALSE(name.endsWith(QLatin1String(".txt"))) << name.toStdString();
}

TEST_F(SequenceReportTest, UnitReportsAreNamedAfterTheUnitsOfTheRun)
{
    report.writeReportHeader();
    report.appendStdout(QStringLiteral("done"));
    report.writeOutputReport(chainStep(), QString(), QString(), QString());
    const QString outputName = fileNames(runFolder()).value(0);

    const struct
    {
        bool afterEachUnit;
        const char *serial;
        const char *fileName;
    } cases[] = {
        {true, "SN-1", "SN-1.html"},
        {true, "SN-3", "SN-1 - SN-3.html"},
        {false, "SN-3", "SN-1 - SN-3.html"},
        // a serial number never leaves the unit folder
        {false, "../SN 5", "SN-1 - .._SN 5.html"},
    };
    for (const auto &c : cases) {
        report.clearUnitReport();
        report.writeUnitRows(QLatin1String(c.serial), QStringLiteral("Batch 1"));
        report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
        const QString unitRows = report.unitReportText();
        const QString whole = report.reportText();

        UnitSettings unit = unitOf(QStringLiteral("SN-1"), QStringLiteral("Batch 1"));
        unit.serialNumber = QLatin1String(c.serial);
        prompt.answers = {0};
        report.copyUnitReports(c.afterEachUnit, unit);

        const QString unitFolder = sequenceFolder() + QStringLiteral("/UnitReports/Batch 1");
        const QString expected = c.afterEachUnit ? FileHead + report.unitHeaderText() + unitRows
                                                       + report.unitTrailerText() + FileTail
                                                 : FileHead + whole + FileTail;
        EXPECT_EQ(readText(unitFolder + QLatin1Char('/') + QLatin1String(c.fileName)), expected)
            << c.fileName;
        EXPECT_TRUE(QFileInfo::exists(unitFolder + QLatin1Char('/') + RunName + QLatin1Char('/') + outputName));
        EXPECT_EQ(report.unitReportText().isEmpty(), c.afterEachUnit) << c.fileName;
    }

    // a configured folder replaces the default one
    UnitSettings elsewhere = unitOf(QStringLiteral("SN-9"));
    elsewhere.defaultUnitReportsPath = false;
    elsewhere.unitReportsPath = folder.filePath(QStringLiteral("station/units"));
    report.copyUnitReports(false, elsewhere);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("station/units/SN-9.html"))));
}

TEST_F(SequenceReportTest, AnExistingUnitReportIsOverwrittenOnlyOnYes)
{
    report.writeReportHeader();
    const UnitSettings unit = unitOf(QStringLiteral("SN-1"));
    const QString path = sequenceFolder() + QStringLiteral("/UnitReports/SN-1.html");
    ASSERT_TRUE(ReportPaths::makePath(QFileInfo(path).path()));

    const struct
    {
        int answer;   // 0 Yes, 1 No
        bool replaced;
    } cases[] = {{1, false}, {0, true}};
    for (const auto &c : cases) {
        writeFile(path, "earlier unit");
        prompt.asked.clear();
        prompt.answers = {c.answer};
        report.writeUnitRows(QStringLiteral("SN-1"), QStringLiteral("Batch 1"));
        report.copyUnitReports(true, unit);

        ASSERT_EQ(prompt.asked.size(), 1);
        EXPECT_EQ(
            prompt.asked.at(0).text,
            QStringLiteral("Do you want to overwrite: %1?").arg(QDir::toNativeSeparators(path)));
        EXPECT_EQ(readText(path) != QStringLiteral("earlier unit"), c.replaced);
        // the next unit starts afresh either way
        EXPECT_TRUE(report.unitReportText().isEmpty());
    }

    // nobody answers: the earlier report stays
    prompt.answers.clear();
    writeFile(path, "earlier unit");
    report.copyUnitReports(false, unit);
    EXPECT_EQ(readText(path), QStringLiteral("earlier unit"));
}

TEST_F(SequenceReportTest, FailedWritesAndCopiesAreReportedWithTheFile)
{
    report.writeReportHeader();
    // files where the unit's folders should be
    writeFile(sequenceFolder() + QStringLiteral("/UnitReports/Batch 1"), "in the way");
    writeFile(sequenceFolder() + QStringLiteral("/Results/Batch 1"), "in the way");
    const UnitSettings unit = unitOf(QStringLiteral("SN-1"), QStringLiteral("Batch 1"));
    report.copyUnitReports(false, unit);
    const QString unitReport = QDir::toNativeSeparators(
        sequenceFolder() + QStringLiteral("/UnitReports/Batch 1/SN-1.html"));
    EXPECT_EQ(prompt.texts(), QStringList({QStringLiteral("Can't write to: %1").arg(unitReport)}));

    // results that cannot be copied name the target
    prompt.asked.clear();
    const QString result = folder.write(QStringLiteral("app/result.log"), "log");
    report.copyResults(true, {result}, unit);
    EXPECT_EQ(
        prompt.texts(),
        QStringList({QStringLiteral("Can't open '%1'")
                         .arg(QDir::toNativeSeparators(
                             sequenceFolder() + QStringLiteral("/Results/Batch 1/result.log")))}));
    EXPECT_TRUE(QFileInfo::exists(result));
}

TEST_F(SequenceReportTest, ResultsAreKeptPerOutcomeAndEmptyUnitFoldersRemoved)
{
    const QString log = folder.write(QStringLiteral("app/chain.log"), "log");
    const QString missing = folder.filePath(QStringLiteral("app/never.txt"));
    const QString results = sequenceFolder() + QStringLiteral("/Results");

    UnitSettings unit = unitOf(QString(), QStringLiteral("Batch 1"));
    EXPECT_EQ(report.resultsFolder(unit),
              QDir::toNativeSeparators(results + QStringLiteral("/Batch 1")));
    report.copyResults(true, {log, missing}, unit);
    EXPECT_EQ(fileNames(results + QStringLiteral("/Batch 1")),
              QStringList({QStringLiteral("chain.log")}));
    EXPECT_TRUE(QFileInfo::exists(log));
    EXPECT_TRUE(prompt.asked.isEmpty());

    // the plain variant keeps a unit folder that holds results ...
    report.copyResults(false, {log}, unit);
    EXPECT_TRUE(QFileInfo(results + QStringLiteral("/Batch 1")).isDir());
    // ... removes an empty one ...
    unit.unitFolder = QStringLiteral("Batch 2");
    ASSERT_TRUE(ReportPaths::makePath(results + QStringLiteral("/Batch 2")));
    report.copyResults(false, {log}, unit);
    EXPECT_FALSE(QFileInfo::exists(results + QStringLiteral("/Batch 2")));
    // ... and without unit identification leaves the results folder alone
    ASSERT_TRUE(ReportPaths::makePath(results + QStringLiteral("/Empty")));
    unit.unitIdentification = false;
    unit.unitFolder = QStringLiteral("Empty");
    EXPECT_EQ(report.resultsFolder(unit), QDir::toNativeSeparators(results));
    report.copyResults(false, {}, unit);
    EXPECT_TRUE(QFileInfo(results + QStringLiteral("/Empty")).isDir());
}

TEST_F(SequenceReportTest, ExportCopiesTheRunAndClosesTheTable)
{
    report.writeReportHeader();
    report.appendStdout(QStringLiteral("done"));
    report.writeOutputReport(chainStep(), QString(), QString(), QString());
    report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
    now = QDateTime(QDate(2026, 2, 4), QTime(12, 0, 1, 7));

    const QString path = report.exportReport();
    const QString exportFolder = sequenceFolder() + QStringLiteral("/Export");
    EXPECT_EQ(path,
              QDir::toNativeSeparators(
                  exportFolder
                  + QStringLiteral("/ExportedSequenceReport-02_04_2026-12h_00m_01s_07ms.html")));
    EXPECT_EQ(readText(path),
              FileHead + report.reportText() + QStringLiteral("</table>") + FileTail);
    EXPECT_EQ(fileNames(exportFolder), QStringList{QFileInfo(path).fileName()});
    EXPECT_EQ(fileNames(exportFolder + QLatin1Char('/') + RunName), fileNames(runFolder()));
}

TEST_F(SequenceReportTest, PrintsPageByPageToPdf)
{
    report.writeReportHeader();
    const struct
    {
        int rows;
        bool severalPages;
    } cases[] = {{1, false}, {150, true}};
    for (const auto &c : cases) {
        for (int row = 0; row < c.rows; ++row)
            report.writeStepRow(chainStep(), QStringLiteral("#80FF80"));
        const QString pdf = folder.filePath(QStringLiteral("report-%1.pdf").arg(c.rows));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);

        const int pages = report.printReport(&printer);
        EXPECT_EQ(pages > 1, c.severalPages) << pages;
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        EXPECT_EQ(content.count("/Type /Page\n") + content.count("/Type /Page\r\n")
                      + content.count("/Type /Page "),
                  pages);
    }
}

TEST_F(SequenceReportTest, NothingIsWrittenWithoutAProject)
{
    host.setProject(nullptr);
    report.writeReportHeader();
    EXPECT_TRUE(report.reportText().isEmpty());
    EXPECT_TRUE(report.reportName().isEmpty());

    report.appendStdout(QStringLiteral("done"));
    const QString truthTable = folder.write(QStringLiteral("app/chain_ttr.html"), "ttr");
    report.writeOutputReport(chainStep(), truthTable, QString(), QString());
    EXPECT_TRUE(QFileInfo::exists(truthTable));
    EXPECT_TRUE(report.writeReportFile(QStringLiteral("Board")).isEmpty());
    EXPECT_TRUE(report.exportReport().isEmpty());
    const UnitSettings unit = unitOf(QStringLiteral("SN-1"));
    report.copyUnitReports(false, unit);
    report.copyResults(true, {truthTable}, unit);
    EXPECT_TRUE(report.resultsFolder(unit).isEmpty());

    EXPECT_FALSE(QFileInfo::exists(project.directory() + QStringLiteral("/Sequences")));
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_EQ(host.outstandingReferences(), 0);
}
