#pragma once

#include "iopinsoptions.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The controller command lines of an I/O-pin step, the result file its read
// leaves behind, and the report rows that show both.
namespace IoPinsCommandLine {

// The controller keeps command lines in a fixed buffer of 512 bytes.
inline constexpr int MaxLength = 511;
// Addresses longer than this are cut.
inline constexpr int MaxAddressLength = 64;
// The result file of a read, in the working directory of the step.
inline const QString ResultFileName = QStringLiteral("iopins.dat");
// The width of the binary pattern texts of the report.
inline constexpr int PatternWidth = 4;

// Write, Read, Read Until Match: the order in which a step runs and reports
// its operations.
QList<IoPinsOperation> operationOrder();
// "I/O Pins: Write" and so on.
QString operationTitle(IoPinsOperation operation);

// The controller command for one operation: the program ("ExecBcu" of the
// instrument), " -M", the address, the switches, the level option and the
// operation's option(s), cut to MaxLength characters. Empty without an
// instrument (no name in the options or no program) and when no TAP takes
// part in the operation.
QString buildCommandLine(const IoPinsOptions &options, IoPinsOperation operation,
                         const QString &program, const QString &address);
// One command line per operation the step uses, in operationOrder().
QStringList buildCommandLines(const IoPinsOptions &options, const QString &program,
                              const QString &address);

// "0b", zeros up to `width` digits (at most 63 of them), then `value` in
// base 2: 5 with width 4 gives "0b0101".
QString binaryPattern(quint32 value, int width = PatternWidth);

// The control and data words of TAPs 1 to 4 as a read reported them.
struct Results
{
    std::array<std::optional<quint32>, IoPinsOptions::TapCount> control;
    std::array<std::optional<quint32>, IoPinsOptions::TapCount> data;

    // binaryPattern() of the TAP's value, empty when the file had none
    QString controlText(int tap) const;
    QString dataText(int tap) const;
};

// Reads "ioctrl<n>=<value>" and "iodata<n>=<value>" lines (n = 1 to 4, the
// value decimal, 0x hexadecimal or 0 octal, signed). Other lines are
// skipped and a later line for the same word wins. A missing or unreadable
// file gives no values; only the first 64 KiB are looked at.
Results readResults(const QString &fileName);

// A row of the report for an instrument step, in the form
// SequenceReport::writeInstrumentRow() takes: "*" with an operation title,
// "!" with a TAP's values.
struct ReportRow
{
    QString marker;
    QString text;

    // the row as the report holds it
    QString html() const;
    bool operator==(const ReportRow &other) const = default;
};

// Written before the commands start: the title of each operation the step
// uses and, for read until match, the mask, data and time-out of each TAP.
QList<ReportRow> parameterRows(const IoPinsOptions &options);
// Written when the commands have ended: the control and data read from each
// TAP that was read. Nothing when the step does not read.
QList<ReportRow> resultRows(const IoPinsOptions &options, const Results &results);

} // namespace IoPinsCommandLine
