#pragma once

#include "ciniindex.h"
#include "csortediniptrlist.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// An INI document held in memory: an ordered list of (section, key, value)
// entries with the file it was read from or is to be written to.
//
// The file is UTF-8 text. A line whose stripped text starts with "[" names the
// current section (up to the next "]", or the rest of the line); any line
// holding "=" adds the entry "key=value", both sides stripped; any other
// non-empty line that is not a header adds its stripped text as a key with an
// empty value. There are no comments, no escapes and no quoting. Duplicate
// keys are kept; lookups find the first one.
//
// Lookups go through indexes rather than walking the list, so filling,
// reading and writing a document grow linearly with its size.
class CIniFile
{
    Q_DECLARE_TR_FUNCTIONS(CIniFile)

public:
    CIniFile();
    ~CIniFile();
    CIniFile(CIniFile &&) noexcept;
    CIniFile &operator=(CIniFile &&) noexcept;
    CIniFile(const CIniFile &) = delete;
    CIniFile &operator=(const CIniFile &) = delete;

    // Remembers `fileName` and replaces the entries with the file's. When the
    // file cannot be read the entries stay as they were and false is returned.
    [[nodiscard]] bool load(const QString &fileName);

    // Writes the entries to the remembered file, replacing it atomically: a
    // failure leaves any earlier file untouched.
    [[nodiscard]] bool save();

    QString fileName() const { return currentFileName; }
    void setFileName(const QString &fileName) { currentFileName = fileName; }

    // Whether the last load found the file not to be UTF-8 and read it as
    // Windows-1252, the encoding older tools wrote.
    bool readAsWindows1252() const { return windows1252; }

    // the text of the last failed load or save, naming the file
    QString errorString() const { return lastError; }

    // the value of the first entry with exactly this section and key
    QString value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;

    // replaces the value of the first matching entry in place, else appends
    void setValue(const QString &section, const QString &key, const QString &value);

    // the keys of the section in list order, duplicates included
    QStringList keys(const QString &section) const;

    qsizetype entryCount() const { return entries.count(); }
    const CSortedIniPtrList &entryList() const { return entries; }
    // the entries of the section in list order, duplicates included
    QList<const CIniData *> sectionEntryList(const QString &section) const
    {
        return sectionEntries.value(section);
    }

private:
    CIniData *findFirst(const QString &section, const QString &key) const;
    void indexNewEntries() const;
    void parse(QStringView text);
    QByteArray serialize() const;

    QString currentFileName;
    QString lastError;
    bool windows1252 = false;
    CSortedIniPtrList entries;
    // The first entry of each (section, key) pair, among the first
    // `indexedEntries` entries. Entries are indexed at the first lookup
    // after they were added: a file read through sectionEntryList(), or
    // filled section by section, needs no index.
    mutable CIniIndex firstEntry;
    mutable qsizetype indexedEntries = 0;
    // section to its entries in list order; a section exists while it has one
    QHash<QString, QList<const CIniData *>> sectionEntries;
};
