#pragma once

#include <QString>

// One stored sequence report: an entry of a sequence's report history.
// A plain record: a project's history holds thousands of them.
class HxReport
{
public:
    HxReport(const QString &sequenceTitle, const QString &title, const QString &fileName)
        : sequenceTitle(sequenceTitle), title(title), fileName(fileName)
    {
    }

    QString sequenceTitle;   // also names the report's folder below "Sequences"
    QString title;           // its name in the history
    QString fileName;        // the report file in the sequence's folder
};
