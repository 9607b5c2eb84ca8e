#include "imagecrc.h"

#include <array>

namespace {

constexpr quint32 Polynomial = 0x00400007;

constexpr std::array<quint32, 256> makeTable()
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 0x80000000u) ? (value << 1) ^ Polynomial : value << 1;
        table[i] = value;
    }
    return table;
}

constexpr std::array<quint32, 256> Table = makeTable();

} // namespace

quint32 ImageCrc::compute(const QByteArray &bytes)
{
    quint32 crc = 0;
    for (const char byte : bytes)
        crc = (crc << 8) ^ Table[((crc >> 24) ^ quint8(byte)) & 0xFF];
    return crc;
}

std::optional<quint32> ImageCrc::parseExpected(const QString &text)
{
    bool ok = false;
    // base 0 reads "0x" as hexadecimal and a leading zero as octal
    const qulonglong value = text.trimmed().toULongLong(&ok, 0);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return quint32(value);
}
