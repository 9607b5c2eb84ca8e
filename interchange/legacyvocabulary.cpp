#include "legacyvocabulary.h"

#include "apldata.h"
#include "cinifile.h"

#include <QFile>

#include <array>

namespace LegacyVocabulary {

namespace {

constexpr int vocabularyCount = 8;

// A null entry is not a fixed name: the operation is read from a file.
using CodeRow = std::array<const char *, vocabularyCount>;

constexpr const char *skip = "Skip Operation";
constexpr const char *fromFile = nullptr;

// Rows are codes 0 to 10, columns the vocabularies in enum order. Code 3 was
// never given a meaning by any record kind.
constexpr std::array<CodeRow, 11> operationTable = {{
    {"Execute Command", "Execute Test", "Test Infrastructure", skip, fromFile, skip, "erase", "program()"},
    {"Force Pass", "Force Pass", "Force Pass", "Force Pass", "Force Pass", "Force Pass", "Force Pass", "Force Pass"},
    {"Force Fail", "Force Fail", "Force Fail", "Force Fail", "Force Fail", "Force Fail", "Force Fail", "Force Fail"},
    {skip, skip, skip, skip, skip, skip, skip, skip},
    {skip, skip, skip, skip, skip, "Load Image File", "blank check", "blank_check()"},
    {skip, skip, skip, skip, skip, "Save Image File", "usercode", "read(usercode)"},
    {skip, skip, skip, skip, fromFile, skip, "program", "erase()"},
    {skip, skip, skip, skip, skip, "Compare with Image File", "verify", "verify()"},
    {skip, skip, skip, skip, skip, "Preload with 0's", "readback", "read()"},
    {skip, skip, skip, skip, skip, "Preload with 1's", "security", "program(security)"},
    {skip, skip, skip, skip, skip, "Check Image File's CRC", skip, fromFile},
}};

constexpr const char *defaultIscAction = "verify_idcode()";

// The first action an application file offers is the one its runner was
// set to in the old sequencer.
QString firstApplicationAction(const QString &file)
{
    AplData application;
    if (!application.parse(QFile::encodeName(file), AplData::ParseActions, false, false))
        return QString();
    const QStringList names = application.actionNames();
    return names.isEmpty() ? QString() : names.first();
}

// Processor runners keep their in-system configuration action in the ".ini"
// next to the application; an identification check is the safe default.
QString iscOperationAction(const QString &file)
{
    const QString fallback = QString::fromLatin1(defaultIscAction);
    CIniFile ini;
    if (!ini.load(file))
        return fallback;
    return ini.value(QStringLiteral("isc_operation"), QStringLiteral("action"), fallback);
}

constexpr std::array<const char *, 7> showTable = {
    "All vectors, All nets",
    "Failing vectors, All nets",
    "Diagnostics",
    nullptr, // 3 is the plain status display
    "Diagnostics on Fail",
    "All vectors, Failing nets",
    "Failing vectors, Failing nets",
};
constexpr int statusShowCode = 3;

constexpr std::array<const char *, 4> actionTable = {"Next", "Prev", "Stop", "Redo"};

} // namespace

QString legacyOperationName(Vocabulary vocabulary, int code, const QString &file)
{
    if (isReadFromFile(vocabulary, code)) {
        return vocabulary == Vocabulary::ProcessorRunner ? iscOperationAction(file)
                                                         : firstApplicationAction(file);
    }
    const int column = int(vocabulary);
    if (code < 0 || code >= int(operationTable.size()) || column < 0 || column >= vocabularyCount)
        return QString::fromLatin1(skip);
    return QString::fromLatin1(operationTable[size_t(code)][size_t(column)]);
}

bool isReadFromFile(Vocabulary vocabulary, int code)
{
    const int column = int(vocabulary);
    return code >= 0 && code < int(operationTable.size()) && column >= 0 && column < vocabularyCount
           && operationTable[size_t(code)][size_t(column)] == fromFile;
}

bool isInfrastructureName(const QString &thirdName)
{
    for (const char *name : {"infra", "capture", "ident", "trst", "bsreg"}) {
        if (thirdName == QLatin1String(name))
            return true;
    }
    return false;
}

QString showName(int code)
{
    if (code >= 0 && code < int(showTable.size()) && showTable[size_t(code)])
        return QString::fromLatin1(showTable[size_t(code)]);
    return QStringLiteral("Status");
}

int showCode(const QString &name)
{
    for (size_t code = 0; code < showTable.size(); ++code) {
        if (showTable[code] && name == QLatin1String(showTable[code]))
            return int(code);
    }
    return statusShowCode;
}

QString actionName(int code)
{
    if (code >= 0 && code < int(actionTable.size()))
        return QString::fromLatin1(actionTable[size_t(code)]);
    return QString();
}

int actionCode(const QString &name)
{
    for (size_t code = 0; code < actionTable.size(); ++code) {
        if (name == QLatin1String(actionTable[code]))
            return int(code);
    }
    return -1;
}

} // namespace LegacyVocabulary
