#include "controloperations.h"

#include <array>

namespace ControlOperations {

namespace {

struct OperationEntry
{
    ControlOperation code;
    const QString *name;
    const char *caption;
};

// In code order; select-instrument has no entry because it is never a step.
const std::array<OperationEntry, 11> &operations()
{
    static const std::array<OperationEntry, 11> entries = {{
        {ControlOperation::Pause, &Pause, "Pause / Display Message"},
        {ControlOperation::Label, &Label, "Label / Comment"},
        {ControlOperation::If, &If, "IF <condition>"},
        {ControlOperation::Else, &Else, "ELSE"},
        {ControlOperation::Elif, &Elif, "ELIF <condition>"},
        {ControlOperation::EndIf, &EndIf, "ENDIF"},
        {ControlOperation::Goto, &Goto, "GOTO"},
        {ControlOperation::Print, &Print, "Print report"},
        {ControlOperation::Export, &Export, "Export report"},
        {ControlOperation::Reset, &Reset, "Reset Instrument"},
        {ControlOperation::IoPins, &IoPins, "Read/Test/Write IO Pins"},
    }};
    return entries;
}

const OperationEntry *findByName(const QString &name)
{
    for (const OperationEntry &entry : operations()) {
        if (*entry.name == name)
            return &entry;
    }
    return nullptr;
}

const OperationEntry *findByCode(int code)
{
    for (const OperationEntry &entry : operations()) {
        if (int(entry.code) == code)
            return &entry;
    }
    return nullptr;
}

} // namespace

int controlOperationCode(const QString &name)
{
    const OperationEntry *entry = findByName(name);
    return entry ? int(entry->code) : 0;
}

QString controlOperationName(int code)
{
    const OperationEntry *entry = findByCode(code);
    return entry ? *entry->name : QString();
}

QString controlOperationCaption(const QString &name)
{
    const OperationEntry *entry = findByName(name);
    return entry ? QString::fromLatin1(entry->caption) : QString();
}

QString controlOperationCaption(int code)
{
    const OperationEntry *entry = findByCode(code);
    return entry ? QString::fromLatin1(entry->caption) : QString();
}

QString defaultControlItem(const QString &name)
{
    // A pause's item text must begin with its time-out, so a new one starts
    // at zero; the report and I/O-pin steps show nothing in the Item column.
    if (name == Pause)
        return QStringLiteral("0,");
    if (name == Reset)
        return QStringLiteral("Reset");
    if (name == Print || name == Export || name == IoPins)
        return QString();
    return QStringLiteral(",");
}

QStringList controlOperationNames()
{
    QStringList names;
    names.reserve(int(operations().size()));
    for (const OperationEntry &entry : operations())
        names.append(*entry.name);
    return names;
}

} // namespace ControlOperations
