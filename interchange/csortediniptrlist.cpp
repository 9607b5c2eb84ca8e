#include "csortediniptrlist.h"

namespace {

int sign(int comparison)
{
    return comparison < 0 ? -1 : (comparison > 0 ? 1 : 0);
}

} // namespace

CIniData *CSortedIniPtrList::append(const QString &section, const QString &key, const QString &value)
{
    if (used % BlockSize == 0)
        blocks.push_back(std::make_unique<CIniData[]>(size_t(BlockSize)));
    CIniData *entry = at(used++);
    entry->section = section;
    entry->key = key;
    entry->value = value;
    return entry;
}

int CSortedIniPtrList::compareItems(const CIniData &first, const CIniData &second)
{
    // QString's case-sensitive compare works on code units, not code points,
    // which is the order the old lists were kept in (a surrogate pair sorts
    // below U+E000..U+FFFF).
    const int bySection = QString::compare(first.section, second.section, Qt::CaseSensitive);
    if (bySection != 0)
        return sign(bySection);
    return sign(QString::compare(first.key, second.key, Qt::CaseSensitive));
}
