#include "applicationtypes.h"

#include <array>

namespace ApplicationTypes {

namespace {

// A class of -2 marks the types whose class follows the operation.
constexpr int operationDependent = -2;

struct CatalogueEntry
{
    const QString *type;
    int applicationClass;
};

// Pointers to the name constants rather than copies: the table is built
// once, after the inline constants, and the names stay in one place.
const std::array<CatalogueEntry, 31> &catalogue()
{
    static const std::array<CatalogueEntry, 31> entries = {{
        {&Ctrl, int(ApplicationClass::Control)},
        {&Sys, int(ApplicationClass::Command)},
        {&ChainIntegrityTest, int(ApplicationClass::GeneratedTest)},
        {&NetConnectionTest, int(ApplicationClass::GeneratedTest)},
        {&MemoryBankTest, int(ApplicationClass::GeneratedTest)},
        {&AcCoupledNetTest, int(ApplicationClass::GeneratedTest)},
        {&InterBoardConnectionTest, int(ApplicationClass::GeneratedTest)},
        {&FlashConnectionTest, int(ApplicationClass::GeneratedTest)},
        {&ActiveStimulusTest, int(ApplicationClass::GeneratedTest)},
        {&LogicClusterTest, int(ApplicationClass::GeneratedTest)},
        {&GlueLogicCheck, int(ApplicationClass::GeneratedTest)},
        {&MemoryDeviceTest, int(ApplicationClass::GeneratedTest)},
        {&PullResistorTest, int(ApplicationClass::GeneratedTest)},
        {&ScanSuiteRunner, int(ApplicationClass::GeneratedTest)},
        {&FlashDeviceProgramming, int(ApplicationClass::FlashProgramming)},
        {&FlashImageRunner, int(ApplicationClass::FlashProgramming)},
        {&FuseMapProgramming, int(ApplicationClass::LogicProgramming)},
        {&PldVectorProgramming, int(ApplicationClass::LogicProgramming)},
        {&FuseMapRunner, int(ApplicationClass::LogicProgramming)},
        {&PldVectorRunner, int(ApplicationClass::LogicProgramming)},
        {&IscDeviceProgramming, int(ApplicationClass::InSystemConfiguration)},
        {&ProcessorImageRunner, int(ApplicationClass::InSystemConfiguration)},
        {&JamScriptPlayer, int(ApplicationClass::JamScript)},
        {&StaplScriptPlayer, int(ApplicationClass::StaplScript)},
        {&SvfVectorPlayer, int(ApplicationClass::Command)},
        {&WglVectorPlayer, int(ApplicationClass::Command)},
        {&NandProgramming, operationDependent},
        {&DiskOnChipProgramming, operationDependent},
        {&PowerBusProgramming, operationDependent},
        {&ClusterFunctionalTest, operationDependent},
        {&ProcessorRamCheck, operationDependent},
    }};
    return entries;
}

const CatalogueEntry *findEntry(const QString &type)
{
    for (const CatalogueEntry &entry : catalogue()) {
        if (*entry.type == type)
            return &entry;
    }
    return nullptr;
}

} // namespace

int applicationClass(const QString &type, const QString &operation)
{
    const CatalogueEntry *entry = findEntry(type);
    if (!entry)
        return int(ApplicationClass::Unknown);
    if (entry->applicationClass != operationDependent)
        return entry->applicationClass;
    // These tools run their own command line, except for the infrastructure
    // test, which the host runs like a generated test.
    return operation == TestInfrastructure ? int(ApplicationClass::GeneratedTest)
                                           : int(ApplicationClass::Command);
}

int applicationUsability(const QString &type)
{
    if (type.isEmpty())
        return int(Usability::NoType);
    if (isInteractiveTool(type))
        return int(Usability::InteractiveTool);
    return int(Usability::Usable);
}

bool isPseudoType(const QString &type)
{
    return type == Ctrl || type == Sys;
}

bool isInteractiveTool(const QString &type)
{
    return type == InteractiveTool1 || type == InteractiveTool2 || type == InteractiveTool3
           || type == InteractiveTool4;
}

bool isCommandLineDriven(const QString &type)
{
    return usesCmdLine(type) || usesCmdLineG1(type);
}

bool usesCmdLine(const QString &type)
{
    return type == SvfVectorPlayer || type == WglVectorPlayer || type == NandProgramming
           || type == DiskOnChipProgramming || type == PowerBusProgramming;
}

bool usesCmdLineG1(const QString &type)
{
    return type == ClusterFunctionalTest || type == ProcessorRamCheck;
}

QStringList forcedOperations()
{
    return {ForcePass, ForceFail, SkipOperation};
}

} // namespace ApplicationTypes
