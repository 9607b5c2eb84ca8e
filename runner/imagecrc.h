#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The checksum a flash image check compares: a 32-bit CRC over the image
// bytes, MSB first, polynomial 0x00400007, register starting at 0 and no
// final XOR, as the programming tools compute it.
class ImageCrc
{
public:
    static quint32 compute(const QByteArray &bytes);
    // Reads the expected value as written in the job's parameters: decimal,
    // hexadecimal with "0x", or octal with a leading zero.
    static std::optional<quint32> parseExpected(const QString &text);
};
