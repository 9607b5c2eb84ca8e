#include "sqcheader.h"

#include "sqcfile_p.h"

#include <cstring>

using namespace SqcBytes;

namespace {

// Offsets in the current layout.
enum Offset : int {
    MagicAt = 0,
    VersionAt = 4,
    ChecksumAt = 8,
    TimeAt = 12,
    FirstRecordAt = 16,
    Word20At = 20,
    Word24At = 24,
    InstrumentAt = 28,
    PathAt = 108,
    NameAt = 364,
    UnitOptionsAt = 620,
    UnitText1At = 624,
    UnitText2At = 705,
    // 961 to 963 are alignment padding
    Words964At = 964,
    RepeatCountAt = 976,
    FlagsAt = 980,
    Word984At = 984,
    WindowNameAt = 988,
    Words1068At = 1068,
};

// The seven leading words and the instrument name sit where they always did.
constexpr int commonPrefixSize = PathAt;

// 8.1 kept path and name in 16 bytes each and packed the fields that now
// start at 620 right behind them.
constexpr int shortNameSize81 = 16;
constexpr int path81At = commonPrefixSize;
constexpr int name81At = path81At + shortNameSize81;
constexpr int tail81At = name81At + shortNameSize81;

static_assert(SqcHeader::Size81 - tail81At <= SqcHeader::Size - UnitOptionsAt);
static_assert(SqcHeader::Size64 <= SqcHeader::Size);

} // namespace

int SqcHeader::storedSize(quint32 version)
{
    switch (version) {
    case Version64:
        return Size64;
    case Version81:
        return Size81;
    case Version90:
    case Version100:
    case Version110:
    case Version120:
        return Size;
    default:
        return 0;
    }
}

QByteArray SqcHeader::toCurrentLayout(const QByteArray &stored, quint32 version)
{
    const int size = storedSize(version);
    if (size == 0 || stored.size() != size)
        return QByteArray();
    if (size == Size)
        return stored;

    QByteArray current(Size, '\0');
    char *to = current.data();
    const char *from = stored.constData();
    if (version == Version64) {
        // 6.4 is the current layout cut short after its first 820 bytes.
        std::memcpy(to, from, size_t(Size64));
    } else {
        std::memcpy(to, from, size_t(commonPrefixSize));
        std::memcpy(to + PathAt, from + path81At, size_t(shortNameSize81));
        std::memcpy(to + NameAt, from + name81At, size_t(shortNameSize81));
        std::memcpy(to + UnitOptionsAt, from + tail81At, size_t(Size81 - tail81At));
    }
    return current;
}

SqcHeader SqcHeader::fromBytes(const QByteArray &bytes)
{
    SqcHeader header;
    if (bytes.size() != Size)
        return header;
    const char *data = bytes.constData();
    header.magic = readU32(data, MagicAt);
    header.version = readU32(data, VersionAt);
    header.checksum = readU32(data, ChecksumAt);
    header.time = readU32(data, TimeAt);
    header.firstRecordOffset = readU32(data, FirstRecordAt);
    header.word20 = readU32(data, Word20At);
    header.word24 = readU32(data, Word24At);
    header.instrumentName = readText(data, InstrumentAt, InstrumentNameSize);
    header.databasePath = readText(data, PathAt, PathSize);
    header.sequenceName = readText(data, NameAt, SequenceNameSize);
    header.unitOptions = readU32(data, UnitOptionsAt);
    header.unitText1 = readText(data, UnitText1At, UnitText1Size);
    header.unitText2 = readText(data, UnitText2At, UnitText2Size);
    for (int i = 0; i < int(header.words964.size()); ++i)
        header.words964[size_t(i)] = readU32(data, Words964At + 4 * i);
    header.repeatCount = readI32(data, RepeatCountAt);
    header.flags = readU32(data, FlagsAt);
    header.word984 = readU32(data, Word984At);
    header.windowName = readText(data, WindowNameAt, WindowNameSize);
    for (int i = 0; i < int(header.words1068.size()); ++i)
        header.words1068[size_t(i)] = readU32(data, Words1068At + 4 * i);
    return header;
}

QByteArray SqcHeader::toBytes() const
{
    QByteArray bytes(Size, '\0');
    char *data = bytes.data();
    writeU32(data, MagicAt, magic);
    writeU32(data, VersionAt, version);
    writeU32(data, TimeAt, time);
    writeU32(data, FirstRecordAt, firstRecordOffset);
    writeU32(data, Word20At, word20);
    writeU32(data, Word24At, word24);
    writeText(data, InstrumentAt, InstrumentNameSize, instrumentName);
    writeText(data, PathAt, PathSize, databasePath);
    writeText(data, NameAt, SequenceNameSize, sequenceName);
    writeU32(data, UnitOptionsAt, unitOptions);
    writeText(data, UnitText1At, UnitText1Size, unitText1);
    writeText(data, UnitText2At, UnitText2Size, unitText2);
    for (int i = 0; i < int(words964.size()); ++i)
        writeU32(data, Words964At + 4 * i, words964[size_t(i)]);
    writeI32(data, RepeatCountAt, repeatCount);
    writeU32(data, FlagsAt, flags);
    writeU32(data, Word984At, word984);
    writeText(data, WindowNameAt, WindowNameSize, windowName);
    for (int i = 0; i < int(words1068.size()); ++i)
        writeU32(data, Words1068At + 4 * i, words1068[size_t(i)]);
    writeU32(data, ChecksumAt, computeChecksum(bytes));
    return bytes;
}

quint32 SqcHeader::computeChecksum(const QByteArray &bytes)
{
    if (bytes.size() != Size)
        return 0;
    // The old writer added the bytes as (signed) chars into an unsigned
    // accumulator; the sign extension is part of the format.
    quint32 sum = 0;
    const char *data = bytes.constData();
    for (int i = 0; i < Size; ++i) {
        if (i >= ChecksumAt && i < ChecksumAt + 4)
            continue;
        sum += quint32(qint32(qint8(data[i])));
    }
    return sum;
}

quint32 SqcHeader::storedChecksum(const QByteArray &bytes)
{
    return bytes.size() == Size ? readU32(bytes.constData(), ChecksumAt) : 0;
}
