#pragma once

#include <QString>
#include <QStringList>

// What the sequencer knows of the host's application types: the types it
// recognises, the application class it derives from a type, which types a
// sequence may hold, and the operation names the plug-in itself relies on.
// Type names are compared exactly (case-sensitive), as the host reports them.
namespace ApplicationTypes {

// The class of an application; it is also the kind of record an item becomes
// in a legacy sequence file, so the values are stored and never change.
enum class ApplicationClass : int {
    Unknown = -1,               // a type the catalogue does not know
    Command = 0,                // system command, or a command-line driven type
    FlashProgramming = 1,       // flash device programmed from an application file
    LogicProgramming = 2,       // programmable-logic programming
    GeneratedTest = 3,          // generated boundary-scan test
    Control = 4,                // a control step of the plug-in
    FlashImage = 5,             // flash image operation
    JamScript = 6,
    StaplScript = 7,
    InSystemConfiguration = 8,  // in-system configuration or processor runner
};

// Why a type can or cannot go into a sequence; anything above Usable refuses it.
enum class Usability : int {
    Usable = 0,
    NoType = 1,
    InteractiveTool = 2,
};

// The plug-in's own item families.
inline const QString Ctrl = QStringLiteral("Ctrl");
inline const QString Sys = QStringLiteral("Sys");

// Generated tests and their runner.
inline const QString ChainIntegrityTest = QStringLiteral("Chain Integrity Test");
inline const QString NetConnectionTest = QStringLiteral("Net Connection Test");
inline const QString MemoryBankTest = QStringLiteral("Memory Bank Test");
inline const QString AcCoupledNetTest = QStringLiteral("AC-Coupled Net Test");
inline const QString InterBoardConnectionTest = QStringLiteral("Inter-Board Connection Test");
inline const QString FlashConnectionTest = QStringLiteral("Flash Connection Test");
inline const QString ActiveStimulusTest = QStringLiteral("Active Stimulus Test");
inline const QString LogicClusterTest = QStringLiteral("Logic Cluster Test");
inline const QString GlueLogicCheck = QStringLiteral("Glue Logic Check");
inline const QString MemoryDeviceTest = QStringLiteral("Memory Device Test");
inline const QString PullResistorTest = QStringLiteral("Pull Resistor Test");
inline const QString ScanSuiteRunner = QStringLiteral("Scan Suite Runner");

// Flash programming.
inline const QString FlashDeviceProgramming = QStringLiteral("Flash Device Programming");
inline const QString FlashImageRunner = QStringLiteral("Flash Image Runner");

// Programmable logic.
inline const QString FuseMapProgramming = QStringLiteral("Fuse Map Programming");
inline const QString PldVectorProgramming = QStringLiteral("PLD Vector Programming");
inline const QString FuseMapRunner = QStringLiteral("Fuse Map Runner");
inline const QString PldVectorRunner = QStringLiteral("PLD Vector Runner");

// In-system configuration and processor runners.
inline const QString IscDeviceProgramming = QStringLiteral("ISC Device Programming");
inline const QString ProcessorImageRunner = QStringLiteral("Processor Image Runner");

// Script players.
inline const QString JamScriptPlayer = QStringLiteral("Jam Script Player");
inline const QString StaplScriptPlayer = QStringLiteral("STAPL Script Player");

// Command-line driven types.
inline const QString SvfVectorPlayer = QStringLiteral("SVF Vector Player");
inline const QString WglVectorPlayer = QStringLiteral("WGL Vector Player");
inline const QString NandProgramming = QStringLiteral("NAND Programming");
inline const QString DiskOnChipProgramming = QStringLiteral("Disk-On-Chip Programming");
inline const QString PowerBusProgramming = QStringLiteral("Power Bus Programming");
inline const QString ClusterFunctionalTest = QStringLiteral("Cluster Functional Test");
inline const QString ProcessorRamCheck = QStringLiteral("Processor RAM Check");

// Interactive host tools: never part of a sequence.
inline const QString InteractiveTool1 = QStringLiteral("Interactive Tool 1");
inline const QString InteractiveTool2 = QStringLiteral("Interactive Tool 2");
inline const QString InteractiveTool3 = QStringLiteral("Interactive Tool 3");
inline const QString InteractiveTool4 = QStringLiteral("Interactive Tool 4");

// Operations the plug-in names itself. The host's "Oper" list supplies the
// rest; the three forced outcomes are appended to every application's list.
inline const QString ExecuteTest = QStringLiteral("Execute Test");
inline const QString TestInfrastructure = QStringLiteral("Test Infrastructure");
inline const QString ExecuteCommand = QStringLiteral("Execute Command");
inline const QString ForcePass = QStringLiteral("Force Pass");
inline const QString ForceFail = QStringLiteral("Force Fail");
inline const QString SkipOperation = QStringLiteral("Skip Operation");

// The host's names of the type actions behind "Execute Test" and
// "Test Infrastructure".
inline const QString ExecuteAction = QStringLiteral("Execute");
inline const QString InfraAction = QStringLiteral("Infra");

// Show options the plug-in chooses itself; an application's own options
// come from its "Show" list.
inline const QString ShowStatus = QStringLiteral("Status");
inline const QString ShowReport = QStringLiteral("Report");

// The class of an item of `type` whose operation is `operation`; -1 for a
// type outside the catalogue. Only the command-line driven types that can
// also run an infrastructure test look at the operation.
int applicationClass(const QString &type, const QString &operation);

// 0 usable, 1 no type at all, 2 an interactive tool (see Usability).
int applicationUsability(const QString &type);

bool isPseudoType(const QString &type);
bool isInteractiveTool(const QString &type);

// Types run as a command line: their class is Command unless the operation
// is "Test Infrastructure" (for those that depend on the operation).
bool isCommandLineDriven(const QString &type);

// Command-line driven types whose command line is the "CmdLine" parameter.
bool usesCmdLine(const QString &type);
// Types whose command line is "CmdLineG1" and whose files are named by
// "NameG1" and "QuilNameG1".
bool usesCmdLineG1(const QString &type);

// The operations every application item offers after its host-defined ones.
QStringList forcedOperations();

} // namespace ApplicationTypes
