#include "logicfamilies.h"

#include <gtest/gtest.h>

using namespace LogicFamilies;

TEST(LogicFamilies, AliasesGiveTheCanonicalNameAndLookupIsExact)
{
    const struct {
        const char *displayName;
        const char *canonical;
    } cases[] = {
        {"Lattice ispLSI - JEDEC", "Lattice ispLSI - JEDEC, ISP protocol"},
        {"Lattice BSCAN - JEDEC", "Lattice ispLSI - JEDEC, Vemo protocol"},
        {"Altera FLEX 10K logic - TTF", "Altera Flex10K logic - TTF"},
        // The canonical spelling of the FLEX family has no row of its own.
        {"Altera Flex10K logic - TTF", ""},
        {"", ""}, {"lattice bscan - jedec", ""}, {"Lattice BSCAN - JEDEC ", ""}, {"20", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(familyCanonicalName(QString::fromLatin1(c.displayName)), QString::fromLatin1(c.canonical))
            << "'" << c.displayName << "'";
    }
}
