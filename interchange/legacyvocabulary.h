#pragma once

#include <QString>

// The small integer codes that legacy sequence files (".sqc") store for an
// item's operation, Show option and flow actions, and the names they stand
// for in a sequence.
namespace LegacyVocabulary {

// Which table an operation code is read with; it follows from the kind of
// the legacy record and the type the converted item gets.
enum class Vocabulary {
    SysCommand,             // system commands (`Sys`)
    ScanTest,               // Jam Script Player; Scan Suite Runner
    ScanInfrastructure,     // Scan Suite Runner records of an infrastructure test
    StaplScript,            // STAPL Script Player
    FlashApplicationFile,   // Flash Image Runner driven by its application file
    FlashImageOperation,    // Flash Image Runner image operations
    LogicRunner,            // Fuse Map Runner; PLD Vector Runner
    ProcessorRunner,        // Processor Image Runner
};

// The operation name of `code`. Two entries are not fixed names:
// FlashApplicationFile codes 0 and 6 take the first action of the
// application file `file` (empty when it has none or cannot be read), and
// ProcessorRunner code 10 takes the "action" of section "isc_operation" of
// the INI file `file` ("verify_idcode()" when absent or unreadable).
// Unknown codes give "Skip Operation".
QString legacyOperationName(Vocabulary vocabulary, int code, const QString &file = QString());

// whether `code` of `vocabulary` names its operation through a file rather
// than by a fixed name (FlashApplicationFile 0 and 6, ProcessorRunner 10)
bool isReadFromFile(Vocabulary vocabulary, int code);

// whether a test record's third name marks an infrastructure test
// ("infra", "capture", "ident", "trst", "bsreg"; exact, with case)
bool isInfrastructureName(const QString &thirdName);

// Show option of a Show code; any unknown code gives "Status"
QString showName(int code);
// Show code of a Show option; any other name gives 3
int showCode(const QString &name);

// flow action ("Next", "Prev", "Stop", "Redo") of codes 0..3; else empty
QString actionName(int code);
// code of a flow action name; any other name gives -1
int actionCode(const QString &name);

} // namespace LegacyVocabulary
