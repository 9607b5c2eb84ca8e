#pragma once

#include "hostlink.h"
#include "hxsequenceitem.h"
#include "sqcfile.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

class HxSequence;

// Turns a legacy sequence file into a new sequence: one item per record,
// and for every record that runs an application, that application created
// in the project through the host's "HxiAppCreate".
//
// Every item carries the record's instrument settings as execution
// parameters: "TckSrc", "TckkHz", "Level", "Threshold", "TapSState",
// "TapEState", "Gang" (the TAP mask minus one), "Flags" (with the
// precompiled flag, and the test clock flag when a clock is set) and those
// of the eleven "TapInfo%1." fields of TAPs 1 to 32 that are not 0 (see
// ExecutionParameters::tapInfo). The words the legacy writer
// keeps in the extensions (see SqcConversion) are read back from the same
// places: the flash options and addresses, the logic family texts and
// options, the processor options, and the script action with its procedure
// switches. Levels and thresholds that the writer divided by 100 are
// multiplied again.
//
// The host creates an application of a type under the type's plug-in id,
// which for this plug-in is the type name itself. When it cannot, the item
// still refers to the application by name, with the common parameters only
// and no operation.
class LegacySequenceImport
{
    Q_DECLARE_TR_FUNCTIONS(LegacySequenceImport)

public:
    // `instrument` is what the title dialog chose: "Preferred" or the name
    // of an instrument; application items run on it.
    LegacySequenceImport(const HostLink &link, const QString &sequenceTitle,
                         const QString &instrument);

    // The sequence of the whole file: its title, `description`, the
    // header's settings and one item per converted record.
    std::unique_ptr<HxSequence> convert(const SqcFile &file, const QString &description);

    // The items of the records, in record order. Select-instrument steps,
    // which no instrument of today understands, and records of unknown
    // kinds are left out with a log line.
    HxSequenceItemList convertRecords(const QList<SqcRecord> &records);
    // One record, numbered from 1; nothing when it is left out.
    std::optional<HxSequenceItem> convertRecord(const SqcRecord &record, int number);

    // Repeat, gang, banners, unit identification and repeat count. The
    // header's first unit text is the serial number, its second the unit
    // folder; the sub-folder mask starts as whichever of the two names the
    // sub-folder.
    static void applyHeader(const SqcHeader &header, HxSequence &sequence);

    static QString pluginId(const QString &type) { return type; }
    // The first 20 characters and "..." when the message is longer.
    static QString pauseShortText(const QString &message);
    // What the plug-in fills a procedure list with for a logic record: one
    // included entry per action ("program", "erase", "verify", "security",
    // "blank check"), each running the procedure "DO_<ACTION>".
    static QMap<QString, QString> logicProcedureLists();

    // records left out so far
    int droppedCount() const { return dropped; }

private:
    using Parameters = QMap<QString, QString>;

    void log(const QString &text) const;
    HxSequenceItem commonItem(const SqcRecord &record) const;
    Parameters commonParameters(const SqcRecord &record) const;
    void convertCommand(const SqcRecord &record, HxSequenceItem &item) const;
    void convertControl(const SqcRecord &record, HxSequenceItem &item) const;
    void convertApplication(const SqcRecord &record, int number, HxSequenceItem &item);

    HostLink link;
    QString sequenceTitle;
    QString instrument;
    int dropped = 0;
};
