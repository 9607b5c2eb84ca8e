#include "sqcfile.h"

#include "sqcfile_p.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

namespace {

// QIODevice::read() may hand out less than asked for on devices other than
// plain files; the format's rules are about what the file holds, so keep
// reading until the count is reached or the data ends.
qint64 readFully(QIODevice *device, char *data, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const qint64 got = device->read(data + total, size - total);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
}

bool isImageOperation(qint32 code)
{
    // Load, save, compare, preload with 0's, preload with 1's: operations on
    // an image that old files stored as flash programming records.
    switch (code) {
    case 4:
    case 5:
    case 7:
    case 8:
    case 9:
        return true;
    default:
        return false;
    }
}

// The "Aw" instrument flag, which files before 10.0 kept in the flash
// extension.
constexpr quint32 awFlag = 0x4;

SqcFile::Error writeRecord(QIODevice *device, const SqcRecord &record)
{
    const QByteArray common = record.commonPart();
    if (device->write(common) != common.size())
        return SqcFile::WriteError;
    const QByteArray extension = record.extensionBytes();
    if (!extension.isEmpty() && device->write(extension) != extension.size())
        return SqcFile::WriteError;
    return SqcFile::NoError;
}

SqcFile::Error writeAll(QIODevice *device, const SqcHeader &header,
                        const SqcFile::RecordSource &next)
{
    if (!device || !device->isWritable())
        return SqcFile::CantOpen;
    const QByteArray headerBytes = header.toBytes();
    if (device->write(headerBytes) != headerBytes.size())
        return SqcFile::WriteError;
    SqcRecord record;
    while (next(record)) {
        if (const SqcFile::Error error = writeRecord(device, record); error != SqcFile::NoError)
            return error;
    }
    return SqcFile::NoError;
}

// The records of a list, one after the other.
SqcFile::RecordSource recordsOf(const QList<SqcRecord> &records)
{
    return [&records, at = qsizetype(0)](SqcRecord &record) mutable {
        if (at >= records.size())
            return false;
        record = records.at(at++);
        return true;
    };
}

} // namespace

bool SqcFile::read(const QString &fileName)
{
    name = fileName;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        fileHeader = SqcHeader();
        recordList.clear();
        return fail(CantOpen);
    }
    return read(&file);
}

bool SqcFile::readData(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return read(&buffer);
}

bool SqcFile::read(QIODevice *device)
{
    lastError = NoError;
    fileHeader = SqcHeader();
    recordList.clear();
    if (readFrom(device))
        return true;
    // A file that fails anywhere yields nothing, not the records before the
    // damage.
    fileHeader = SqcHeader();
    recordList.clear();
    return false;
}

bool SqcFile::readFrom(QIODevice *device)
{
    if (!device || !device->isReadable())
        return fail(CantOpen);
    // Kind 8 records make the reader step back, which a pipe cannot do.
    if (device->isSequential())
        return readData(device->readAll());

    if (!device->seek(0))
        return fail(BadHeader);
    char prefix[SqcHeader::PrefixSize];
    if (readFully(device, prefix, sizeof prefix) != qint64(sizeof prefix))
        return fail(BadHeader);
    if (SqcBytes::readU32(prefix, 0) != SqcHeader::Magic)
        return fail(WrongType);
    const quint32 version = SqcBytes::readU32(prefix, 4);
    const int storedSize = SqcHeader::storedSize(version);
    if (storedSize == 0)
        return fail(IncompatibleVersion);

    QByteArray stored(storedSize, '\0');
    if (!device->seek(0) || readFully(device, stored.data(), storedSize) != storedSize)
        return fail(BadHeader);
    const QByteArray current = SqcHeader::toCurrentLayout(stored, version);
    fileHeader = SqcHeader::fromBytes(current);

    if (!readRecords(device, version))
        return false;

    // The sum is checked only once every record has been read, so a file
    // with a damaged record reports the record rather than the sum.
    if (SqcHeader::computeChecksum(current) != SqcHeader::storedChecksum(current))
        return fail(BadSumCheck);
    return true;
}

