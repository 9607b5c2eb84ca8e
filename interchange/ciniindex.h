#pragma once

#include "cinidata.h"

#include <QStringView>

#include <vector>

// Finds the first entry of a (section, key) pair in an INI document.
//
// An open-addressing table of (hash, entry) slots in one array: a probe
// reads neighbouring slots and looks at an entry only when its hash
// matches, and growing it walks the array in order. Large documents spend
// their time on cache misses, and a table of nodes and buckets gives two
// misses per probe where this gives one.
class CIniIndex
{
public:
    static size_t hashOf(QStringView section, QStringView key);

    // the entry added first for the pair; null when there is none
    CIniData *find(QStringView section, QStringView key) const;
    // Records `entry` as the first of its pair; the pair must not be known.
    void insert(CIniData *entry);
    void clear();
    qsizetype count() const { return used; }

private:
    struct Slot
    {
        size_t hash = 0;
        CIniData *entry = nullptr;
    };

    void grow();
    void place(size_t hash, CIniData *entry);

    std::vector<Slot> slots;
    qsizetype used = 0;
};
