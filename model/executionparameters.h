#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The execution parameters every sequence item carries: a map from key to
// text value, sorted by key, handed to the host when the item runs. This
// names the keys the plug-in uses, says which of them stay inside the
// project, and builds the keys of the per-TAP records and procedure lists.
namespace ExecutionParameters {

using Parameters = QMap<QString, QString>;

namespace Key {
inline const QString Show = QStringLiteral("Show");
inline const QString SeqOperation = QStringLiteral("SeqOperation");
inline const QString ItemNumber = QStringLiteral("ItemNumber");
inline const QString WorkDir = QStringLiteral("WorkDir");
inline const QString CmdLine = QStringLiteral("CmdLine");
inline const QString CmdLineG1 = QStringLiteral("CmdLineG1");
inline const QString QuilNameG1 = QStringLiteral("QuilNameG1");
inline const QString NameG1 = QStringLiteral("NameG1");
inline const QString UnitIdentSN = QStringLiteral("UnitIdentSN");
inline const QString UnitIdentFolder = QStringLiteral("UnitIdentFolder");

// Instrument and TAP settings.
inline const QString InstrumentName = QStringLiteral("InstrumentName");
inline const QString UseDefaultsCtrl = QStringLiteral("UseDefaultsCtrl");
inline const QString UseDefaultsPod = QStringLiteral("UseDefaultsPod");
inline const QString UseDefaultsTap = QStringLiteral("UseDefaultsTap");
inline const QString BoardTAP = QStringLiteral("BoardTAP");
inline const QString TckSrc = QStringLiteral("TckSrc");
inline const QString TckkHz = QStringLiteral("TckkHz");
inline const QString Level = QStringLiteral("Level");
// Also the name of an instrument flag; see InstrumentFlags.
inline const QString Threshold = QStringLiteral("Threshold");
inline const QString TapSState = QStringLiteral("TapSState");
inline const QString TapEState = QStringLiteral("TapEState");
// The gang TAP set as its bit mask (TAP 1 to 4 as bits 0 to 3) minus 1.
inline const QString Gang = QStringLiteral("Gang");
inline const QString Taps = QStringLiteral("Taps");
inline const QString TapCount = QStringLiteral("TapCount");
inline const QString Flags = QStringLiteral("Flags");

// Procedure lists and programmable logic.
inline const QString ProcsIncluded = QStringLiteral("ProcsIncluded");
inline const QString ProcsExcluded = QStringLiteral("ProcsExcluded");
inline const QString Action = QStringLiteral("Action");
inline const QString Family = QStringLiteral("Family");
inline const QString FamilyName = QStringLiteral("FamilyName");
inline const QString FamilyId = QStringLiteral("FamilyId");
inline const QString FamilyIdStr = QStringLiteral("FamilyIdStr");
inline const QString PldOperation = QStringLiteral("PldOperation");
inline const QString PldOperationModeId = QStringLiteral("PldOperationModeId");
inline const QString PldOperationModeIndex = QStringLiteral("PldOperationModeIndex");
inline const QString SecurityUser = QStringLiteral("SecurityUser");
inline const QString SecurityUserValue = QStringLiteral("SecurityUserValue");

// Flash programming and images.
inline const QString FlashOperation = QStringLiteral("FlashOperation");
inline const QString FlashAPLBaseName = QStringLiteral("FlashAPLBaseName");
inline const QString FlashAPLType = QStringLiteral("FlashAPLType");
inline const QString ImageFileName = QStringLiteral("ImageFileName");
inline const QString ImageLoadFileName = QStringLiteral("ImageLoadFileName");
inline const QString ImageSaveFileName = QStringLiteral("ImageSaveFileName");
inline const QString ImageAFA = QStringLiteral("ImageAFA");
inline const QString ImageFormat = QStringLiteral("ImageFormat");
inline const QString ImageCRC = QStringLiteral("ImageCRC");
inline const QString StartAddress = QStringLiteral("StartAddress");
inline const QString Length = QStringLiteral("Length");
inline const QString FileOffset = QStringLiteral("FileOffset");
inline const QString TargetAddress = QStringLiteral("TargetAddress");
inline const QString FlashUnit = QStringLiteral("FlashUnit");
inline const QString TargetEqStartAddress = QStringLiteral("TargetEqStartAddress");
inline const QString UseAWPod = QStringLiteral("UseAWPod");
inline const QString AWSignal = QStringLiteral("AWSignal");
inline const QString UseAce = QStringLiteral("UseAce");

// Application files of runners.
inline const QString APLBaseName = QStringLiteral("APLBaseName");
inline const QString ExplicitAplFile = QStringLiteral("ExplicitAplFile");
inline const QString AplFileName = QStringLiteral("AplFileName");
inline const QString AplFilePath = QStringLiteral("AplFilePath");
inline const QString GenFileName = QStringLiteral("GenFileName");
inline const QString UseConFile = QStringLiteral("UseConFile");
inline const QString InfraOperation = QStringLiteral("InfraOperation");
inline const QString Report = QStringLiteral("Report");

// Script players.
inline const QString JamFileName = QStringLiteral("JamFileName");
inline const QString JamBaseName = QStringLiteral("JamBaseName");
inline const QString JamDirPath = QStringLiteral("JamDirPath");
inline const QString ShowNotes = QStringLiteral("ShowNotes");
inline const QString CheckCRC = QStringLiteral("CheckCRC");
inline const QString ExecuteJam = QStringLiteral("ExecuteJam");
inline const QString Erase = QStringLiteral("Erase");
inline const QString Program = QStringLiteral("Program");
inline const QString Secure = QStringLiteral("Secure");
inline const QString BlankCheck = QStringLiteral("BlankCheck");
inline const QString Verify = QStringLiteral("Verify");
inline const QString StaplFileName = QStringLiteral("StaplFileName");
inline const QString StaplBaseName = QStringLiteral("StaplBaseName");
inline const QString StaplDirPath = QStringLiteral("StaplDirPath");
inline const QString ExecuteStapl = QStringLiteral("ExecuteStapl");

// Vector players, processor and logic runners.
inline const QString SvfBaseName = QStringLiteral("SvfBaseName");
inline const QString SvfDirPath = QStringLiteral("SvfDirPath");
inline const QString WglBaseName = QStringLiteral("WglBaseName");
inline const QString WglDirPath = QStringLiteral("WglDirPath");
inline const QString PPCBaseName = QStringLiteral("PPCBaseName");
inline const QString PpcFileName = QStringLiteral("PpcFileName");
inline const QString PRGBaseName = QStringLiteral("PRGBaseName");
inline const QString PrgFileName = QStringLiteral("PrgFileName");
inline const QString StopCRCErr = QStringLiteral("StopCRCErr");
inline const QString NoExec = QStringLiteral("NoExec");
inline const QString StopConcErr = QStringLiteral("StopConcErr");
} // namespace Key

namespace Value {
inline const QString Yes = QStringLiteral("yes");
inline const QString No = QStringLiteral("no");
// The host's preferred instrument, as the value of "InstrumentName".
inline const QString Preferred = QStringLiteral("Preferred");
} // namespace Value

// The fields of a "TapInfo%1.%2" record.
namespace TapField {
inline const QString Flags = QStringLiteral("Flags");
inline const QString Level = QStringLiteral("Level");
inline const QString Threshold = QStringLiteral("Threshold");
inline const QString ExtCells = QStringLiteral("ExtCells");
inline const QString Signals = QStringLiteral("Signals");
inline const QString Reserved = QStringLiteral("Reserved");
inline const QString IoPinWCtrl = QStringLiteral("IoPinWCtrl");
inline const QString IoPinWData = QStringLiteral("IoPinWData");
inline const QString IoPinRCtrl = QStringLiteral("IoPinRCtrl");
inline const QString IoPinRData = QStringLiteral("IoPinRData");
inline const QString IoTimeoutMs = QStringLiteral("IoTimeoutMs");
} // namespace TapField

// The eleven TapInfo fields in the order in which a TAP is written out.
QStringList tapInfoFields();

// "TapInfo%1.%2": the TAP number in plain decimal, then the field.
QString tapInfoKey(int tap, const QString &field);

// What a TAP record field holds unless the instrument says otherwise. Steps
// keep only the fields that differ from it: a converted step would otherwise
// carry 352 zeros, and every reader already takes a missing field as 0.
inline const QString TapFieldDefault = QStringLiteral("0");

// The field of TAP `tap`: its stored value, or the default when it has none.
QString tapInfo(const Parameters &parameters, int tap, const QString &field);
// Stores the field, or leaves it out when `value` is the default.
void setTapInfo(Parameters &parameters, int tap, const QString &field, const QString &value);
// Whether `key` is one of the eleven fields of a TAP record, spelled as
// tapInfoKey() spells it, and `value` its default: a step need not keep it.
bool isDefaultTapInfo(const QString &key, const QString &value);

struct TapInfoKey
{
    int tap = 0;
    QString field;
};

// Splits a key of the form "TapInfo<digits>.<field>" (the whole key,
// case-sensitive; the field is at least one character without white
// space). The separator must be a real "."; keys are only ever built by
// tapInfoKey(), so a looser match would only let typos through. Digits are
// ASCII only; leading zeros are allowed ("TapInfo05" is TAP 5) and a number
// too large for an int saturates to INT_MAX, so range checks still reject
// it. nullopt for any other key.
std::optional<TapInfoKey> parseTapInfoKey(const QString &key);

// The keys that stay with the project and are never written to a sequence
// list file, in no particular order.
const QStringList &internalKeys();
// Internal keys, plus the ExtCells and Reserved fields of every TAP record.
bool isInternalParameter(const QString &key);
bool isExportableParameter(const QString &key);

enum class ProcedureList { Included, Excluded };

// Parts of a procedure list entry: "ProcIn0Action", "ProcIn0Proc", ...
namespace ProcedurePart {
inline const QString Action = QStringLiteral("Action");
inline const QString Proc = QStringLiteral("Proc");
inline const QString Symbol = QStringLiteral("Symbol");
} // namespace ProcedurePart

// "ProcsIncluded" or "ProcsExcluded".
QString procedureCountKey(ProcedureList list);
// "ProcIn%1%2" or "ProcEx%1%2": the entry index from 0, then the part.
QString procedureKey(ProcedureList list, int index, const QString &part);

// Counts above this are treated as this many: no logic device has that
// many procedures, and a damaged count must not build a huge text.
inline constexpr uint MaxProcedureEntries = 10000;

// The procedure switches for the item's current "Action", as the player
// takes them: "<proc>=1 " for each included entry of that action, then
// "<proc>=0 " for each excluded one. Counts are read as unsigned decimal;
// a missing, zero or unreadable count gives no entries. An entry missing
// from the map has an empty action and procedure name, so it matches an
// empty "Action" and contributes "=1 " (or "=0 ").
QString procedureSwitches(const Parameters &parameters);

} // namespace ExecutionParameters
