#pragma once

#include <QMap>
#include <QString>

#include <array>

// The I/O-pin operations, with the codes a step stores and reports.
enum class IoPinsOperation : int {
    Read = 2,
    Write = 3,
    ReadUntilMatch = 4,
};

// One POD TAP of an I/O-pin step: what to do with its pins and the patterns
// to do it with.
struct IoPinsTap
{
    // Operation bits of the TAP's flag word. They share their values with
    // the instrument flags UseLevel, UseThreshold and NoPwrOn, which is how a
    // sequence list file carries them.
    static constexpr quint32 WriteBit = 0x800;
    static constexpr quint32 ReadBit = 0x1000;
    static constexpr quint32 MatchBit = 0x2000;
    static constexpr quint32 OperationBits = WriteBit | ReadBit | MatchBit;

    quint32 flags = 0;       // the whole "TapInfo%1.Flags" word, operation bits included
    qint32 level = 0;
    qint32 threshold = -1;   // negative: half the level
    qint32 writeControl = 0;
    qint32 writeData = 0;
    qint32 readMask = 0;     // also the mask of read until match
    qint32 readData = 0;     // the pattern read until match waits for
    qint32 timeoutMs = 1000; // read until match gives up after this

    bool writes() const { return flags & WriteBit; }
    bool hasRead() const { return flags & ReadBit; }
    bool hasMatch() const { return flags & MatchBit; }
    void setOperation(quint32 bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); }

    bool operator==(const IoPinsTap &other) const = default;
};

// The I/O-pin options record of a step, and its form in the step's
// execution parameters.
//
// The record lives in the parameters under "InstrumentName", "Flags",
// "Level", "Threshold" and, for TAP n = 1 to 4, "TapInfo<n>." followed by
// "Flags", "Level", "Threshold", "IoPinWCtrl", "IoPinWData", "IoPinRCtrl",
// "IoPinRData" and "IoTimeoutMs", all decimal. The two switches have keys
// of their own, "IoPinNoReset" and "IoPinNoSetup", present with the value
// "1" only while the switch is on: they then travel through sequence list
// files as ordinary parameters, where a spare bit of the flag word would be
// lost (an export writes only the named bits), and the parameters of a step
// that never used them stay as they were.
struct IoPinsOptions
{
    static constexpr int TapCount = 4;

    // Flag word bits the I/O-pin step reads.
    static constexpr quint32 PodType2Bit = 0x10000000;   // bit 28: level with threshold
    static constexpr quint32 LevelPerTapBit = 0x20;      // bit 5: with bit 28, levels per TAP
    static constexpr quint32 MatchEnabledBit = 0x8000;   // bit 15: the controller can match
    // A new step: pod type 2 with matching, as legacy I/O-pin steps are read.
    static constexpr quint32 DefaultFlags = PodType2Bit | MatchEnabledBit;

    QString instrumentName;
    quint32 flags = DefaultFlags;
    qint32 level = 0;
    qint32 threshold = -1;   // negative: half the level
    std::array<IoPinsTap, TapCount> taps;
    bool noReset = false;
    bool noSetup = false;

    // TAP 1 to 4; no bounds check beyond an assertion.
    IoPinsTap &tap(int number);
    const IoPinsTap &tap(int number) const;

    bool matchEnabled() const { return flags & MatchEnabledBit; }
    // Whether TAP `number` takes part in `operation`. A TAP with both read
    // and match waits for its pattern only when the flag word enables
    // matching; otherwise it is read plainly.
    bool tapUses(int number, IoPinsOperation operation) const;
    // Whether any TAP takes part in `operation`.
    bool uses(IoPinsOperation operation) const;
    // Whether the step drives or looks at any pin at all: a TAP that writes
    // with a control bit set, reads, or waits for a match under a mask
    // with a bit set.
    bool usesAnyPin() const;

    // Reads the record from a step's parameters; a missing or unreadable
    // value keeps the default of a new record.
    static IoPinsOptions fromParameters(const QMap<QString, QString> &parameters);
    // Writes the record into `parameters`, leaving every other key alone;
    // a switch that is off removes its key.
    void writeParameters(QMap<QString, QString> &parameters) const;
    // The record's keys alone.
    QMap<QString, QString> toParameters() const;

    bool operator==(const IoPinsOptions &other) const = default;
};

namespace IoPinsKey {
inline const QString NoReset = QStringLiteral("IoPinNoReset");
inline const QString NoSetup = QStringLiteral("IoPinNoSetup");
} // namespace IoPinsKey
