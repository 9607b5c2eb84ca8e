#pragma once

#include <QList>
#include <QString>

// The companion of a legacy sequence file (".sqm"): one line per file that
// belongs to an application of the sequence, naming the file and the place
// below an extraction folder where it goes when the sequence is unpacked
// elsewhere. Lines are "\"<file>\"\t\"<place>\"\r\n" in the platform's 8-bit
// encoding; <place> is "<ExtractPath>\<folder>\<application>", the first part
// a literal placeholder.
class SqmFile
{
public:
    struct Entry
    {
        QString filePath;
        QString place;

        bool operator==(const Entry &other) const = default;
    };

    // The ".sqm" beside a ".sqc": the suffix replaced (any letter case), or
    // appended when the name has another one.
    static QString companionFileName(const QString &sqcFileName);
    // "<ExtractPath>\<folderName>\<applicationName>".
    static QString extractPlace(const QString &folderName, const QString &applicationName);

    // Adds the line of a file unless the same line is already there;
    // returns whether it was added. An empty path adds nothing.
    bool addFile(const QString &filePath, const QString &folderName,
                 const QString &applicationName);
    bool addEntry(const Entry &entry);

    const QList<Entry> &entries() const { return entryList; }
    // The lines as written, each ended by "\r\n".
    QByteArray toData() const;

    // Writes atomically; an empty list gives an empty file.
    [[nodiscard]] bool write(const QString &fileName);
    // Reads the lines back; lines that are not two quoted fields separated
    // by a tab are skipped.
    [[nodiscard]] bool read(const QString &fileName);
    QString errorString() const { return lastError; }

private:
    QList<Entry> entryList;
    QString lastError;
};