bool SqcFile::readRecords(QIODevice *device, quint32 version)
{
    const qint64 firstRecord = fileHeader.firstRecordOffset;
    // An offset at the end is a sequence without steps; one past the end
    // belongs to a file cut short.
    if (firstRecord > device->size())
        return fail(ReadError);
    if (firstRecord == device->size())
        return true;
    if (!device->seek(firstRecord))
        return fail(ReadError);

    // Room for as many records as the rest of the file can hold: the list
    // then never moves the records it already has.
    recordList.reserve((device->size() - firstRecord) / SqcRecord::CommonSize + 1);
    QByteArray common(SqcRecord::CommonSize, '\0');
    QByteArray extension(SqcRecord::LogicExtensionSize, '\0');
    for (;;) {
        const qint64 got = readFully(device, common.data(), SqcRecord::CommonSize);
        if (got == 0)
            break;
        if (got != SqcRecord::CommonSize)
            return fail(ReadError);

        SqcRecord record = SqcRecord::fromCommonPart(common.constData());
        const int extensionSize = SqcRecord::extensionSize(record.kind, version);
        if (extensionSize > 0) {
            Q_ASSERT(extensionSize <= extension.size());
            if (readFully(device, extension.data(), extensionSize) != extensionSize)
                return fail(ReadError);
            if (record.kind == SqcRecord::Kind::ProcessorRunner
                && !SqcRecord::isProcessorExtension(extension.constData(), extensionSize)) {
                // Not an extension: the next record starts where it would have.
                if (!device->seek(device->pos() - extensionSize))
                    return fail(ReadError);
            } else {
                record.setExtension(extension.constData(), extensionSize);
            }
        }
        bringUpToDate(record);
        recordList.append(std::move(record));
    }
    return true;
}

void SqcFile::bringUpToDate(SqcRecord &record) const
{
    using Kind = SqcRecord::Kind;
    if (record.kind == Kind::FlashProgramming) {
        if (isImageOperation(record.operationCode))
            record.kind = Kind::FlashImage;
        // Before 10.0 the gang, the drive level and the "Aw" flag of a flash
        // record lived in its extension only.
        if (fileHeader.version < SqcHeader::Version100) {
            const auto &words = record.flash.words;
            record.gang = SqcRecord::tapSetFromText(record.flash.tapList);
            record.level = qint32(words[SqcFlashExtension::LevelWord]);
            if (words[SqcFlashExtension::OptionWord] & 0x1)
                record.instrumentFlags |= awFlag;
        }
    }
    if ((record.kind == Kind::FlashProgramming || record.kind == Kind::FlashImage)
        && !(fileHeader.flags & SqcHeader::TargetAddressInCommonPart)) {
        record.targetAddress = record.flash.words[SqcFlashExtension::TargetAddressWord];
    }
    if (record.kind == Kind::ControlStep) {
        if (record.hasExtension)
            record.timeOut = SqcRecord::leadingNumber(record.control.parameterText);
        if (record.operationCode == SqcRecord::IoPinsControlCode)
            record.instrumentFlags |= SqcRecord::IoPinsFlags;
    }
}

SqcHeader SqcFile::writtenHeader() const
{
    SqcHeader header = fileHeader;
    header.magic = SqcHeader::Magic;
    header.version = SqcHeader::CurrentVersion;
    header.firstRecordOffset = SqcHeader::Size;
    header.word20 = 0;
    // The reader has already moved every target address into the common
    // part, which is where the flag says it is.
    header.flags |= SqcHeader::TargetAddressInCommonPart;
    return header;
}

bool SqcFile::write(const QString &fileName)
{
    return write(fileName, recordsOf(recordList));
}

bool SqcFile::write(const QString &fileName, const RecordSource &next)
{
    name = fileName;
    lastError = NoError;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(CantOpen);
    if (const Error result = writeAll(&file, writtenHeader(), next); result != NoError) {
        file.cancelWriting();
        return fail(result);
    }
    if (!file.commit())
        return fail(WriteError);
    return true;
}

bool SqcFile::write(QIODevice *device)
{
    lastError = NoError;
    const Error result = writeAll(device, writtenHeader(), recordsOf(recordList));
    return result == NoError || fail(result);
}

QByteArray SqcFile::toData() const
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    writeAll(&buffer, writtenHeader(), recordsOf(recordList));
    return data;
}

QString SqcFile::errorString() const
{
    return lastError == NoError ? QString() : errorMessage(lastError, name);
}

QString SqcFile::errorText(int code)
{
    switch (code) {
    case CantOpen:
        return QStringLiteral("Can't open");
    case BadHeader:
        return QStringLiteral("Bad Header");
    case WrongType:
        return QStringLiteral("Wrong type");
    case WrongSize:
        return QStringLiteral("Wrong size");
    case BadSumCheck:
        return QStringLiteral("Bad sum check");
    case BadBuffer:
        return QStringLiteral("Bad Buffer");
    case WriteError:
        return QStringLiteral("Write error");
    case ReadError:
        return QStringLiteral("Read error");
    case IncompatibleVersion:
        return QStringLiteral("Incompatible file version");
    default:
        return QStringLiteral("Unknown error");
    }
}

QString SqcFile::errorMessage(int code, const QString &fileName)
{
    return QStringLiteral("%1: %2").arg(errorText(code), fileName);
}

bool SqcFile::fail(Error code)
{
    lastError = code;
    return false;
}
