#pragma once

#include <QString>
#include <QStringList>

// The control operations of the `Ctrl` item family: their names, the codes
// under which they are stored, the captions the list view shows and the item
// text a new step starts with. Names are compared exactly (case-sensitive).
namespace ControlOperations {

// The operation kind of an operation step; the codes are stored in documents
// and legacy files and never change.
enum class ControlOperation : int {
    Pause = 0,
    Label = 4,
    If = 5,
    Else = 6,
    Elif = 7,
    EndIf = 8,
    Goto = 9,
    Print = 10,
    Export = 11,
    Reset = 12,
    IoPins = 13,
    // Found only in legacy files; an item of this kind is dropped on import.
    SelectInstrument = 14,
};

inline const QString Pause = QStringLiteral("PAUSE");
inline const QString Label = QStringLiteral("LABEL");
inline const QString If = QStringLiteral("IF");
inline const QString Else = QStringLiteral("ELSE");
inline const QString Elif = QStringLiteral("ELIF");
inline const QString EndIf = QStringLiteral("ENDIF");
inline const QString Goto = QStringLiteral("GOTO");
inline const QString Print = QStringLiteral("Print");
inline const QString Export = QStringLiteral("Export");
inline const QString Reset = QStringLiteral("Reset");
inline const QString IoPins = QStringLiteral("Read/Test/Write IO Pins");

// The code of a named operation; 0 for an unknown name, which is also the
// code of "PAUSE".
int controlOperationCode(const QString &name);
// The name of a code; empty for any code without an operation (including 14).
QString controlOperationName(int code);

// The caption shown for an operation; empty for an unknown name or code.
QString controlOperationCaption(const QString &name);
QString controlOperationCaption(int code);

// The item text a new step of the operation starts with.
QString defaultControlItem(const QString &name);

// The names of all operations that can be a step, in code order.
QStringList controlOperationNames();

} // namespace ControlOperations
