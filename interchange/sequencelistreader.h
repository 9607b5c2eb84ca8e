#pragma once

#include "hxsequenceitem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class CIniData;
class CIniFile;

// One item as a sequence list file describes it, before it is checked.
struct ImportedItem
{
    // The kind "ItemType" gives: none when it is missing, invalid for any
    // text but the three names. Neither passes validation.
    enum class Kind { None, Invalid, Application, Operation, Command };

    QString key;   // the item's key in SEQUENCE, which is also its section
    Kind kind = Kind::None;
    HxSequenceItem item;
};

// Rebuilds the items of a sequence list file held in an INI document. What
// the file leaves out gets the default of a new item; a number that does not
// read as a decimal integer counts as 0, a boolean is set only by a value
// that reads as the integer 1. Values carry their line breaks escaped, as
// the writer escapes them. Sections are found by the keys in SEQUENCE,
// so item numbers need not be contiguous.
class SequenceListReader
{
public:
    // The document must outlive the reader.
    explicit SequenceListReader(const CIniFile &document);

    // The keys of SEQUENCE in file order, duplicates included.
    QStringList itemKeys() const;
    ImportedItem buildItem(const QString &key) const;

    static int number(const QString &text);
    static bool flag(const QString &text);

private:
    using Entries = QList<const CIniData *>;

    // The entries of an item's section, SEQUENCE being none.
    Entries sectionEntries(const QString &section) const;
    QString value(const Entries &entries, const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    void readParameters(const QString &key, HxSequenceItem &item) const;

    const CIniFile &document;
    // the first value of each key of SEQUENCE
    QHash<QString, QString> sequenceNames;
};
