#include "logicfamilies.h"

#include <gtest/gtest.h>

using namespace LogicFamilies;

TEST(LogicFamilies, AliasesShareTheIdAndLookupIsExact)
{
    const struct {
        const char *displayName;
        const char *id;
        const char *canonical;
    } cases[] = {
        {"Lattice ispLSI - JEDEC", "20", "Lattice ispLSI - JEDEC, ISP protocol"},
        {"Lattice BSCAN - JEDEC", "21", "Lattice ispLSI - JEDEC, Vemo protocol"},
        {"Vantis MACH 3/4 - JEDEC", "04", "Lattice MACH 3/4 - JEDEC"},
        {"Xilinx XC9500(XL) - JEDEC", "30", "Xilinx XC9500(XL) - JEDEC"},
        {"Altera FLEX 10K logic - TTF", "13", "Altera Flex10K logic - TTF"},
        // The canonical spelling of the FLEX family has no row of its own.
        {"Altera Flex10K logic - TTF", "", ""},
        {"", "", ""},
        {"lattice bscan - jedec", "", ""},
        {"Lattice BSCAN - JEDEC ", "", ""},
        {"20", "", ""},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromLatin1(c.displayName);
        EXPECT_EQ(familyId(name), QString::fromLatin1(c.id)) << "'" << c.displayName << "'";
        EXPECT_EQ(familyCanonicalName(name), QString::fromLatin1(c.canonical))
            << "'" << c.displayName << "'";
    }
}
