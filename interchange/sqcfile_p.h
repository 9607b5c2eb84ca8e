#pragma once

#include <QString>
#include <QtEndian>

#include <cstring>

// Field access for the fixed layouts of legacy sequence files. Every caller
// has checked that offset + size lies inside its buffer; these helpers only
// spell out the byte order and the string convention.
//
// Texts are 8-bit, zero-terminated, in fields whose size counts the
// terminator. They are taken as Latin-1: every byte is one character, so any
// file reads and writes back unchanged, a field is never cut inside a
// character, and the Western code page the stations wrote them in differs
// from it only in rarely used punctuation. Characters outside Latin-1 are
// written as '?'.
namespace SqcBytes {

inline quint32 readU32(const char *data, int offset)
{
    return qFromLittleEndian<quint32>(data + offset);
}

inline qint32 readI32(const char *data, int offset)
{
    return qFromLittleEndian<qint32>(data + offset);
}

inline void writeU32(char *data, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, data + offset);
}

inline void writeI32(char *data, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, data + offset);
}

// A field holds at most size - 1 characters; a damaged one without a
// terminator is cut there, as the writer would cut it, so that reading and
// writing a file twice gives the same bytes. (The full 16-byte names of 8.1
// headers are not cut: they have been moved into 256-byte fields by then.)
inline QString readText(const char *data, int offset, int size)
{
    const char *start = data + offset;
    const void *end = std::memchr(start, 0, size_t(size - 1));
    const int length = end ? int(static_cast<const char *>(end) - start) : size - 1;
    return QString::fromLatin1(start, length);
}

// The buffer is zero-filled by the caller, so the terminator and the padding
// are already there.
inline void writeText(char *data, int offset, int size, const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    const int length = qMin(int(bytes.size()), size - 1);
    if (length > 0)
        std::memcpy(data + offset, bytes.constData(), size_t(length));
}

} // namespace SqcBytes
