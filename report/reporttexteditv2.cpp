#include "reporttexteditv2.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <memory>

ReportTextEditV2::ReportTextEditV2(QWidget *parent)
    : QTextBrowser(parent), liveRefresh(new QTimer(this))
{
    liveRefresh->setSingleShot(true);
    liveRefresh->setInterval(200);
    connect(liveRefresh, &QTimer::timeout, this, &ReportTextEditV2::showLiveReport);
    QFont font(QStringLiteral("Lucida Console"), 8);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace);
    setFont(font);
    setReadOnly(true);
    // Links open files outside; the report itself stays in view.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        slotLinkClicked(QUrl::fromPercentEncoding(url.toString(QUrl::FullyEncoded).toUtf8()));
    });
    openFile = [](const QString &fileName) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
    };
}

void ReportTextEditV2::showReport(const QString &html)
{
    if (viewMode != Live) {
        setHtml(html);
        return;
    }
    live.setReport(html);
    showLiveReport();
}

void ReportTextEditV2::appendReport(const QString &html)
{
    live.append(html);
    if (!liveRefresh->isActive())
        liveRefresh->start();
}

void ReportTextEditV2::showLiveReport()
{
    liveRefresh->stop();
    setHtml(live.html());
    // the live view follows the run
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QString ReportTextEditV2::linkedFile(const QString &link) const
{
    // Reports are written with Windows separators; the run folder and the
    // file are what count.
    QString relative = link.trimmed();
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (relative.isEmpty() || baseFolder.isEmpty())
        return QString();
    const QDir folder(baseFolder);
    const QString path = QDir::cleanPath(folder.absoluteFilePath(relative));
    const QString root = QDir::cleanPath(folder.absolutePath()) + QLatin1Char('/');
    return path.startsWith(root) ? path : QString();
}

void ReportTextEditV2::slotLinkClicked(const QString &link)
{
    const QString fileName = linkedFile(link);
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        Q_EMIT message(tr("The report file '%1' is not there any more.").arg(QDir::toNativeSeparators(link)));
    } else if (!openFile || !openFile(fileName)) {
        Q_EMIT message(tr("No program could open '%1'.").arg(QDir::toNativeSeparators(fileName)));
    }
    if (viewMode == Live)
        showLiveReport();
}

void ReportTextEditV2::clearContents()
{
    liveRefresh->stop();
    live.clear();
    clear();
}

void ReportTextEditV2::backward()
{
    if (viewMode == Live)
        showLiveReport();
    else
        QTextBrowser::backward();
}

void ReportTextEditV2::home()
{
    if (viewMode == Live)
        showLiveReport();
    else
        QTextBrowser::home();
}

void ReportTextEditV2::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (viewMode == Live) {
        menu->addSeparator();
        menu->addAction(tr("Clear"), this, &ReportTextEditV2::clearContents);
    }
    menu->exec(event->globalPos());
}
