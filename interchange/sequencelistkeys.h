#pragma once

#include <QString>

// The section and key names of a sequence list file (".seql"), shared by
// its writer and its reader.
namespace SequenceListKey {

inline const QString SequenceSection = QStringLiteral("SEQUENCE");
// "ITEM%1" is both the key of an item in the SEQUENCE section and the name
// of its own section; its parameters follow in "ITEM%1.EXECPARAMS".
inline const QString ItemPrefix = QStringLiteral("ITEM");
inline const QString ParametersSuffix = QStringLiteral(".EXECPARAMS");

inline const QString ColumnOperation = QStringLiteral("ColumnOperation");
inline const QString ColumnProperty = QStringLiteral("ColumnProperty");
inline const QString ColumnItem = QStringLiteral("ColumnItem");
inline const QString ColumnShow = QStringLiteral("ColumnShow");
inline const QString ItemType = QStringLiteral("ItemType");
inline const QString TimeOut = QStringLiteral("TimeOut");
inline const QString PauseMessageText = QStringLiteral("PauseMessageText");
inline const QString PauseMessageDefaultAnswer = QStringLiteral("PauseMessageDefaultAnswer");
inline const QString PauseMessageAnswerNoIsPass = QStringLiteral("PauseMessageAnswerNoIsPass");
inline const QString AddToReport = QStringLiteral("AddToReport");
inline const QString PassAction = QStringLiteral("PassAction");
inline const QString FailAction = QStringLiteral("FailAction");
inline const QString RejectAction = QStringLiteral("RejectAction");
inline const QString SyseAction = QStringLiteral("SyseAction");
inline const QString SaveResultsOnFail = QStringLiteral("SaveResultsOnFail");
inline const QString SaveResultsOnPass = QStringLiteral("SaveResultsOnPass");
inline const QString StatusToSequenceStatus = QStringLiteral("StatusToSequenceStatus");
inline const QString SeqCommandCommand = QStringLiteral("SeqCommandCommand");
inline const QString SeqCommandConsoleApp = QStringLiteral("SeqCommandConsoleApp");
inline const QString SeqCommandDir = QStringLiteral("SeqCommandDir");
inline const QString SeqCommandFailExitCode = QStringLiteral("SeqCommandFailExitCode");
inline const QString SeqCommandInternal = QStringLiteral("SeqCommandInternal");
inline const QString SeqCommandLaunchInDesignDir = QStringLiteral("SeqCommandLaunchInDesignDir");
inline const QString SeqCommandPassExitCode = QStringLiteral("SeqCommandPassExitCode");

// The values of "ItemType" for item kinds 1, 2 and 3.
inline const QString Application = QStringLiteral("application");
inline const QString Operation = QStringLiteral("operation");
inline const QString Command = QStringLiteral("command");

// "ITEM%1" for item number n (from 1).
inline QString itemSection(int number)
{
    return ItemPrefix + QString::number(number);
}
inline QString parametersSection(const QString &itemSection)
{
    return itemSection + ParametersSuffix;
}

} // namespace SequenceListKey
