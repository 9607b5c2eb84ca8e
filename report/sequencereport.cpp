#include "sequencereport.h"

#include "hostservice.h"
#include "hxidatabase.h"
#include "localclock.h"
#include "reportpaths.h"
#include "textboundary.h"
#include "userprompt.h"

#include <QAbstractTextDocumentLayout>
#include <QMetaMethod>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

namespace {

const QString FileHead = QStringLiteral(
    "<html><meta charset='utf-8'><body><font face=\"Lucida Console\" point-size=\"8\" >");
const QString FileTail = QStringLiteral("</font></body></html>");

const QString TableHeader = QStringLiteral(
    "<table border='1' cellspacing='0' cellpadding='0'><tr><td>Seq</td><td>Nr.</td>"
    "<td>Type</td><td>Operation</td><td>Item</td><td>Show</td><td>Status</td>"
    "<td>Time</td></tr>\r\n");
// The missing blank before "colspan" is how every report has always had it;
// browsers read it either way.
const QString SeparatorRow = QStringLiteral("<tr><td bgcolor='%1'colspan='8'></td></tr>\r\n")
                                 .arg(QStringLiteral("#DCDCDC"));
const QString LineBreak = QStringLiteral("<br>\r\n");
const QString Marker = QStringLiteral("!");

QString wrapped(const QString &html)
{
    return FileHead + html + FileTail;
}

bool writeWholeFile(const QString &path, const QString &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content.toUtf8());
    return file.commit();
}

// The diagnostics of some applications come as "<name>.dia" with a readable
// "<name>_dia.html" beside it.
QString diagnosticsTextVariant(const QString &diagnosticsFile)
{
    const qsizetype at = diagnosticsFile.lastIndexOf(QLatin1String(".dia"));
    if (at < 0)
        return QString();
    QString variant = diagnosticsFile;
    return variant.replace(at, 4, QStringLiteral("_dia.html"));
}

} // namespace

SequenceReport::SequenceReport(const HostLink &link, QObject *parent)
    : QObject(parent),
      hostLink(link),
      unitTrailerHtml(QStringLiteral("</table><br>") + QStringLiteral("<hr color='blue'>")
                      + QStringLiteral("<b>END OF REPORT</b><br>")
                      + QStringLiteral("<hr color='blue'>"))
{
}

SequenceReport::~SequenceReport() = default;

void SequenceReport::setSequence(const QString &name, const QString &description)
{
    sequenceNameText = name;
    sequenceDescription = description;
}

void SequenceReport::setStartStamp(const RunStamp &stamp)
{
    startStampValue = stamp;
    // A stamp taken while the file is written renames it. A run that went
    // on after a stop goes on in a new file: the file written at the stop
    // stays as it was, as its history entry knows it.
    if (!reportFile)
        return;
    const std::optional<Project> open = project();
    if (!open)
        return;
    const QString path = reportFilePath(open->directory, sequenceNameText);
    if (path == reportFile->fileName())
        return;
    if (reportFileEnded) {
        openReportFile(path);
    } else {
        // rename closes the file; it goes on where it ended
        QFile::remove(path);
        if (reportFile->rename(path) && reportFile->open(QIODevice::ReadWrite))
            reportFile->seek(reportFile->size());
        else
            openReportFile(path);
    }
}

QString SequenceReport::reportFilePath(const QString &projectDirectory,
                                       const QString &sequenceName) const
{
    return ReportPaths::join({ReportPaths(projectDirectory, sequenceName).sequenceFolder(),
                              QStringLiteral("SequenceReport-%1.html").arg(startStampValue.fileStamp())});
}

void SequenceReport::openReportFile(const QString &path)
{
    reportFile.reset();
    reportFileEnded = false;
    if (!ReportPaths::makePath(QFileInfo(path).path()))
        return;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
        return;   // the run goes on; the report stays in memory and in the live view
    file->write((FileHead + reportHtml).toUtf8());
    file->flush();
    reportFile = std::move(file);
}

void SequenceReport::appendToReportFile(const QString &html)
{
    if (!reportFile)
        return;
    // A stopped run that continues: its rows go in front of the file tail
    // written at the stop, which moves to the end again later.
    if (reportFileEnded) {
        reportFile->resize(reportFile->size() - FileTail.toUtf8().size());
        reportFile->seek(reportFile->size());
        reportFileEnded = false;
    }
    reportFile->write(html.toUtf8());
    reportFile->flush();
}

