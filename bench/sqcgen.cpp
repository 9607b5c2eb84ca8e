// Writes a legacy sequence file of N records for the whole-process
// benchmarks: the kinds mixed as in a large production sequence, the
// applications named after a few dozen boards so that the import creates a
// realistic number of them.
//
//   sqcgen FILE RECORDS

#include "sqcfile.h"

#include <QCoreApplication>

#include <cstdio>
#include <iterator>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    bool ok = false;
    const int count = arguments.size() == 3 ? arguments.at(2).toInt(&ok) : 0;
    if (!ok || count < 1) {
        std::fprintf(stderr, "usage: sqcgen FILE RECORDS\n");
        return 64;
    }

    using Kind = SqcRecord::Kind;
    const Kind kinds[] = {Kind::GeneratedTest, Kind::ControlStep, Kind::SystemCommand,
                          Kind::JamScript,     Kind::FlashImage,  Kind::ControlStep,
                          Kind::SystemCommand, Kind::StaplScript};
    SqcHeader header;
    header.sequenceName = QStringLiteral("Production line");
    header.windowName = header.sequenceName;
    QList<SqcRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        SqcRecord record;
        record.kind = kinds[i % std::size(kinds)];
        record.firstName = QStringLiteral("boards");
        record.secondName = QStringLiteral("Step %1").arg(i + 1);
        record.thirdName = QStringLiteral("Board%1").arg(i % 40);
        record.operationCode = record.kind == Kind::ControlStep ? 4 : 0;
        record.options = SqcRecord::SaveResultsOnFail | SqcRecord::AddToReport;
        record.instrumentFlags = 0x10000000;
        record.tckKhz = 1000;
        record.level = 33;
        record.taps[0].level = 33;
        record.taps[0].flags = 0x400;
        record.command.commandLine = QStringLiteral("true");
        record.control.parameterText = QStringLiteral("0,");
        record.script.tapText = QStringLiteral("1,");
        record.hasExtension = true;
        records.append(record);
    }
    SqcFile file;
    file.setHeader(header);
    file.setRecords(records);
    if (!file.write(arguments.at(1))) {
        std::fprintf(stderr, "%s\n", qPrintable(file.errorString()));
        return 73;
    }
    return 0;
}
