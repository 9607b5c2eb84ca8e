#pragma once

#include <QString>

class SequenceCommand;
class SequenceElementItem;

// The tool tip of an application or command row: a small HTML table of
// what the step does after each outcome and, for a command, the command
// itself. Operation rows have none.
class SequenceListViewTip
{
public:
    // empty for a row without a tip
    static QString text(const SequenceElementItem *step);

    // the pieces the commands palette's tip is made of as well
    static QString head(const QString &kind, const QString &name);
    static QString row(const QString &caption, const QString &value);
    static QString commandRows(const SequenceCommand &command);
    static QString tail();
    static QString yesNo(bool on);
};
