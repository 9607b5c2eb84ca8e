#include "hxreportlist.h"

#include "hxreport.h"

HxReportList::~HxReportList()
{
    clear();
}

void HxReportList::append(HxReport *report)
{
    // a set, not a search of the list: a history holds thousands of reports
    if (report && !members.contains(report)) {
        members.insert(report);
        reports.append(report);
    }
}

bool HxReportList::remove(HxReport *report)
{
    if (!members.remove(report))
        return false;
    reports.removeOne(report);
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
    members.clear();
    const QList<HxReport *> old = std::exchange(reports, {});
    qDeleteAll(old);
}
