#pragma once

#include "cinidata.h"

#include <QtGlobal>

#include <deque>

// The entries of an INI document in the order they were added. It owns them,
// and their addresses stay put while the list grows, so an index may point at
// them. They are kept in blocks rather than one allocation each, so walking
// a large document reads its entries from neighbouring memory. Despite the name nothing ever sorts it: the order of a file's lines is
// the order in which they are read and written.
class CSortedIniPtrList
{
public:
    using Storage = std::deque<CIniData>;
    using const_iterator = Storage::const_iterator;

    CSortedIniPtrList() = default;
    CSortedIniPtrList(CSortedIniPtrList &&) noexcept = default;
    CSortedIniPtrList &operator=(CSortedIniPtrList &&) noexcept = default;
    CSortedIniPtrList(const CSortedIniPtrList &) = delete;
    CSortedIniPtrList &operator=(const CSortedIniPtrList &) = delete;

    // appends a new entry and returns it; the list keeps ownership
    CIniData *append(const QString &section, const QString &key, const QString &value);

    qsizetype count() const { return qsizetype(entries.size()); }
    bool isEmpty() const { return entries.empty(); }
    void clear() { entries.clear(); }

    // `index` must lie in [0, count())
    CIniData *at(qsizetype index) { return &entries[size_t(index)]; }
    const CIniData *at(qsizetype index) const { return &entries[size_t(index)]; }

    const_iterator begin() const { return entries.begin(); }
    const_iterator end() const { return entries.end(); }

    // Orders by section, then key; both compared UTF-16 code unit by code unit
    // with case, giving -1, 0 or 1. Values do not take part.
    static int compareItems(const CIniData &first, const CIniData &second);

private:
    Storage entries;
};
