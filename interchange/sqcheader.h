#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The header of a legacy sequence file (".sqc") in its current layout, the
// one of versions 9.0 to 12.0. Headers of versions 6.4 and 8.1 are moved
// into this layout when they are read; other versions are refused.
class SqcHeader
{
public:
    static constexpr quint32 Magic = 0x02950870;

    // Major version in the high 16 bits, minor in the low 16 bits.
    static constexpr quint32 Version64 = 0x00060004;
    static constexpr quint32 Version80 = 0x00080000;
    static constexpr quint32 Version81 = 0x00080001;
    static constexpr quint32 Version90 = 0x00090000;
    static constexpr quint32 Version100 = 0x000A0000;
    static constexpr quint32 Version110 = 0x000B0000;
    static constexpr quint32 Version120 = 0x000C0000;
    static constexpr quint32 CurrentVersion = Version120;

    // Bytes of the header in the current layout and in the two old ones.
    static constexpr int Size = 1076;
    static constexpr int Size64 = 820;
    static constexpr int Size81 = 344;
    // Magic and version: enough to tell what follows.
    static constexpr int PrefixSize = 8;

    // Field sizes, terminator included.
    static constexpr int InstrumentNameSize = 80;
    static constexpr int PathSize = 256;
    static constexpr int SequenceNameSize = 256;
    static constexpr int UnitText1Size = 81;
    static constexpr int UnitText2Size = 256;
    static constexpr int WindowNameSize = 80;

    // Bits of `flags`.
    enum SequenceFlag : quint32 {
        Repeat = 0x1,
        UnitIdentification = 0x4,
        GlobalGang = 0x80,
        // Records of kinds 1 and 5 hold their target address in the common
        // part; without it, in word 3 of their extension. Every file this
        // program writes has it.
        TargetAddressInCommonPart = 0x100,
        StatusBannerApp = 0x200,
        StatusBannerSequence = 0x400,
    };

    // Bits of `unitOptions`. A clear bit 0x2 means the serial number steps
    // by itself, a clear bit 0x4 that the sub-folder does.
    enum UnitOption : quint32 {
        UnitSubDirIsSerialNumber = 0x1,
        UnitSerialNumberManualAdjust = 0x2,
        UnitSubDirManualAdjust = 0x4,
        UnitAutoPrompt = 0x8,
    };

    quint32 magic = Magic;
    quint32 version = CurrentVersion;
    quint32 checksum = 0;           // as found in the file; the writer computes its own
    quint32 time = 0;               // seconds since 1970-01-01 UTC
    quint32 firstRecordOffset = Size;
    quint32 word20 = 0;             // always written as 0
    quint32 word24 = 0;             // passed through
    QString instrumentName;
    QString databasePath;           // what the project database reported at writing time
    QString sequenceName;
    quint32 unitOptions = 0;
    QString unitText1;
    QString unitText2;
    std::array<quint32, 3> words964{};  // passed through
    qint32 repeatCount = 0;
    quint32 flags = 0;
    quint32 word984 = 0;            // passed through
    QString windowName;             // the sequence's name as its window showed it
    std::array<quint32, 2> words1068{};  // passed through

    // Bytes a header of `version` takes in the file; 0 for a version that
    // cannot be read.
    static int storedSize(quint32 version);
    static bool isSupportedVersion(quint32 version) { return storedSize(version) > 0; }

    // The header bytes of a file of `version` (storedSize(version) of them)
    // moved to the current layout; what an old layout lacks is zero. Every
    // byte of the old header lands somewhere, so the checksum is the same
    // whether taken over the old bytes or the moved ones. Empty when `stored`
    // does not have the size of its version.
    static QByteArray toCurrentLayout(const QByteArray &stored, quint32 version);

    // The fields of Size bytes in the current layout; a default header for
    // any other size.
    static SqcHeader fromBytes(const QByteArray &bytes);
    // Size bytes in the current layout, the checksum field filled in by
    // computeChecksum().
    QByteArray toBytes() const;

    // The sum of all Size bytes, each as a signed 8-bit value, with the
    // checksum field taken as zero. 0 for a buffer of any other size.
    static quint32 computeChecksum(const QByteArray &bytes);
    // The checksum field of Size bytes in the current layout.
    static quint32 storedChecksum(const QByteArray &bytes);

    bool operator==(const SqcHeader &other) const = default;
};
