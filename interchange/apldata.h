#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Reads the list of actions from an application file (".apl"): the
// operations a flash runner can perform with the application, in the order
// the application offers them.
//
// An application file is UTF-8 text (an initial byte-order mark is allowed)
// with lines ended by "\n", "\r\n" or "\r":
//
//     # Flash U12, 29F040 in 8-bit mode
//     [application]
//     name = U12
//     [actions]
//     action = program
//     action = verify
//
// Blank lines and lines starting with "#" or ";" are ignored. "[name]" opens
// a section; "key = value" lines give a value, both sides stripped of blanks.
// Section and key names are compared without regard to case. The actions are
// the values of the "action" keys of section "actions", in file order,
// duplicates kept; everything else is left for other readers of the file.
// docs/application-file.md describes the format for people who write one.
//
// The reader refuses files larger than maxFileSize, lines longer than
// maxLineLength, text that holds a zero byte or is not valid UTF-8; the error
// names the file and, where there is one, the line.
class AplData
{
    Q_DECLARE_TR_FUNCTIONS(AplData)

public:
    // What parse() reads; only the action list exists in this format.
    enum ParseType { ParseActions = 3 };

    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;
    static constexpr qsizetype maxLineLength = 64 * 1024;

    // `fileName8bit` is the file name in the local 8-bit encoding.
    // With `strict`, lines that are neither blank, comments, headers nor
    // "key = value", and actions with an empty name, are errors; otherwise
    // they are skipped. `reserved` has no meaning in this format.
    [[nodiscard]] bool parse(const QByteArray &fileName8bit, int parseType, bool strict, bool reserved);

    // the actions of the last successful parse; empty after a failure
    QStringList actionNames() const { return actions; }
    QString errorString() const { return lastError; }

private:
    bool fail(const QString &fileName, const QString &problem);
    bool failAtLine(const QString &fileName, qsizetype lineNumber, const QString &problem);

    QStringList actions;
    QString lastError;
};
