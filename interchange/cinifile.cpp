#include "cinifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace {

// Windows-1252 is Latin-1 but for 0x80 to 0x9F; the five codes it leaves
// undefined keep their Latin-1 meaning.
QString fromWindows1252(const QByteArray &bytes)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = uchar(bytes.at(i));
        text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(high[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace

CIniFile::CIniFile() = default;
CIniFile::~CIniFile() = default;
CIniFile::CIniFile(CIniFile &&) noexcept = default;
CIniFile &CIniFile::operator=(CIniFile &&) noexcept = default;

bool CIniFile::load(const QString &fileName)
{
    currentFileName = fileName;

    if (fileName.isEmpty()) {
        lastError = tr("Cannot load an INI document: no file name");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        //: %1 = INI File, %2 = reason
        lastError = tr("Cannot open \"%1\" for reading: %2").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        //: %1 = INI File, %2 = reason
        lastError = tr("Cannot read \"%1\": %2").arg(fileName, file.errorString());
        return false;
    }

    // An editor's byte-order mark is dropped so that it does not become part
    // of the first key. A file that is not UTF-8 was written by an older
    // tool, in Windows-1252: read that way its accented letters stay letters.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    windows1252 = decoder.hasError();
    if (windows1252)
        text = fromWindows1252(bytes);

    // The file is parsed into a document of its own and taken over whole:
    // entries and indexes are replaced together, and no lookup can find a
    // leftover of the previous contents.
    CIniFile loaded;
    loaded.parse(text);
    entries = std::move(loaded.entries);
    firstEntry = std::move(loaded.firstEntry);
    indexedEntries = loaded.indexedEntries;
    sectionEntries = std::move(loaded.sectionEntries);
    lastError.clear();
    return true;
}

namespace {

// One copy of each key and of each short value: a file names the same keys
// and the same few values ("1", "Next", "Status") in every item, and a
// string of their own for every line made loading, holding and freeing a
// large file cost an allocation per key and value.
class SharedTexts
{
public:
    QString text(QStringView view)
    {
        if (view.size() > longestShared)
            return view.toString();
        const auto found = texts.constFind(view);
        if (found != texts.cend())
            return *found;
        QString copy = view.toString();
        // A file of many different short values (numbers, labels) is
        // not worth remembering beyond this.
        if (texts.size() < mostShared)
            texts.insert(QStringView(copy), copy);
        return copy;
    }

private:
    static constexpr qsizetype longestShared = 24;
    static constexpr qsizetype mostShared = 4096;
    // The keys view the values' own characters, which never move.
    QHash<QStringView, QString> texts;
};

} // namespace

void CIniFile::parse(QStringView text)
{
    SharedTexts shared;
    QString section;
    QList<const CIniData *> *sectionRun = nullptr;
    const auto append = [&](const QString &key, const QString &value) {
        if (!sectionRun)
            sectionRun = &sectionEntries[section];
        sectionRun->append(entries.append(section, key, value));
    };
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        qsizetype lineEnd = text.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        QStringView line = text.sliced(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);

        const QStringView stripped = line.trimmed();
        if (stripped.isEmpty())
            continue;

        const bool isHeader = stripped.startsWith(u'[');
        if (isHeader) {
            // The name is cut from the raw line and kept as it stands, blanks
            // included: "[ a ]" names the section " a ". Writers never put
            // blanks there, so this only matters for hand-edited files.
            const qsizetype open = line.indexOf(u'[');
            const qsizetype close = line.indexOf(u']', open + 1);
            section = (close < 0 ? line.sliced(open + 1) : line.sliced(open + 1, close - open - 1))
                          .toString();
            sectionRun = nullptr;
        }

        // Not an else: a header holding "=" also adds an entry to the section
        // it has just opened, so "[a=b]" gives section "a=b" with the key "[a"
        // and the value "b]".
        const qsizetype equals = stripped.indexOf(u'=');
        if (equals >= 0) {
            append(shared.text(stripped.first(equals).trimmed()),
                   shared.text(stripped.sliced(equals + 1).trimmed()));
        } else if (!isHeader) {
            append(shared.text(stripped), QString());
        }
    }
}

bool CIniFile::save()
{
    if (currentFileName.isEmpty()) {
        lastError = tr("Cannot save the INI document: no file name");
        return false;
    }

    QSaveFile file(currentFileName);
    if (!file.open(QIODevice::WriteOnly)) {
        //: %1 = INI File, %2 = reason
        lastError = tr("Cannot open \"%1\" for writing: %2").arg(currentFileName, file.errorString());
        return false;
    }
    // Until commit() the old file is untouched; QSaveFile drops the
    // temporary copy when anything fails on the way.
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        //: %1 = INI File, %2 = reason
        lastError = tr("Cannot write \"%1\": %2").arg(currentFileName, file.errorString());
        return false;
    }
    lastError.clear();
    return true;
}

