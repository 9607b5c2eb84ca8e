#pragma once

#include "cinidata.h"

#include <QtGlobal>

#include <iterator>
#include <memory>
#include <utility>
#include <vector>

// The entries of an INI document in the order they were added. It owns them,
// and their addresses stay put while the list grows, so an index may point at
// them. They are kept in blocks of a few hundred rather than one allocation
// each, so walking a large document reads its entries from neighbouring
// memory and freeing it frees a block at a time. Despite the name nothing
// ever sorts it: the order of a file's lines is the order in which they are
// read and written.
class CSortedIniPtrList
{
public:
    // Entries in list order, read only.
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = CIniData;
        using difference_type = qsizetype;
        using pointer = const CIniData *;
        using reference = const CIniData &;

        const_iterator(const CSortedIniPtrList *list, qsizetype index) : list(list), index(index) {}
        reference operator*() const { return *list->at(index); }
        pointer operator->() const { return list->at(index); }
        const_iterator &operator++()
        {
            ++index;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return index == other.index; }
        bool operator!=(const const_iterator &other) const { return index != other.index; }

    private:
        const CSortedIniPtrList *list;
        qsizetype index;
    };

    CSortedIniPtrList() = default;
    CSortedIniPtrList(CSortedIniPtrList &&other) noexcept
        : blocks(std::move(other.blocks)), used(std::exchange(other.used, 0))
    {
    }
    CSortedIniPtrList &operator=(CSortedIniPtrList &&other) noexcept
    {
        blocks = std::move(other.blocks);
        used = std::exchange(other.used, 0);
        return *this;
    }
    CSortedIniPtrList(const CSortedIniPtrList &) = delete;
    CSortedIniPtrList &operator=(const CSortedIniPtrList &) = delete;

    // appends a new entry and returns it; the list keeps ownership
    CIniData *append(const QString &section, const QString &key, const QString &value);

    qsizetype count() const { return used; }
    bool isEmpty() const { return used == 0; }
    void clear()
    {
        blocks.clear();
        used = 0;
    }

    // `index` must lie in [0, count())
    CIniData *at(qsizetype index) { return &blocks[size_t(index / BlockSize)][size_t(index % BlockSize)]; }
    const CIniData *at(qsizetype index) const
    {
        return &blocks[size_t(index / BlockSize)][size_t(index % BlockSize)];
    }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, used); }

    // Orders by section, then key; both compared UTF-16 code unit by code unit
    // with case, giving -1, 0 or 1. Values do not take part.
    static int compareItems(const CIniData &first, const CIniData &second);

private:
    static constexpr qsizetype BlockSize = 256;

    std::vector<std::unique_ptr<CIniData[]>> blocks;
    qsizetype used = 0;
};
