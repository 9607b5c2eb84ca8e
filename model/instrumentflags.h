#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The instrument flags: the bit set held by the "Flags" parameter and by the
// flags field of every TAP record, and the names under which a sequence list
// file stores its bits one by one.
namespace InstrumentFlags {

namespace Mask {
inline constexpr quint32 PodType1 = 0;  // pod type 1 is the absence of PodType2
inline constexpr quint32 PodType2 = 0x10000000;
inline constexpr quint32 Threshold = 0x20000000;
inline constexpr quint32 User0 = 0x1;
inline constexpr quint32 User1 = 0x2;
inline constexpr quint32 Aw = 0x4;
inline constexpr quint32 Vppe = 0x8;
inline constexpr quint32 Ready = 0x10;
inline constexpr quint32 LtPerTap = 0x20;
inline constexpr quint32 IoPerTap = 0x40;
inline constexpr quint32 UseSState = 0x100;
inline constexpr quint32 UseEState = 0x200;
inline constexpr quint32 UseGang = 0x400;
inline constexpr quint32 UseLevel = 0x800;
inline constexpr quint32 UseThreshold = 0x1000;
inline constexpr quint32 UseIoWait = 0x8000;
inline constexpr quint32 NoPwrOn = 0x2000;
inline constexpr quint32 NoPwrOff = 0x4000;
inline constexpr quint32 UseTck = 0x10000;
inline constexpr quint32 UsePrecompiled = 0x20000;
inline constexpr quint32 NoHeader = 0x40000;
inline constexpr quint32 SetVerbose = 0x80000;
inline constexpr quint32 UseAce = 0x100000;
inline constexpr quint32 UseAwPod = 0x200000;
inline constexpr quint32 StartEqTarget = 0x400000;
// No name of its own: levels and thresholds are kept in hundredths and the
// legacy file holds them divided by 100.
inline constexpr quint32 LevelsDividedBy100 = 0x800000;
} // namespace Mask

// A new instrument record starts with pod type 2.
inline constexpr quint32 DefaultFlags = Mask::PodType2;

struct Flag
{
    QString name;
    quint32 mask;
};

// (name, value) entries as a sequence list section holds them.
using FlagEntries = QList<std::pair<QString, QString>>;

// Every named flag in the order in which flags are written and tested.
// "PodType1" comes first and has no bit.
const QList<Flag> &flagTable();

// The mask of a flag name (exact, case-sensitive); 0 for an unknown name
// and for "PodType1".
quint32 flagMask(const QString &name);
// True for every name of the table, "PodType1" included. Note that
// "Threshold" is both a flag and a numeric parameter of its own.
bool isFlagName(const QString &name);

// Sets or clears the named bit; "PodType1" and unknown names change nothing.
[[nodiscard]] quint32 setFlag(quint32 flags, const QString &name, bool on);

enum class ExpandMode {
    SetOnly,  // one entry with value "1" per set bit: what an export writes
    All,      // one entry per named bit, "1" or "0"
};
FlagEntries expandFlags(quint32 flags, ExpandMode mode = ExpandMode::SetOnly);

// Whether a stored flag value turns its bit on: only a value that reads as
// the integer 1 ("1", "01", " 1 ", "+1") does. Every other value clears the
// bit, "0", "2", "yes", "true" and the empty text alike. Sequence list files
// have always been read that way (an export writes only "1"), and a bit that
// controls power or the pod must never be switched on by a value nobody
// meant as "on".
bool flagValueIsSet(const QString &value);

// Applies one stored entry: a flag name sets or clears its bit according to
// flagValueIsSet(); any other name, and "PodType1", leaves the flags as they
// are.
[[nodiscard]] quint32 applyFlag(quint32 flags, const QString &name, const QString &value);

} // namespace InstrumentFlags