QByteArray CIniFile::serialize() const
{
    // A header is written at every change of section, so a section whose
    // entries are not adjacent gets one header per run; the readers merge
    // the runs again. Leading entries of the unnamed section need none.
    // An entry without a key is written as its bare value, which reads
    // back as a key: the only way such a line can be represented.
    //
    // The text is measured first and then copied into place: appended
    // piece by piece, a large document spent its time growing the text.
    const auto walk = [this](auto &&header, auto &&line) {
        const QString *previousSection = nullptr;
        bool first = true;
        for (const auto &entry : entries) {
            const bool opens = previousSection ? entry.section != *previousSection
                                               : !entry.section.isEmpty();
            if (opens) {
                header(entry.section, first);
                previousSection = &entry.section;
            } else if (!previousSection) {
                previousSection = &entry.section;
            }
            line(entry, !entry.key.trimmed().isEmpty());
            first = false;
        }
    };
    qsizetype size = 0;
    walk([&](const QString &section, bool first) { size += section.size() + (first ? 3 : 4); },
         [&](const CIniData &entry, bool keyed) {
             size += (keyed ? entry.key.size() + 1 : 0) + entry.value.size() + 1;
         });

    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    const auto put = [&out](QStringView piece) {
        std::copy(piece.begin(), piece.end(), out);
        out += piece.size();
    };
    walk(
        [&](const QString &section, bool first) {
            put(first ? u"[" : u"\n[");
            put(section);
            put(u"]\n");
        },
        [&](const CIniData &entry, bool keyed) {
            if (keyed) {
                put(entry.key);
                put(u"=");
            }
            put(entry.value);
            put(u"\n");
        });
    Q_ASSERT(out == text.data() + text.size());
    return text.toUtf8();
}

CIniData *CIniFile::findFirst(const QString &section, const QString &key) const
{
    indexNewEntries();
    return firstEntry.find(section, key);
}

void CIniFile::indexNewEntries() const
{
    // Only the first entry of a (section, key) pair is ever found by a lookup.
    for (; indexedEntries < entries.count(); ++indexedEntries) {
        CIniData *entry = const_cast<CSortedIniPtrList &>(entries).at(indexedEntries);
        if (!firstEntry.find(entry->section, entry->key))
            firstEntry.insert(entry);
    }
}

QString CIniFile::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const CIniData *found = findFirst(section, key);
    return found ? found->value : defaultValue;
}

void CIniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    // Entries of a section share one copy of its name: callers build the
    // name afresh for every call, and a large document would otherwise hold
    // as many copies as it has entries.
    const auto sectionFound = sectionEntries.find(section);
    const bool sectionKnown = sectionFound != sectionEntries.end();
    const QString &sharedSection = sectionKnown ? sectionFound.key() : section;

    // A small section is looked through where it is: an export fills
    // sections of a dozen entries one after the other, and the index of the
    // whole document is left to the first lookup that needs it.
    constexpr qsizetype searchedInPlace = 64;
    CIniData *first = nullptr;
    if (sectionKnown && sectionFound->size() <= searchedInPlace) {
        for (const CIniData *entry : std::as_const(*sectionFound)) {
            if (entry->key == key) {
                first = const_cast<CIniData *>(entry);
                break;
            }
        }
    } else if (sectionKnown) {
        first = findFirst(section, key);
    }
    if (first) {
        first->value = value;
        return;
    }
    CIniData *entry = entries.append(sharedSection, key, value);
    if (sectionKnown)
        sectionFound->append(entry);
    else
        sectionEntries.insert(section, {entry});
}

QStringList CIniFile::keys(const QString &section) const
{
    QStringList result;
    const auto found = sectionEntries.constFind(section);
    if (found == sectionEntries.cend())
        return result;
    result.reserve(found->size());
    for (const CIniData *entry : *found)
        result.append(entry->key);
    return result;
}
