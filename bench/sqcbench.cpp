// Time to write and read a legacy sequence file of 10,000 records, the
// kinds mixed as in a large production sequence, beside a bare read of the
// same file as the floor. Reading should stay within a small factor of the
// floor: the records are fixed-size blocks and decoding them is field copies.

#include "sqcfile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <iterator>

namespace {

constexpr int recordCount = 10000;

SqcFile largeFile()
{
    using Kind = SqcRecord::Kind;
    const Kind kinds[] = {Kind::GeneratedTest, Kind::ControlStep,  Kind::SystemCommand,
                          Kind::JamScript,     Kind::FlashImage,   Kind::LogicProgramming,
                          Kind::ProcessorRunner, Kind::StaplScript};
    SqcFile file;
    SqcHeader header;
    header.sequenceName = QStringLiteral("Production line 4");
    header.windowName = header.sequenceName;
    file.setHeader(header);
    QList<SqcRecord> records;
    records.reserve(recordCount);
    for (int i = 0; i < recordCount; ++i) {
        SqcRecord record;
        record.kind = kinds[i % std::size(kinds)];
        record.secondName = QStringLiteral("Step %1").arg(i + 1);
        record.thirdName = record.secondName;
        record.instrumentFlags = 0x10000000;
        record.level = 33;
        for (SqcTapRecord &tap : record.taps)
            tap.level = -1;
        record.command.commandLine = QStringLiteral("tool --step %1").arg(i);
        record.control.parameterText = QStringLiteral("0,");
        record.script.tapText = QStringLiteral("1,");
        record.hasExtension = true;
        records.append(record);
    }
    file.setRecords(records);
    return file;
}

struct Fixture
{
    Fixture() : file(largeFile()), path(dir.filePath(QStringLiteral("large.sqc")))
    {
        if (!file.write(path))
            qFatal("cannot write %s", qPrintable(file.errorString()));
        size = QFileInfo(path).size();
    }
    QTemporaryDir dir;
    SqcFile file;
    QString path;
    qint64 size = 0;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void BM_SqcWriteRead(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString path = f.dir.filePath(QStringLiteral("roundtrip.sqc"));
    for (auto _ : state) {
        SqcFile written = f.file;
        if (!written.write(path))
            state.SkipWithError("write failed");
        SqcFile read;
        if (!read.read(path))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(read.records().size());
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * f.size);
}

void BM_SqcWrite(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString path = f.dir.filePath(QStringLiteral("written.sqc"));
    for (auto _ : state) {
        if (!f.file.write(path))
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * f.size);
}

void BM_SqcRead(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        SqcFile read;
        if (!read.read(f.path))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(read.records().size());
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * f.size);
}

// The floor: the same bytes read without decoding them.
void BM_SqcBareRead(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QFile file(f.path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(file.readAll().size());
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * f.size);
}

} // namespace

BENCHMARK(BM_SqcWriteRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqcWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqcRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqcBareRead)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
