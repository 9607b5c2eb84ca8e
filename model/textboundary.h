#pragma once

#include <QString>

// Text crosses each boundary of the product through one function here:
// into HTML, into XML, into a file or folder name, and as a sequence title.
// Escape at the boundary, once, never in the middle.
class TextBoundary
{
public:
    // `text` as HTML text or as a quoted attribute value: & < > " ' escaped.
    static QString toHtml(const QString &text);
    // `text` as the content of an HTML element (a log line): only & < > are
    // escaped, so quotes read as typed in the log's own text.
    static QString toHtmlText(const QString &text);
    // Report or log HTML back as plain text: "<br>" as a line break, other
    // markup removed, the entities the product writes turned into characters.
    static QString fromHtml(const QString &html);

    // `text` with the characters XML 1.0 cannot carry removed (control
    // characters other than tab, line feed and carriage return, lone
    // surrogates, U+FFFE and U+FFFF).
    static QString toXml(const QString &text);
    static bool isXmlSafe(const QString &text);

    // A file or folder name made from a user's text: no path separators, no
    // characters that are illegal in names on the platforms projects move
    // between, no control characters, no leading dots or spaces, no trailing
    // dots or spaces, at most `maximumLength` characters. Never empty, never
    // "." or "..". The same text always gives the same name.
    static QString toFileName(const QString &text, int maximumLength = 96);

    // A relative link to `relativePath` for an href: "/" between the parts and
    // every part percent-encoded, so that any file name works in a quoted link.
    static QString toLink(const QString &relativePath);

    // A value for a line of an INI file: line feeds and carriage returns
    // become backslash-n and backslash-r, and backslashes are doubled only
    // where they stand before an "n" or "r" (or a line break), so that
    // ordinary paths such as "C:\dir" or "\\server" are written as they
    // are. fromIniValue() reads it back; on a value no writer escaped it only
    // turns backslash-n and backslash-r into line breaks, as the pause message
    // always was.
    static QString toIniValue(const QString &text);
    static QString fromIniValue(const QString &text);

    // Why `title` cannot be a sequence title, or an empty text when it can.
    // A title names a folder below the project's "Sequences" folder, so it
    // holds no "/" or "\", no control characters, is not "." or "..", and
    // neither starts nor ends with a space or a dot.
    static QString titleProblem(const QString &title);
    // The folder below "Sequences" that holds a sequence's files: the title
    // itself when it keeps to the title rule (and when it is empty), a safe
    // name made from it when a stored title does not, so that no title ever
    // leads outside "Sequences".
    static QString sequenceFolderName(const QString &title);
};
