#pragma once

#include "sqcfile.h"
#include "sqmfile.h"

#include <QDateTime>
#include <QString>

class HxSequence;
class HxSequenceItem;

// How a sequence becomes a legacy sequence file and its companion when the
// sequence is saved.
//
// The common part of a record and the command, control and script extensions
// follow the old format. The words the old format leaves open are filled as
// follows, and a reader that turns records back into items takes them from
// the same places:
//
//   flash extension (kinds 1, 5): text "ImageFileName"; TAP list the gang
//     set; words 0 "ImageAFA", 1 option bits (0x1 the "Aw" instrument flag,
//     0x2 "TargetEqStartAddress", 0x4 "UseAce", 0x8 "AWSignal", 0x10
//     "FlashUnit" is "byte", 0x20 "UseConFile", 0x40 "UseAWPod"), 2
//     "ImageFormat", 3 "TargetAddress", 4 "StartAddress", 5 "Length",
//     6 "Level", 7 "FileOffset"; numbers read like "TargetAddress";
//   logic extension (kind 2): texts "Family", "FamilyIdStr",
//     "SecurityUserValue"; words 0 "FamilyId", 1 "PldOperationModeId",
//     2 option bits (0x1 "UseConFile", 0x2 "Report", 0x4 "SecurityUser");
//   processor extension (kind 8): word 0 option bits (0x1 "UseConFile",
//     0x2 "Report"), word 3 option bits (0x1 "StopCRCErr", 0x2 "NoExec",
//     0x4 "StopConcErr");
//   script extension (kinds 6, 7): text "Action"; TAP text "BoardTAP" + 1,
//     a comma and the item's procedure switches; level as in the common part;
//   item option bits: 0x2, 0x4, 0x10, 0x20, 0x1000, 0x2000 as the import
//     reads them;
//   header unit texts: the serial number, then the unit folder;
//   third name: "InfraOperation" for infrastructure tests, else the item's
//     name for every kind but commands and control steps.
//
// Yes/no options count as set for "yes" in any letter case.
namespace SqcConversion {

// The instrument name of every file a sequence save writes.
inline const QString NoInstrument = QStringLiteral("(no instrument)");

// The record of one step.
SqcRecord recordFromItem(const HxSequenceItem &item);

// The header of a sequence's file: from the sequence's settings and the
// given names.
SqcHeader headerFromSequence(const HxSequence &sequence, const QString &instrumentName,
                             const QString &sequenceName, const QString &databasePath,
                             const QDateTime &writtenAt = QDateTime::currentDateTimeUtc());

// Writes the file of a sequence record by record, as fileFromSequence(...).write(fileName)
// would, without holding every record at once; the file's error on failure.
[[nodiscard]] bool writeSequenceFile(SqcFile &file, const QString &fileName, const HxSequence &sequence,
                                     const QString &instrumentName, const QString &sequenceName,
                                     const QString &databasePath);

// The whole file of a sequence: the header from the sequence's settings and
// the given names, then one record per step in order. `databasePath` is what
// the project database reports as its project text.
SqcFile fileFromSequence(const HxSequence &sequence, const QString &instrumentName,
                         const QString &sequenceName, const QString &databasePath,
                         const QDateTime &writtenAt = QDateTime::currentDateTimeUtc());

// The companion: one line per application file that the steps' execution
// parameters name, placed under `folderName` and the step's application.
SqmFile companionFromSequence(const HxSequence &sequence, const QString &folderName);

// The legacy code of the step's operation for a record of
// `applicationClass`: the legacy vocabularies read backwards.
qint32 operationCode(const HxSequenceItem &item, int applicationClass);

// A number as "TargetAddress" holds it: base 16 after "0x", base 2 after
// "0b", base 8 after a leading "0", else base 10; 0 when it is not one.
quint32 parseAddress(const QString &text);

// The command line a command-line driven application's record carries.
QString applicationCommandLine(const HxSequenceItem &item);

} // namespace SqcConversion
