#include "livereporttail.h"

#include <QRegularExpression>

namespace {

// A report is its header, then tables of rows, then texts such as the
// trailer between them. Rows never hold a table or "</tr>" of their own.
const QRegularExpression Piece(QStringLiteral("(<table[^>]*>)|(<tr>.*?</tr>(?:\\r\\n)?)|(</table>)"),
                               QRegularExpression::DotMatchesEverythingOption);

bool isRow(const QString &piece)
{
    return piece.startsWith(QLatin1String("<tr>"));
}

} // namespace

void LiveReportTail::clear()
{
    head.clear();
    tableHeader.clear();
    pieces.clear();
    rows = 0;
    leftOut = 0;
}

void LiveReportTail::setReport(const QString &html)
{
    clear();
    const qsizetype table = html.indexOf(QLatin1String("<table"));
    head = table < 0 ? html : html.left(table);
    if (table >= 0)
        append(html.mid(table));
}

void LiveReportTail::append(const QString &html)
{
    qsizetype at = 0;
    for (const QRegularExpressionMatch &match : Piece.globalMatch(html)) {
        if (match.capturedStart() > at)
            addPiece(html.mid(at, match.capturedStart() - at));
        addPiece(match.captured(0));
        at = match.capturedEnd();
    }
    if (at < html.size())
        addPiece(html.mid(at));
}

void LiveReportTail::addPiece(const QString &piece)
{
    const bool row = isRow(piece);
    // The view closes an open table for display; rows that follow belong
    // in it all the same.
    if (row && !pieces.isEmpty() && pieces.constLast() == QLatin1String("</table>"))
        pieces.removeLast();
    // The first table's opening and column titles stand over rows whose
    // own table was left out.
    if (tableHeader.isEmpty() && piece.startsWith(QLatin1String("<table")))
        tableHeader = piece;
    else if (row && !pieces.isEmpty() && pieces.constLast() == tableHeader
             && !tableHeader.contains(QLatin1String("<tr>")))
        tableHeader += piece;
    pieces.append(piece);
    if (!row)
        return;
    ++rows;
    while (rows > KeptRows) {
        const QString oldest = pieces.takeFirst();
        if (!isRow(oldest))
            continue;
        --rows;
        // the column titles come back with the table header
        if (!tableHeader.endsWith(oldest))
            ++leftOut;
    }
}

QString LiveReportTail::html() const
{
    QString text = head;
    if (leftOut > 0) {
        //: %1 = number of rows
        text += QStringLiteral("<p>... %1 earlier rows are in the report file ...</p>").arg(leftOut);
    }
    bool open = false;
    for (const QString &piece : pieces) {
        if (piece.startsWith(QLatin1String("<table"))) {
            if (!open)
                text += piece;
            open = true;
        } else if (piece == QLatin1String("</table>")) {
            if (open)
                text += piece;
            open = false;
        } else if (isRow(piece)) {
            if (!open)
                text += tableHeader;
            open = true;
            text += piece;
        } else {
            if (open)
                text += QStringLiteral("</table>");
            open = false;
            text += piece;
        }
    }
    if (open)
        text += QStringLiteral("</table>");
    return text;
}
