#pragma once

#include <QList>
#include <QString>

class HxSequence;

using SequencePtrList = QList<HxSequence *>;

// The project's sequences in the order they were added. The list owns them:
// a sequence leaves memory when it is removed, replaced or cleared, so
// whoever holds a pointer (a sequencer window) must let go first.
class HxSequenceList
{
public:
    HxSequenceList() = default;
    ~HxSequenceList();
    HxSequenceList(const HxSequenceList &) = delete;
    HxSequenceList &operator=(const HxSequenceList &) = delete;

    void append(HxSequence *sequence);
    bool remove(HxSequence *sequence);
    bool replace(HxSequence *oldSequence, HxSequence *newSequence);
    // the first sequence titled exactly `title`; null when none
    HxSequence *find(const QString &title) const;
    void clear();

    int count() const { return sequences.size(); }
    bool isEmpty() const { return sequences.isEmpty(); }
    HxSequence *at(int index) const { return sequences.at(index); }
    QStringList titles() const;

    SequencePtrList::const_iterator begin() const { return sequences.cbegin(); }
    SequencePtrList::const_iterator end() const { return sequences.cend(); }

private:
    SequencePtrList sequences;
};
