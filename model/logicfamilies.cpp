#include "logicfamilies.h"

#include <array>

namespace LogicFamilies {

namespace {

struct FamilyEntry
{
    const char *displayName;
    const char *id;
    // Null when the display name is itself the current spelling.
    const char *canonicalName;
};

// "Altera FLEX 10K logic - TTF" maps to "Altera Flex10K logic - TTF", which
// has no row of its own: looking that spelling up gives neither an id nor a
// canonical name.
constexpr std::array<FamilyEntry, 10> families = {{
    {"Lattice ispLSI - JEDEC, ISP protocol", "20", nullptr},
    {"Lattice ispLSI - JEDEC", "20", "Lattice ispLSI - JEDEC, ISP protocol"},
    {"Lattice ispLSI - JEDEC, Vemo protocol", "21", nullptr},
    {"Lattice BSCAN - JEDEC", "21", "Lattice ispLSI - JEDEC, Vemo protocol"},
    {"Xilinx XC9500(XL) - JEDEC", "30", nullptr},
    {"Xilinx Spartan/4000/5200 - RBT/HEX", "31", nullptr},
    {"Lattice MACH 3/4 - JEDEC", "04", nullptr},
    {"Vantis MACH 3/4 - JEDEC", "04", "Lattice MACH 3/4 - JEDEC"},
    {"Altera FLASHlogic - JEDEC", "10", nullptr},
    {"Altera FLEX 10K logic - TTF", "13", "Altera Flex10K logic - TTF"},
}};

const FamilyEntry *findFamily(const QString &displayName)
{
    for (const FamilyEntry &entry : families) {
        if (displayName == QLatin1String(entry.displayName))
            return &entry;
    }
    return nullptr;
}

} // namespace

QString familyId(const QString &displayName)
{
    const FamilyEntry *entry = findFamily(displayName);
    return entry ? QString::fromLatin1(entry->id) : QString();
}

QString familyCanonicalName(const QString &displayName)
{
    const FamilyEntry *entry = findFamily(displayName);
    if (!entry)
        return QString();
    return QString::fromLatin1(entry->canonicalName ? entry->canonicalName : entry->displayName);
}

QStringList familyDisplayNames()
{
    QStringList names;
    names.reserve(int(families.size()));
    for (const FamilyEntry &entry : families)
        names.append(QString::fromLatin1(entry.displayName));
    return names;
}

} // namespace LogicFamilies
