#pragma once

#include "hostlink.h"

#include <QString>
#include <QTime>

// Lines for the host's log view, tab "Output", in the two forms the sequence
// list export and import write: a plain message, and the line of a check
// that removed an item from an import. Without a log view nothing is written.
class OutputLog
{
public:
    explicit OutputLog(const HostLink &link) : link(link) {}

    void message(const QString &text) const;
    void itemRemoved(const QString &text) const;
    // a check that kept the item but removed characters from one of its texts
    void charactersRemoved(const QString &text) const;
    // the text bold in the warning colour
    void warning(const QString &text) const;

    // "<font color="#000000">hh:mm:ss: text</font>"
    static QString messageLine(const QString &text, const QTime &time);
    // the text bold in red, then "(item removed from sequence)" in black
    static QString itemRemovedLine(const QString &text, const QTime &time);
    // the text bold in red, then `note` in black
    static QString validationLine(const QString &text, const QString &note, const QTime &time);

    static inline const QString Tab = QStringLiteral("Output");
    static inline const QString ItemRemovedNote = QStringLiteral("(item removed from sequence)");
    static inline const QString CharactersRemovedNote = QStringLiteral("(characters removed)");

private:
    void append(const QString &line) const;

    HostLink link;
};
