#include "hxsequencelist.h"

#include "hxsequence.h"

#include <QStringList>

HxSequenceList::~HxSequenceList()
{
    clear();
}

void HxSequenceList::append(HxSequence *sequence)
{
    if (sequence && !sequences.contains(sequence))
        sequences.append(sequence);
}

bool HxSequenceList::remove(HxSequence *sequence)
{
    if (!sequences.removeOne(sequence))
        return false;
    delete sequence;
    return true;
}

bool HxSequenceList::replace(HxSequence *oldSequence, HxSequence *newSequence)
{
    const qsizetype index = sequences.indexOf(oldSequence);
    if (index < 0 || !newSequence)
        return false;
    if (oldSequence == newSequence)
        return true;
    sequences[index] = newSequence;
    delete oldSequence;
    return true;
}

HxSequence *HxSequenceList::find(const QString &title) const
{
    for (HxSequence *sequence : sequences) {
        if (sequence->title() == title)
            return sequence;
    }
    return nullptr;
}

void HxSequenceList::clear()
{
    const SequencePtrList old = std::exchange(sequences, {});
    qDeleteAll(old);
}

QStringList HxSequenceList::titles() const
{
    QStringList result;
    for (const HxSequence *sequence : sequences)
        result.append(sequence->title());
    return result;
}
