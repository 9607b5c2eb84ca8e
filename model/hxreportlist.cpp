#include "hxreportlist.h"

#include "hxreport.h"

HxReportList::~HxReportList()
{
    clear();
}

void HxReportList::append(HxReport *report)
{
    if (report && !reports.contains(report))
        reports.append(report);
}

bool HxReportList::remove(HxReport *report)
{
    if (!reports.removeOne(report))
        return false;
    delete report;
    return true;
}

HxReport *HxReportList::find(const QString &sequenceTitle, const QString &title) const
{
    for (HxReport *report : reports) {
        if (report->sequenceTitle == sequenceTitle && report->title == title)
            return report;
    }
    return nullptr;
}

QList<HxReport *> HxReportList::reportsOf(const QString &sequenceTitle) const
{
    QList<HxReport *> result;
    for (HxReport *report : reports) {
        if (report->sequenceTitle == sequenceTitle)
            result.append(report);
    }
    return result;
}

void HxReportList::removeSequence(const QString &sequenceTitle)
{
    for (HxReport *report : reportsOf(sequenceTitle))
        remove(report);
}

void HxReportList::clear()
{
    const QList<HxReport *> old = std::exchange(reports, {});
    qDeleteAll(old);
}
