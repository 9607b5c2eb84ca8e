#pragma once

#include <QStringList>

class HxSequenceItem;

// What a project can store of an imported step. Characters XML cannot carry
// (control characters, NUL) are removed from its texts, and a parameter
// whose key cannot name an XML attribute is dropped: either would make the
// project file unreadable once saved.
class StorableText
{
public:
    // Cleans `item`; the names of the fields and parameter keys it changed,
    // each once, in the order met.
    static QStringList clean(HxSequenceItem &item);
};