void SequenceReport::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

std::optional<SequenceReport::Project> SequenceReport::project() const
{
    HostService<VemoInterface::HxiDatabase> database(hostLink, QStringLiteral("HxiDatabase"));
    if (!database)
        return std::nullopt;
    return Project{database->projectDirectory(), database->projectName()};
}

ReportPaths SequenceReport::paths(const QString &projectDirectory) const
{
    return ReportPaths(projectDirectory, sequenceNameText);
}

// Rows and file names need the date and the time of day only: the station's
// clock gives them without a look at the zone file for every row.
QDateTime SequenceReport::now() const
{
    return clock ? clock() : LocalClock::now();
}

// "09:05:07", printed from its fields: every report row carries one.
QString SequenceReport::timeText() const
{
    const QTime time = now().time();
    if (!time.isValid())
        return QString();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour(), time.minute(), time.second());
    return QString::fromLatin1(text);
}

// A text with the date names no zone only when it comes from a local time.
QString SequenceReport::dateTimeText() const
{
    return (clock ? clock() : QDateTime::currentDateTime()).toString(Qt::TextDate);
}

// Links are relative to the folder the report file lies in; the run folder
// goes with every copy of the report, so the same link holds in all of them.
QString SequenceReport::linkTo(const QString &fileName) const
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(TextBoundary::toLink(reportNameText + QLatin1Char('/') + fileName),
             TextBoundary::toHtml(fileName));
}

void SequenceReport::warn(const QString &text) const
{
    UserPrompt(hostLink, dialogParent).warning(tr("Warning"), text);
}

QString SequenceReport::liveReportText() const
{
    return tableOpen ? reportHtml + QStringLiteral("</table>") : reportHtml;
}

bool SequenceReport::followsAppends() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&SequenceReport::liveReportAppended));
}

void SequenceReport::refreshLiveReport()
{
    if (!followsAppends())
        Q_EMIT liveReportChanged(liveReportText());
}

void SequenceReport::appendReport(const QString &html)
{
    reportHtml += html;
    appendToReportFile(html);
    if (followsAppends())
        Q_EMIT liveReportAppended(html);
    else
        Q_EMIT liveReportChanged(liveReportText());
}

void SequenceReport::writeReportHeader()
{
    const std::optional<Project> open = project();
    if (!open)
        return;

    reportNameText = QStringLiteral("SequenceReport-") + startStampValue.fileStamp();

    QString header = QStringLiteral("<hr color='blue'>")
                     + QStringLiteral("<b>SEQUENCE REPORT</b><br>")
                     + QStringLiteral("<hr color='blue'>") + QStringLiteral("<br>")
                     + QStringLiteral("Sequence name : %1<br>").arg(TextBoundary::toHtml(sequenceNameText));
    if (!sequenceDescription.isEmpty())
        header += QStringLiteral("Sequence description : %1<br>")
                      .arg(TextBoundary::toHtml(sequenceDescription));
    header += QStringLiteral("Project Name : %1<br>").arg(TextBoundary::toHtml(open->name))
              + QStringLiteral("Project Directory : %1<br>").arg(TextBoundary::toHtml(open->directory))
              + QStringLiteral("User : %1<br>")
                    .arg(TextBoundary::toHtml(hostLink.mainValue(QStringLiteral("UserLogin"))))
              + QStringLiteral("Privilege : %1<br>")
                    .arg(TextBoundary::toHtml(hostLink.mainValue(QStringLiteral("UserPrivilege"))))
              + QStringLiteral("Started at    : %1<br>").arg(dateTimeText()) + TableHeader;

    reportHtml = header;
    unitHeaderHtml = header;
    tableOpen = true;
    runOver = false;
    reportFile.reset();
    if (writesReportFile)
        openReportFile(reportFilePath(open->directory, sequenceNameText));
    Q_EMIT liveReportChanged(liveReportText());
}

void SequenceReport::appendTableHeader()
{
    tableOpen = true;
    appendReport(TableHeader);
}

