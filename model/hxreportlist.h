#pragma once

#include <QList>
#include <QSet>
#include <QString>

class HxReport;

// The project's stored reports, in the order they were registered. Owns them.
class HxReportList
{
public:
    HxReportList() = default;
    ~HxReportList();
    HxReportList(const HxReportList &) = delete;
    HxReportList &operator=(const HxReportList &) = delete;

    void append(HxReport *report);
    bool remove(HxReport *report);
    // the first report of `sequenceTitle` titled `title`; null when none
    HxReport *find(const QString &sequenceTitle, const QString &title) const;
    QList<HxReport *> reportsOf(const QString &sequenceTitle) const;
    // forgets every report of `sequenceTitle`
    void removeSequence(const QString &sequenceTitle);
    void clear();

    int count() const { return reports.size(); }
    HxReport *at(int index) const { return reports.at(index); }
    QList<HxReport *>::const_iterator begin() const { return reports.cbegin(); }
    QList<HxReport *>::const_iterator end() const { return reports.cend(); }

private:
    QList<HxReport *> reports;
    QSet<const HxReport *> members;   // the same reports, to refuse one added twice
};
