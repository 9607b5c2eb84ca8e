#include "sequencelistviewtip.h"

#include "sequenceelementitem.h"
#include "sequenceenums.h"
#include "textboundary.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SequenceListViewTip", text);
}

} // namespace

QString SequenceListViewTip::head(const QString &kind, const QString &name)
{
    return QStringLiteral(" <html><body><table border=\"0\" cellpadding=\"0\" cellspacing=\"0\"> \t\t\t "
                          "<tr><td align=\"center\" colspan='3'><font color=\"blue\"><b>\t%1: %2     "
                          "</b></font></td></tr>")
        .arg(kind, TextBoundary::toHtml(name));
}

QString SequenceListViewTip::row(const QString &caption, const QString &value)
{
    return QStringLiteral("<tr><td>\t%1\t</td><td>:</td><td>\t%2\t</td></tr>")
        .arg(caption, TextBoundary::toHtml(value));
}

QString SequenceListViewTip::tail()
{
    return QStringLiteral("</table></body></html>");
}

QString SequenceListViewTip::yesNo(bool on)
{
    return on ? tr("Yes") : tr("No");
}

QString SequenceListViewTip::commandRows(const SequenceCommand &command)
{
    return row(tr("Name"), command.name()) + row(tr("Command"), command.command())
           + row(tr("Directory"), command.dir())
           + row(tr("Launch in Design Directory"), yesNo(command.launchInDesignDir()))
           + row(tr("Add to Launch Menu"), yesNo(command.addToLaunchMenu()))
           + row(tr("Console Application"), yesNo(command.consoleApp()))
           + row(tr("Internal"), yesNo(command.internal()))
           + row(tr("Allow User Interaction"), yesNo(command.allowUserInteraction()))
           + row(tr("Show Immediate Output"), yesNo(command.showImmediateOutput()))
           + row(tr("Edit before Launch"), yesNo(command.editBeforeLaunch()))
           + row(tr("Pass Exit Code"), QString::number(command.passExitCode()))
           + row(tr("Fail Exit Code"), QString::number(command.failExitCode()));
}

QString SequenceListViewTip::text(const SequenceElementItem *step)
{
    if (!step)
        return QString();
    const int kind = step->itemType();
    const bool isCommand = kind == int(::ItemType::Command);
    if (kind != int(::ItemType::Application) && !isCommand)
        return QString();
    QString html = head(isCommand ? tr("Command") : tr("Application"),
                        step->text(SequenceElementItem::ItemColumn));
    html += row(tr("Add Output to Sequence Report"), yesNo(step->addToReport))
            + row(tr("On Pass"), step->passAction) + row(tr("On Fail"), step->failAction)
            + row(tr("On Reject"), step->rejectAction) + row(tr("On Error"), step->systemErrorAction)
            + row(tr("Save Results On Fail"), yesNo(step->saveResultsOnFail))
            + row(tr("Save Results On Pass"), yesNo(step->saveResultsOnPass))
            + row(tr("Status To Sequence Status"), yesNo(step->statusToSequenceStatus));
    if (isCommand) {
        html += QStringLiteral("<tr><td> </td><td> </td><td> </td></tr>");
        html += commandRows(step->sequenceCommand());
    }
    return html + tail();
}