void SequenceReport::writeReportTrailer(bool stopped)
{
    const QString end = stopped ? QStringLiteral("Stopped at  ") : QStringLiteral("Completed at");
    tableOpen = false;
    runOver = !stopped;
    appendReport(QStringLiteral("</table><br>") + QStringLiteral("%1  : %2<br>").arg(end, dateTimeText())
                 + QStringLiteral("<hr color='blue'>") + QStringLiteral("<b>END OF REPORT</b><br>")
                 + QStringLiteral("<hr color='blue'>") + QStringLiteral("<br><br>"));
}

void SequenceReport::appendRow(const QString &row, bool withSeparator)
{
    const QString text = withSeparator ? row + SeparatorRow : row;
    unitReportHtml += text;
    appendReport(text);
}

void SequenceReport::writeStepRow(const ReportStep &step, const QString &colour)
{
    appendRow(
        QStringLiteral("<tr><td>%1</td><td><b>%2</b></td><td>%3</td><td>%4</td>"
                       "<td><b>%5</b></td><td>%6</td><td bgcolor='%7'>%8</td><td>%9</td></tr>\r\n")
            .arg(QString::number(step.loop), TextBoundary::toHtml(step.number),
                 TextBoundary::toHtml(step.type), TextBoundary::toHtml(step.operation),
                 TextBoundary::toHtml(step.item), TextBoundary::toHtml(step.show), colour,
                 TextBoundary::toHtml(step.status), timeText()),
        true);
}

void SequenceReport::writeCycleRow(const QString &verdictText, const QString &verdictColour,
                                   int loop, int currentLoop)
{
    appendRow(QStringLiteral("<tr><td>%1</td><td colspan='5'>%2 %3 %4</td>"
                             "<td bgcolor='%5'>%6</td><td>%7</td></tr>\r\n")
                  .arg(Marker, QStringLiteral("Sequence Cycle"),
                       QString::number(loop < 1 ? currentLoop : loop), QString(), verdictColour,
                       TextBoundary::toHtml(verdictText), timeText()),
              true);
}

void SequenceReport::writeUserRequestRow(const QString &label, const QString &colour)
{
    appendRow(
        QStringLiteral("<tr><td>%1</td><td colspan='5'>%2, %3</td>"
                       "<td bgcolor='%4'>%5</td><td>%6</td></tr>\r\n")
            .arg(Marker, QStringLiteral("User Request"), dateTimeText(), colour,
                 TextBoundary::toHtml(label), timeText()),
        false);
}

void SequenceReport::writeCancelRow(const QString &reason)
{
    appendRow(QStringLiteral("<tr><td>%1</td><td colspan='5'>Cancel : %2, %3</td>"
                             "<td bgcolor='%4'>Cancel</td><td>%5</td></tr>\r\n")
                  .arg(Marker, TextBoundary::toHtml(reason), dateTimeText(),
                       QStringLiteral("#FFFF00"), timeText()),
              false);
}

void SequenceReport::writeAnswerRow(const QString &message, const QString &answerHtml)
{
    appendRow(QStringLiteral("<tr><td>%1</td><td colspan='6'>%2 -> %3, %4</td><td>%5</td></tr>\r\n")
                  .arg(Marker, TextBoundary::toHtml(message), answerHtml, dateTimeText(), timeText()),
              false);
}

void SequenceReport::writeUnitRows(const QString &serialNumber, const QString &resultPath,
                                   const QString &tapList)
{
    if (!tapList.isEmpty()) {
        appendRow(QStringLiteral("<tr><td>%1</td><td colspan='6'>Unit Using TAPs : %2</td>"
                                 "<td>%3</td></tr>\r\n")
                      .arg(Marker, TextBoundary::toHtml(tapList), timeText()),
                  false);
    }
    if (!serialNumber.isEmpty()) {
        appendRow(QStringLiteral("<tr><td>%1</td><td colspan='6'>Unit Serial Number : %2</td>"
                                 "<td>%3</td></tr>\r\n")
                      .arg(Marker, TextBoundary::toHtml(serialNumber), timeText()),
                  false);
    }
    appendRow(QStringLiteral("<tr><td>%1</td><td colspan='6'>Unit Result Path : %2</td>"
                             "<td>%3</td></tr>\r\n")
                  .arg(Marker, TextBoundary::toHtml(resultPath), timeText()),
              false);
}

