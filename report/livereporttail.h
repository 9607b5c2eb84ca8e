#pragma once

#include <QString>
#include <QStringList>

// What the live report view shows of a running report: its header and its
// last rows. Appending a row costs the same however long the run has been,
// and so does showing the result; the whole report is in its file.
class LiveReportTail
{
public:
    static constexpr int KeptRows = 200;

    // the whole live report, as the run has it so far
    void setReport(const QString &html);
    // text the run appended to the report
    void append(const QString &html);
    void clear();

    // the header, a line on the rows left out, and the last rows
    QString html() const;
    int leftOutRows() const { return leftOut; }

private:
    void addPiece(const QString &piece);

    QString head;           // everything before the first table
    QString tableHeader;    // the opening tag and the column titles
    QStringList pieces;     // rows, and texts between tables, oldest first
    int rows = 0;           // rows among the pieces
    int leftOut = 0;
};
