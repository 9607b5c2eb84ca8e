#include "instrumentflags.h"

namespace InstrumentFlags {

const QList<Flag> &flagTable()
{
    // The order is part of the file format: an export writes the set bits in
    // this order, so files compare line by line across versions.
    static const QList<Flag> table = {
        {QStringLiteral("PodType1"), Mask::PodType1},
        {QStringLiteral("PodType2"), Mask::PodType2},
        {QStringLiteral("Threshold"), Mask::Threshold},
        {QStringLiteral("User0"), Mask::User0},
        {QStringLiteral("User1"), Mask::User1},
        {QStringLiteral("Aw"), Mask::Aw},
        {QStringLiteral("Vppe"), Mask::Vppe},
        {QStringLiteral("Ready"), Mask::Ready},
        {QStringLiteral("LtPerTap"), Mask::LtPerTap},
        {QStringLiteral("IoPerTap"), Mask::IoPerTap},
        {QStringLiteral("UseSState"), Mask::UseSState},
        {QStringLiteral("UseEState"), Mask::UseEState},
        {QStringLiteral("UseGang"), Mask::UseGang},
        {QStringLiteral("UseLevel"), Mask::UseLevel},
        {QStringLiteral("UseThreshold"), Mask::UseThreshold},
        {QStringLiteral("UseIoWait"), Mask::UseIoWait},
        {QStringLiteral("NoPwrOn"), Mask::NoPwrOn},
        {QStringLiteral("NoPwrOff"), Mask::NoPwrOff},
        {QStringLiteral("UseTck"), Mask::UseTck},
        {QStringLiteral("UsePrecompiled"), Mask::UsePrecompiled},
        {QStringLiteral("NoHeader"), Mask::NoHeader},
        {QStringLiteral("SetVerbose"), Mask::SetVerbose},
        {QStringLiteral("UseAce"), Mask::UseAce},
        {QStringLiteral("UseAwPod"), Mask::UseAwPod},
        {QStringLiteral("StartEqTarget"), Mask::StartEqTarget},
    };
    return table;
}

namespace {

const Flag *findFlag(const QString &name)
{
    for (const Flag &flag : flagTable()) {
        if (flag.name == name)
            return &flag;
    }
    return nullptr;
}

// A zero mask must never count as set: "(flags & 0) == 0" would otherwise
// report PodType1 on every word.
bool isSet(quint32 flags, quint32 mask)
{
    return mask != 0 && (flags & mask) == mask;
}

} // namespace

quint32 flagMask(const QString &name)
{
    const Flag *flag = findFlag(name);
    return flag ? flag->mask : 0;
}

bool isFlagName(const QString &name)
{
    return findFlag(name) != nullptr;
}

quint32 setFlag(quint32 flags, const QString &name, bool on)
{
    const quint32 mask = flagMask(name);
    return on ? (flags | mask) : (flags & ~mask);
}

FlagEntries expandFlags(quint32 flags, ExpandMode mode)
{
    const QString one = QStringLiteral("1");
    const QString zero = QStringLiteral("0");
    FlagEntries entries;
    for (const Flag &flag : flagTable()) {
        if (flag.mask == 0)
            continue;
        const bool set = isSet(flags, flag.mask);
        if (set)
            entries.append({flag.name, one});
        else if (mode == ExpandMode::All)
            entries.append({flag.name, zero});
    }
    return entries;
}

bool flagValueIsSet(const QString &value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    return ok && number == 1;
}

quint32 applyFlag(quint32 flags, const QString &name, const QString &value)
{
    if (!isFlagName(name))
        return flags;
    return setFlag(flags, name, flagValueIsSet(value));
}

} // namespace InstrumentFlags