void SequenceReport::writeInstrumentRow(const QString &marker, const QString &text)
{
    appendRow(QStringLiteral("<tr><td>%1</td><td colspan='7'>%2</td></tr>\r\n")
                  .arg(TextBoundary::toHtml(marker), TextBoundary::toHtml(text)),
              false);
}

QString SequenceReport::escapeOutput(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    escaped.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
    return escaped;
}

void SequenceReport::appendStdout(const QString &text)
{
    if (text.isEmpty())
        return;
    appendOutput(escapeOutput(text) + LineBreak);
}

void SequenceReport::appendStderr(const QString &text)
{
    appendOutput(QStringLiteral("<font color='red'>%1</font>").arg(escapeOutput(text)) + LineBreak);
}

void SequenceReport::appendOutput(const QString &html)
{
    // The folder is looked up once per step, not once per line.
    if (output.needsFolder()) {
        if (const std::optional<Project> open = project())
            output.setFolder(paths(open->directory).runFolder(reportNameText), FileHead);
    }
    output.append(html);
}

bool SequenceReport::copyFile(const QString &source, const QString &target) const
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        warn(tr("Can't open '%1'").arg(QDir::toNativeSeparators(source)));
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        warn(tr("Can't open '%1'").arg(QDir::toNativeSeparators(target)));
        return false;
    }
    // Result files can be large; never hold more than a block of them.
    constexpr qint64 BlockSize = 64 * 1024;
    while (!in.atEnd()) {
        const QByteArray block = in.read(BlockSize);
        if (block.isEmpty() || out.write(block) != block.size()) {
            out.cancelWriting();
            break;
        }
    }
    if (!out.commit()) {
        warn(tr("Can't open '%1'").arg(QDir::toNativeSeparators(target)));
        return false;
    }
    return true;
}

bool SequenceReport::copyFolderFiles(const QString &sourceFolder, const QString &targetFolder) const
{
    bool allCopied = true;
    const QFileInfoList files = QDir(sourceFolder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        if (!copyFile(file.filePath(), ReportPaths::join({targetFolder, file.fileName()})))
            allCopied = false;
    }
    return allCopied;
}

// The run folder goes beside every copy of the report under its own name,
// so that the report's links resolve there as they do beside the original.
void SequenceReport::copyRunFolder(const ReportPaths &where, const QString &targetFolder) const
{
    if (reportNameText.isEmpty())
        return;
    const QString runFolder = where.runFolder(reportNameText);
    if (!QFileInfo(runFolder).isDir())
        return;
    const QString copy = ReportPaths::join({targetFolder, reportNameText});
    (void)ReportPaths::makePath(copy);   // a failure shows with the first file
    copyFolderFiles(runFolder, copy);
}

void SequenceReport::appendFileLines(const QString &path, bool escape)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    QString text = QStringLiteral("<br><br>");
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        text += (escape ? escapeOutput(line) : line) + LineBreak;
    }
    appendReport(text + QStringLiteral("<br>"));
}

