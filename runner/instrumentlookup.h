#pragma once

#include "hostlink.h"

#include <QString>

// Which of the host's instruments a step means. A step names an instrument
// or "Preferred" (also written "Preferred (name)", or left empty), which is
// the host's preferred one. Steps of instruments the project no longer has
// mean none.
class InstrumentLookup
{
public:
    // The instrument's name, with its position among the host's
    // instruments in `index` (its parameters are keyed by it, as in
    // "Reset.0"); empty and -1 when the host has no such instrument.
    static QString resolve(const HostLink &link, const QString &name, int &index);
    static bool isPreferred(const QString &name);
};
