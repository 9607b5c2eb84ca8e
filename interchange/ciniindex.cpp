#include "ciniindex.h"

#include <QHashFunctions>

#include <utility>

size_t CIniIndex::hashOf(QStringView section, QStringView key)
{
    return qHashMulti(0, section, key);
}

CIniData *CIniIndex::find(QStringView section, QStringView key) const
{
    if (slots.empty())
        return nullptr;
    const size_t hash = hashOf(section, key);
    const size_t mask = slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot &slot = slots[at];
        if (!slot.entry)
            return nullptr;
        if (slot.hash == hash && slot.entry->section == section && slot.entry->key == key)
            return slot.entry;
    }
}

void CIniIndex::insert(CIniData *entry)
{
    // At most half full, so probes stay short and always end at a free slot.
    if (size_t(used + 1) * 2 > slots.size())
        grow();
    place(hashOf(entry->section, entry->key), entry);
    ++used;
}

void CIniIndex::place(size_t hash, CIniData *entry)
{
    const size_t mask = slots.size() - 1;
    size_t at = hash & mask;
    while (slots[at].entry)
        at = (at + 1) & mask;
    slots[at] = {hash, entry};
}

void CIniIndex::grow()
{
    const size_t size = qMax<size_t>(16, slots.size() * 2);
    const std::vector<Slot> old = std::exchange(slots, std::vector<Slot>(size));
    for (const Slot &slot : old) {
        if (slot.entry)
            place(slot.hash, slot.entry);
    }
}

void CIniIndex::clear()
{
    slots.clear();
    used = 0;
}
