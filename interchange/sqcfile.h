#pragma once

#include "sqcheader.h"
#include "sqcrecord.h"

#include <QList>
#include <QString>

#include <functional>

class QIODevice;

// A legacy sequence file (".sqc"): its header and its item records, read
// from and written to the binary format. Reading takes every version the
// format ever had that can still be understood (6.4, 8.1, 9.0 to 12.0) and
// brings the records up to date; writing always produces version 12.0.
class SqcFile
{
public:
    // The codes behind the texts that errorString() and the error box show.
    enum Error : int {
        NoError = 0,
        CantOpen = 1,
        BadHeader = 2,
        WrongType = 3,
        WrongSize = 4,
        BadSumCheck = 5,
        BadBuffer = 6,
        WriteError = 7,
        ReadError = 8,
        IncompatibleVersion = 9,
    };

    SqcFile() = default;

    // Reads the file; on failure the header and records are empty and
    // errorString() names the problem and the file.
    [[nodiscard]] bool read(const QString &fileName);
    // Reads from a device open for reading (a file or a buffer); fileName()
    // is what error texts name.
    [[nodiscard]] bool read(QIODevice *device);
    // Reads the bytes of a whole file held in memory.
    [[nodiscard]] bool readData(const QByteArray &data);

    // Writes the file atomically: on failure the file is left as it was.
    [[nodiscard]] bool write(const QString &fileName);
    // Writes to a device open for writing; stops at the first short write.
    [[nodiscard]] bool write(QIODevice *device);
    // Writes the header, then the records `next` fills one at a time until
    // it returns false, in place of the records held; atomically, as
    // write(fileName). A file of many records never has them all in memory.
    using RecordSource = std::function<bool(SqcRecord &record)>;
    [[nodiscard]] bool write(const QString &fileName, const RecordSource &next);
    // The bytes write() produces.
    QByteArray toData() const;

    QString fileName() const { return name; }
    void setFileName(const QString &fileName) { name = fileName; }

    const SqcHeader &header() const { return fileHeader; }
    void setHeader(const SqcHeader &header) { fileHeader = header; }
    const QList<SqcRecord> &records() const { return recordList; }
    void setRecords(const QList<SqcRecord> &records) { recordList = records; }
    void appendRecord(const SqcRecord &record) { recordList.append(record); }

    Error error() const { return lastError; }
    // "<error text>: <file name>", empty when the last operation succeeded.
    QString errorString() const;

    // "Can't open", "Bad Header", ...; "Unknown error" for any other code.
    static QString errorText(int code);
    // "<error text>: <file name>": the text of the error box.
    static QString errorMessage(int code, const QString &fileName);

    // The header as the writer puts it into the file: current version,
    // records right behind the header, target addresses in the common part.
    SqcHeader writtenHeader() const;

private:
    bool fail(Error code);
    bool readFrom(QIODevice *device);
    bool readRecords(QIODevice *device, quint32 version);
    void bringUpToDate(SqcRecord &record) const;

    QString name;
    SqcHeader fileHeader;
    QList<SqcRecord> recordList;
    Error lastError = NoError;
};
