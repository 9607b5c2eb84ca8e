#include "readeroffsets.h"

ReaderOffsets::ReaderOffsets(const QByteArray &bytes, qsizetype start)
    : bytes(bytes), start(start), byte(start)
{
}

qsizetype ReaderOffsets::byteAt(qint64 offset)
{
    if (offset < units) {
        byte = start;
        units = 0;
    }
    const char *text = bytes.constData();
    while (units < offset && byte < bytes.size()) {
        // most of a project is ASCII, one unit a byte
        const qsizetype ascii = qMin(qsizetype(offset - units), bytes.size() - byte);
        qsizetype run = 0;
        while (run < ascii && uchar(text[byte + run]) < 0x80)
            ++run;
        byte += run;
        units += run;
        if (units >= offset || byte >= bytes.size())
            break;
        const uchar lead = uchar(text[byte]);
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        byte = qMin(byte + length, bytes.size());
        // a character beyond the basic plane is two UTF-16 units
        units += length == 4 ? 2 : 1;
    }
    return byte;
}

qsizetype ReaderOffsets::tagAt(qint64 offset)
{
    qsizetype at = byteAt(offset);
    if (at > 0 && at < bytes.size() && bytes.at(at) != '<' && bytes.at(at - 1) == '<')
        --at;
    return at;
}