void SequenceReport::writeOutputReport(const ReportStep &step, const QString &truthTableFile,
                                       const QString &diagnosticsFile, const QString &reportFile)
{
    // An application that printed nothing has nothing worth filing, even
    // when it left report files behind.
    if (output.isEmpty())
        return;
    const std::optional<Project> open = project();
    if (!open)
        return;

    const QString runFolder = paths(open->directory).runFolder(reportNameText);
    // a failure shows as a warning when the first file cannot be written
    (void)ReportPaths::makePath(runFolder);

    const QString prefix
        = step.item.isEmpty() ? QString() : TextBoundary::toFileName(step.item) + QLatin1Char('-');
    const QString stamp = RunStamp::fromDateTime(now()).fileStamp();
    const auto fileName = [&](const QString &kind, const QString &extension) {
        return prefix + kind + QLatin1Char('-') + stamp + extension;
    };
    const auto inRunFolder = [&](const QString &name) {
        return ReportPaths::join({runFolder, name});
    };
    const auto linkRow = [&](const QString &title, const QString &name) {
        appendRow(
            QStringLiteral("<tr><td>%1</td><td><b>%2</b></td><td colspan='6'>** %3: %4 **</td>"
                           "</tr>\r\n")
                .arg(QString::number(step.loop), TextBoundary::toHtml(step.number), title,
                     linkTo(name)),
            false);
    };
    // The application's own files are moved: once filed with this run they
    // must not turn up again with the next one.
    const auto moveIn = [&](const QString &source, const QString &name) {
        if (!copyFile(source, inRunFolder(name)))
            return false;
        QFile::remove(source);
        return true;
    };

    const QString outputName = fileName(QStringLiteral("Output"), QStringLiteral(".html"));
    // The whole output is in its file already; only when that failed is the
    // excerpt all there is to file.
    if (output.fileAs(inRunFolder(outputName), FileTail)
        || writeWholeFile(inRunFolder(outputName), wrapped(output.excerpt(QString()))))
        linkRow(QStringLiteral("Command Output Report"), outputName);
    else
        warn(tr("Can't open '%1'").arg(inRunFolder(outputName)));

    if (!truthTableFile.isEmpty()) {
        if (QFileInfo::exists(truthTableFile)) {
            const QString name = fileName(QStringLiteral("Ttr"), QStringLiteral(".html"));
            if (moveIn(truthTableFile, name))
                linkRow(QStringLiteral("Truth Table Report"), name);
        }
        // The infrastructure tests leave a plain-text summary beside the
        // truth table; it belongs in the report itself, not behind a link.
        const QString custom = truthTableFile + QStringLiteral(".custom");
        if (QFileInfo::exists(custom)) {
            const QString copy
                = inRunFolder(fileName(QStringLiteral("Ttr"), QStringLiteral(".html.custom")));
            if (copyFile(custom, copy)) {
                if (step.operation == QLatin1String("Test Infrastructure")
                    || step.type == QLatin1String("Flash Connection Test"))
                    appendFileLines(copy, false);
                QFile::remove(copy);
                QFile::remove(custom);
            }
        }
    }

    if (!diagnosticsFile.isEmpty()) {
        if (QFileInfo::exists(diagnosticsFile)) {
            const QString name = fileName(QStringLiteral("Dia"), QStringLiteral(".html"));
            if (moveIn(diagnosticsFile, name))
                linkRow(QStringLiteral("Diagnostics Report"), name);
        }
        const QString variant = diagnosticsTextVariant(diagnosticsFile);
        if (!variant.isEmpty() && QFileInfo::exists(variant)) {
            const QString copy
                = inRunFolder(fileName(QStringLiteral("Dia"), QStringLiteral(".txt")));
            if (copyFile(variant, copy)) {
                appendFileLines(copy, true);
                QFile::remove(copy);
            }
        }
    }

    if (!reportFile.isEmpty() && QFileInfo::exists(reportFile)) {
        const QString name = fileName(QStringLiteral("Report"), QStringLiteral(".html"));
        if (moveIn(reportFile, name))
            linkRow(QStringLiteral("Report"), name);
    }

    if (step.addToReport)
        appendRow(QStringLiteral("<tr><td colspan='8'>%1</td></tr>\r\n")
                      .arg(output.excerpt(linkTo(outputName))),
                  false);
}

QString SequenceReport::writeReportFile(const QString &sequenceName)
{
    const std::optional<Project> open = project();
    if (!open)
        return QString();
    const QString path = reportFilePath(open->directory, sequenceName);
    if (reportFile && reportFile->fileName() == path) {
        if (!reportFileEnded) {
            reportFile->write(FileTail.toUtf8());
            reportFileEnded = reportFile->flush();
        }
        const bool written = reportFileEnded;
        // A stopped run may go on in the same file; an ended one is done.
        if (runOver)
            reportFile.reset();
        return written ? path : QString();
    }
    // The run goes on without its file; the report stays in memory and in
    // the live view.
    if (!ReportPaths::makePath(QFileInfo(path).path()) || !writeWholeFile(path, wrapped(reportHtml)))
        return QString();
    return path;
}

