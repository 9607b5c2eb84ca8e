#pragma once

#include "livereporttail.h"

#include <QTextBrowser>

#include <functional>

class QTimer;

// The report viewer: a read-only rich-text browser in the report's own
// font. It shows either the live report of the running sequence or a
// stored report of the history. The links of a report name files of its run
// folder relative to the sequence folder ("run folder\file.html"); a click
// opens the file with the program the system has for it, and the viewer
// stays on the report. The live report shows its header and last rows;
// appended text is shown a moment later together with whatever else came
// meanwhile, so that a fast run does not spend its time redrawing.
class ReportTextEditV2 : public QTextBrowser
{
    Q_OBJECT

public:
    enum Mode { Live = 1, History = 2 };
    // Opens a file with the system's program for it; false when that failed.
    using FileOpener = std::function<bool(const QString &fileName)>;

    explicit ReportTextEditV2(QWidget *parent = nullptr);

    Mode mode() const { return viewMode; }
    void setMode(Mode mode) { viewMode = mode; }
    // The folder the report's links are relative to.
    void setSequenceFolder(const QString &folder) { baseFolder = folder; }
    QString sequenceFolder() const { return baseFolder; }
    // Shows `html` as the report; in live mode it is also what backward and
    // home return to.
    void showReport(const QString &html);
    // Text the run appended to the live report.
    void appendReport(const QString &html);
    // The file a report link names; empty for a link that leaves the
    // sequence folder or names nothing.
    QString linkedFile(const QString &link) const;
    void setFileOpener(FileOpener opener) { openFile = std::move(opener); }

public Q_SLOTS:
    void slotLinkClicked(const QString &link);
    void clearContents();
    void backward() override;
    void home() override;

Q_SIGNALS:
    void message(const QString &text);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void showLiveReport();

    Mode viewMode = History;
    QString baseFolder;
    LiveReportTail live;
    QTimer *liveRefresh;
    FileOpener openFile;
};
