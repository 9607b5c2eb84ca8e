#include "outputlog.h"

#include "hostservice.h"
#include "hximainlogview.h"
#include "textboundary.h"

namespace {

QString timeStamp(const QTime &time)
{
    return time.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(": ");
}

} // namespace

void OutputLog::message(const QString &text) const
{
    append(messageLine(text, QTime::currentTime()));
}

void OutputLog::itemRemoved(const QString &text) const
{
    append(itemRemovedLine(text, QTime::currentTime()));
}

QString OutputLog::messageLine(const QString &text, const QTime &time)
{
    return QStringLiteral("<font color=\"#000000\">") + timeStamp(time) + TextBoundary::toHtmlText(text)
           + QStringLiteral("</font>");
}

QString OutputLog::itemRemovedLine(const QString &text, const QTime &time)
{
    return validationLine(text, ItemRemovedNote, time);
}

QString OutputLog::validationLine(const QString &text, const QString &note, const QTime &time)
{
    return QStringLiteral("<font color=\"#EF0000\">") + timeStamp(time) + QStringLiteral("<b>")
           + TextBoundary::toHtmlText(text) + QStringLiteral("</b></font><font color=\"#000000\">") + note
           + QStringLiteral("</font>");
}

void OutputLog::warning(const QString &text) const
{
    append(QStringLiteral("<font color=\"#AFAF00\">") + timeStamp(QTime::currentTime())
           + QStringLiteral("<b>") + TextBoundary::toHtmlText(text)
           + QStringLiteral("</b></font><font color=\"#000000\"></font>"));
}

void OutputLog::charactersRemoved(const QString &text) const
{
    append(validationLine(text, CharactersRemovedNote, QTime::currentTime()));
}

void OutputLog::append(const QString &line) const
{
    HostService<VemoInterface::HxiMainLogview> log(link, QStringLiteral("HxiMainLogview"));
    if (log)
        log->appendLine(Tab, line);
}