void SequenceReport::copyUnitReports(bool afterEachUnit, const UnitSettings &unit)
{
    const std::optional<Project> open = project();
    if (!open)
        return;
    const ReportPaths where = paths(open->directory);
    const QString reportsFolder
        = where.unitReportsFolder(unit.defaultUnitReportsPath, unit.unitReportsPath);
    const QString unitFolder = ReportPaths::join({reportsFolder, ReportPaths::folderName(unit.unitFolder)});
    // failures show when the unit report cannot be written
    (void)ReportPaths::makePath(reportsFolder);
    (void)ReportPaths::makePath(unitFolder);

    // Without a header there is no run folder, and the sequence folder
    // itself must not be copied in its place.
    copyRunFolder(where, unitFolder);

    const QString name = TextBoundary::toFileName(
        unit.serialNumber == unit.firstSerialNumber
            ? QStringLiteral("%1.html").arg(unit.serialNumber)
            : QStringLiteral("%1 - %2.html").arg(unit.firstSerialNumber, unit.serialNumber));
    const QString path = ReportPaths::join({unitFolder, name});
    const QString content = afterEachUnit
                                ? wrapped(unitHeaderHtml + unitReportHtml + unitTrailerHtml)
                                : wrapped(reportHtml);
    // The next unit starts with its own rows whether or not this one's
    // report was kept.
    if (afterEachUnit)
        unitReportHtml.clear();

    if (QFileInfo::exists(path)) {
        // A retested unit must not silently lose its earlier report: the
        // default answer keeps it.
        if (!UserPrompt(hostLink, dialogParent)
                 .question(tr("Warning"),
                           tr("Do you want to overwrite: %1?").arg(QDir::toNativeSeparators(path)),
                           false))
            return;
    }
    if (!writeWholeFile(path, content))
        warn(tr("Can't write to: %1").arg(QDir::toNativeSeparators(path)));
}

QString SequenceReport::resultsFolder(const UnitSettings &unit) const
{
    const std::optional<Project> open = project();
    if (!open)
        return QString();
    return paths(open->directory)
        .resultsFolder(unit.unitIdentification ? unit.unitFolder : QString());
}

void SequenceReport::copyResults(bool perOutcome, const QStringList &resultFiles,
                                 const UnitSettings &unit)
{
    const QString folder = resultsFolder(unit);
    if (folder.isEmpty())
        return;
    if (perOutcome) {
        (void)ReportPaths::makePath(folder);
        for (const QString &file : resultFiles) {
            if (QFileInfo(file).isFile())
                copyFile(file, ReportPaths::join({folder, QFileInfo(file).fileName()}));
        }
    } else if (unit.unitIdentification) {
        // rmdir only removes an empty folder, which is exactly the rule
        QDir().rmdir(folder);
    }
}

QString SequenceReport::exportReport()
{
    const std::optional<Project> open = project();
    if (!open)
        return QString();
    const ReportPaths where = paths(open->directory);
    const QString folder = where.exportFolder();
    if (!ReportPaths::makePath(folder))
        return QString();
    copyRunFolder(where, folder);
    const QString path
        = ReportPaths::join({folder, QStringLiteral("ExportedSequenceReport-%1.html")
                                         .arg(RunStamp::fromDateTime(now()).fileStamp())});
    // exported while the run goes on: the open table is closed in the copy
    if (!writeWholeFile(path, wrapped(reportHtml + QStringLiteral("</table>"))))
        return QString();
    return path;
}

int SequenceReport::printReport(QPrinter *printer) const
{
    if (!printer)
        return 0;
    QTextDocument document;
    // lay out in printer pixels so that fonts keep their point sizes on paper
    document.documentLayout()->setPaintDevice(printer);
    QFont font(QStringLiteral("Lucida Console"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    document.setDefaultFont(font);
    document.setHtml(reportHtml);

    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    const int margin = qRound(printer->logicalDpiY() * 2 / 2.54);
    const QRect body(margin, margin, printer->width() - 2 * margin, printer->height() - 2 * margin);
    if (body.width() <= 0 || body.height() <= 0)
        return 0;
    document.setPageSize(body.size());

    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer->newPage();
        const QRectF visible(0, qreal(page) * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(body.left(), body.top() - visible.top());
        painter.setClipRect(visible);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.drawText(QRect(body.left(), body.bottom() + 1, body.width(), margin),
                         Qt::AlignRight | Qt::AlignTop, QString::number(page + 1));
    }
    painter.end();
    return pages;
}

bool SequenceReport::printReportWithSetup()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, dialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printReport(&printer);
    return true;
}
