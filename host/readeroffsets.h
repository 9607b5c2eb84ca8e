#pragma once

#include <QByteArray>

// Byte positions in UTF-8 text for the character offsets a
// QXmlStreamReader reports while it reads that text: the reader counts the
// UTF-16 units of what it decoded. The walk goes on from the last offset
// asked for, so offsets asked for in rising order cost one pass in all.
class ReaderOffsets
{
public:
    // `start` is the first byte the reader decodes: past a byte order mark.
    explicit ReaderOffsets(const QByteArray &bytes, qsizetype start = 0);

    const QByteArray &data() const { return bytes; }

    qsizetype byteAt(qint64 offset);
    // The "<" of the tag the reader read from `offset` on: after text the
    // reader has counted that "<" as read already.
    qsizetype tagAt(qint64 offset);

private:
    const QByteArray bytes;   // shares the caller's bytes, no copy
    const qsizetype start;
    qsizetype byte;
    qint64 units = 0;
};
