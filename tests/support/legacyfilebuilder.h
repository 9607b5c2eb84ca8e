#pragma once

#include <QByteArray>
#include <QtEndian>

// Legacy sequence files (".sqc") put together byte by byte, at the offsets
// the format fixes, without the program's own writer: what a reader test
// feeds the reader must not come from the code under test. Older versions
// have shorter headers (6.4: 820 bytes, 8.1: 344) and records without the
// extension a later version added.
class LegacyFileBuilder
{
public:
    static constexpr int HeaderSize = 1076;
    static constexpr int CommonSize = 2524;

    // Record kinds and the sizes of their extensions.
    enum Kind : quint32 {
        Command = 0,
        FlashProgramming = 1,
        Logic = 2,
        GeneratedTest = 3,
        Control = 4,
        FlashImage = 5,
        Jam = 6,
        Stapl = 7,
        Processor = 8,
    };
    static int extensionSize(quint32 kind)
    {
        switch (kind) {
        case Command:
            return 524;
        case FlashProgramming:
        case FlashImage:
            return 544;
        case Logic:
        case Processor:
            return 788;
        case Control:
            return 256;
        case Jam:
        case Stapl:
            return 528;
        default:
            return 0;
        }
    }

    // One record: the common part and its kind's extension, both zeroed.
    class Record
    {
    public:
        explicit Record(quint32 kind, bool withExtension = true)
            : common(CommonSize, '\0'), extension(withExtension ? extensionSize(kind) : 0, '\0')
        {
            word(776, kind);
        }
        Record &word(int offset, quint32 value) { return put(common, offset, value); }
        Record &text(int offset, const QByteArray &value) { return put(common, offset, value); }
        Record &extensionWord(int offset, quint32 value) { return put(extension, offset, value); }
        Record &extensionText(int offset, const QByteArray &value)
        {
            return put(extension, offset, value);
        }

        // The common fields most tests set.
        Record &names(const QByteArray &first, const QByteArray &second, const QByteArray &third)
        {
            return text(0, first).text(256, second).text(512, third);
        }
        Record &timeOut(quint32 value) { return word(768, value); }
        Record &options(quint32 value) { return word(772, value); }
        Record &operation(quint32 code) { return word(780, code); }
        Record &show(quint32 code) { return word(784, code); }
        Record &actions(qint32 pass, qint32 fail, qint32 reject, qint32 error)
        {
            return word(800, quint32(pass)).word(804, quint32(fail)).word(808, quint32(reject))
                .word(812, quint32(error));
        }
        // test clock source, frequency, drive level
        Record &clock(quint32 source, quint32 kHz, quint32 level)
        {
            return word(832, source).word(836, kHz).word(840, level);
        }
        Record &gang(quint32 mask) { return word(844, mask); }
        Record &flags(quint32 value) { return word(848, value); }
        Record &threshold(quint32 value) { return word(856, value); }
        // word `index` (0 to 11) of the record of TAP `tap` (1 to 32)
        Record &tapWord(int tap, int index, quint32 value)
        {
            return word(860 + (tap - 1) * 48 + index * 4, value);
        }
        Record &tapStates(quint32 start, quint32 end) { return word(2396, start).word(2400, end); }

        QByteArray bytes() const { return common + extension; }

    private:
        Record &put(QByteArray &target, int offset, quint32 value)
        {
            qToLittleEndian(value, target.data() + offset);
            return *this;
        }
        Record &put(QByteArray &target, int offset, const QByteArray &value)
        {
            target.replace(offset, value.size(), value);
            return *this;
        }

        QByteArray common;
        QByteArray extension;
    };

    explicit LegacyFileBuilder(quint32 version = 0x000C0000, int headerSize = HeaderSize)
        : header(headerSize, '\0')
    {
        headerWord(0, 0x02950870);
        headerWord(4, version);
        headerWord(16, quint32(headerSize));  // records right behind the header
    }

    LegacyFileBuilder &headerWord(int offset, quint32 value)
    {
        qToLittleEndian(value, header.data() + offset);
        return *this;
    }
    LegacyFileBuilder &headerText(int offset, const QByteArray &value)
    {
        header.replace(offset, value.size(), value);
        return *this;
    }
    LegacyFileBuilder &windowName(const QByteArray &name) { return headerText(988, name); }
    LegacyFileBuilder &sequenceFlags(quint32 flags) { return headerWord(980, flags); }
    LegacyFileBuilder &repeatCount(quint32 count) { return headerWord(976, count); }
    LegacyFileBuilder &unit(quint32 options, const QByteArray &serial, const QByteArray &folder)
    {
        return headerWord(620, options).headerText(624, serial).headerText(705, folder);
    }

    LegacyFileBuilder &add(const Record &record) { return addBytes(record.bytes()); }
    LegacyFileBuilder &addBytes(const QByteArray &bytes)
    {
        body += bytes;
        return *this;
    }

    // The header with its checksum (every byte taken as a signed 8-bit
    // value, the checksum field as zero), then the records.
    QByteArray bytes() const
    {
        QByteArray data = header;
        qToLittleEndian(quint32(0), data.data() + 8);
        quint32 sum = 0;
        for (const char byte : std::as_const(data))
            sum += quint32(qint32(qint8(byte)));
        qToLittleEndian(sum, data.data() + 8);
        return data + body;
    }

private:
    QByteArray header;
    QByteArray body;
};
