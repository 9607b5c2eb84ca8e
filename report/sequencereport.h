#pragma once

#include "hostlink.h"
#include "runstamp.h"
#include "stepoutput.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class QPrinter;
class ReportPaths;

// What a report row needs to know of a step: the texts of its list columns
// as the runner shows them, and the loop it ran in.
struct ReportStep
{
    int loop = 1;
    QString number;             // "Nr."
    QString type;               // "Type"
    QString operation;          // "Operation"
    QString item;               // "Item"; also prefixes the step's output files
    QString show;               // "Show"
    QString status;             // "Status"
    bool addToReport = false;   // the console output goes into the report as well
};

// Where the files of the current unit go and what its report is called.
struct UnitSettings
{
    bool unitIdentification = false;
    QString unitFolder;          // the unit's folder name, empty when none
    QString serialNumber;        // the unit now under test
    QString firstSerialNumber;   // the first unit of the run
    bool defaultUnitReportsPath = true;
    QString unitReportsPath;     // used when the default path is switched off
};

// The HTML report of one run of a sequence: the text that grows row by row
// while the run goes on, and the files made from it. The runner feeds it
// through the write operations; nothing else writes report text. Without an
// open project (no host database) no header, file or copy is made.
//
// The report file is written as the run goes: from the header on, every row
// is appended to it and flushed, so that whatever happens to the host, the
// report so far is on disk. A step's console output goes to its own file as
// it comes; the report keeps a bounded head and tail of it.
class SequenceReport : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit SequenceReport(const HostLink &link, QObject *parent = nullptr);
    ~SequenceReport() override;

    void setSequence(const QString &name, const QString &description);
    QString sequenceName() const { return sequenceNameText; }
    void setClock(Clock clock);
    // the window that owns the run, as parent of the warnings and the print set-up
    void setDialogParent(QWidget *parent) { dialogParent = parent; }

    // Taken by the runner at Start, Continue and Cancel; names the report file.
    void setStartStamp(const RunStamp &stamp);
    RunStamp startStamp() const { return startStampValue; }

    QString reportText() const { return reportHtml; }
    QString unitHeaderText() const { return unitHeaderHtml; }
    QString unitReportText() const { return unitReportHtml; }
    QString unitTrailerText() const { return unitTrailerHtml; }
    // whether the running step has printed anything
    bool hasOutput() const { return !output.isEmpty(); }
    // the running step's console output as report HTML, bounded to its head and tail
    QString outputExcerpt() const { return output.excerpt(tr("the step's output file")); }
    // "SequenceReport-<start stamp>", fixed when the header is written; also
    // the name of the run folder
    QString reportName() const { return reportNameText; }

    // Whether the report file is written as the run goes (the plug-in's
    // "save reports" setting); on by default.
    void setWritesReportFile(bool on) { writesReportFile = on; }

    // the report as the live view shows it: an open table is closed
    QString liveReportText() const;
    // Hands the whole report to the live view, unless the view listens for
    // appended text and has it all already.
    void refreshLiveReport();

    // the header, starting a new report text
    void writeReportHeader();
    // a further table after a pause, so that the rows of a continued or
    // cancelled run stand in a table
    void appendTableHeader();
    void writeReportTrailer(bool stopped);

    void writeStepRow(const ReportStep &step, const QString &colour);
    // `loop` below 1 stands for `currentLoop`
    void writeCycleRow(const QString &verdictText, const QString &verdictColour, int loop,
                       int currentLoop = 1);
    void writeUserRequestRow(const QString &label, const QString &colour);
    void writeCancelRow(const QString &reason);
    void writeAnswerRow(const QString &message, const QString &answerHtml);
    // serial row only with a serial number, TAP row only with a TAP list
    void writeUnitRows(const QString &serialNumber, const QString &resultPath,
                       const QString &tapList = QString());
    // a row of the instrument steps: "*" with an operation title, "!" with a
    // TAP's values
    void writeInstrumentRow(const QString &marker, const QString &text);

    // console output of the running step
    void clearOutput() { output.clear(); }
    void appendStdout(const QString &text);
    void appendStderr(const QString &text);
    // "&", "<", ">" and blanks made safe for the report's HTML
    static QString escapeOutput(const QString &text);

    // the rows of the unit now under test start again
    void clearUnitReport() { unitReportHtml.clear(); }

    // Files the step's console output and moves the report files of an
    // application into the run folder, with a link row for each.
    void writeOutputReport(const ReportStep &step, const QString &truthTableFile,
                           const QString &diagnosticsFile, const QString &reportFile);

    // Writes the report file into the sequence folder; returns its path, empty
    // when nothing was written. The caller registers it in the history.
    QString writeReportFile(const QString &sequenceName);

    // Copies the run's files and writes the unit report into the unit's folder:
    // after each unit only that unit's rows, at the end the whole report.
    void copyUnitReports(bool afterEachUnit, const UnitSettings &unit);

    // The folder applications copy their results to; empty without a project.
    QString resultsFolder(const UnitSettings &unit) const;
    // With `perOutcome` the existing `resultFiles` are copied into the results
    // folder; otherwise an empty unit results folder is removed.
    void copyResults(bool perOutcome, const QStringList &resultFiles, const UnitSettings &unit);

    // Copies the run's files and the report into the export folder; returns
    // the exported report's path, empty when nothing was written.
    QString exportReport();

    // Prints the report with 2 cm margins and page numbers at the bottom
    // right; returns the number of pages printed.
    int printReport(QPrinter *printer) const;
    // Asks for a printer first; false when the person cancelled.
    bool printReportWithSetup();

Q_SIGNALS:
    // the whole report, when it starts anew or nobody follows the appends
    void liveReportChanged(const QString &html);
    // what was appended to the report; a view that follows these never needs
    // the whole text again, so a row costs it the same however long the run
    void liveReportAppended(const QString &html);

private:
    struct Project
    {
        QString directory;
        QString name;
    };
    // the open project, or nothing when the host has no database
    std::optional<Project> project() const;
    ReportPaths paths(const QString &projectDirectory) const;

    void appendRow(const QString &row, bool withSeparator);
    // every text of the report after its header goes through here
    void appendReport(const QString &html);
    void appendOutput(const QString &html);
    bool followsAppends() const;
    QString reportFilePath(const QString &projectDirectory, const QString &sequenceName) const;
    void openReportFile(const QString &path);
    void appendToReportFile(const QString &html);
    QString timeText() const;
    QString dateTimeText() const;
    QString linkTo(const QString &fileName) const;

    // copies a whole file, warning about the end that cannot be opened
    bool copyFile(const QString &source, const QString &target) const;
    bool copyFolderFiles(const QString &sourceFolder, const QString &targetFolder) const;
    void copyRunFolder(const ReportPaths &where, const QString &targetFolder) const;
    void appendFileLines(const QString &path, bool escape);
    void warn(const QString &text) const;

    // the date and time of day for rows and file names
    QDateTime now() const;

    HostLink hostLink;
    Clock clock;   // none: the station's clock
    QPointer<QWidget> dialogParent;
    QString sequenceNameText;
    QString sequenceDescription;
    RunStamp startStampValue;
    bool tableOpen = false;

    QString reportHtml;
    QString unitHeaderHtml;
    QString unitReportHtml;
    QString unitTrailerHtml;
    StepOutput output;
    QString reportNameText;

    bool writesReportFile = true;
    std::unique_ptr<QFile> reportFile;   // the report file while the run writes it
    bool reportFileEnded = false;        // the file tail is written (run stopped or over)
    bool runOver = false;
};
