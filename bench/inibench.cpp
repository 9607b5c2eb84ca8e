// Time to fill, save and load INI documents of growing size. The sequence
// list export and import work on documents of this shape: one section per
// step with a few dozen keys each. The times per entry should stay flat from
// 10,000 to 100,000 entries; a rise means some lookup became a list walk.

#include "cinifile.h"

#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int sectionCount = 100;

QString sectionName(int index)
{
    return QStringLiteral("ITEM%1.EXECPARAMS").arg(index % sectionCount + 1);
}

QString keyName(int index)
{
    return QStringLiteral("TapInfo%1.Threshold").arg(index / sectionCount);
}

void fill(CIniFile &ini, int entryCount)
{
    for (int i = 0; i < entryCount; ++i)
        ini.setValue(sectionName(i), keyName(i), QStringLiteral("value %1").arg(i));
}

void reportPerEntry(benchmark::State &state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Every setValue adds a new (section, key) pair, each time looked up first.
void BM_IniFill(benchmark::State &state)
{
    const int entryCount = int(state.range(0));
    for (auto _ : state) {
        CIniFile ini;
        fill(ini, entryCount);
        benchmark::DoNotOptimize(ini.entryCount());
    }
    reportPerEntry(state);
}

void BM_IniSave(benchmark::State &state)
{
    QTemporaryDir dir;
    CIniFile ini;
    ini.setFileName(dir.filePath(QStringLiteral("bench.ini")));
    fill(ini, int(state.range(0)));
    for (auto _ : state) {
        if (!ini.save())
            state.SkipWithError(qPrintable(ini.errorString()));
    }
    reportPerEntry(state);
}

void BM_IniLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.ini"));
    {
        CIniFile ini;
        ini.setFileName(path);
        fill(ini, int(state.range(0)));
        if (!ini.save())
            state.SkipWithError(qPrintable(ini.errorString()));
    }
    for (auto _ : state) {
        CIniFile ini;
        if (!ini.load(path))
            state.SkipWithError(qPrintable(ini.errorString()));
        benchmark::DoNotOptimize(ini.entryCount());
    }
    reportPerEntry(state);
}

// What an export followed by an import does: fill, save, load, then read
// every value back and list every section's keys.
void BM_IniRoundTrip(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.ini"));
    const int entryCount = int(state.range(0));
    for (auto _ : state) {
        CIniFile written;
        written.setFileName(path);
        fill(written, entryCount);
        if (!written.save())
            state.SkipWithError(qPrintable(written.errorString()));

        CIniFile read;
        if (!read.load(path))
            state.SkipWithError(qPrintable(read.errorString()));
        qsizetype found = 0;
        for (int s = 0; s < sectionCount; ++s)
            found += read.keys(sectionName(s)).size();
        for (int i = 0; i < entryCount; ++i)
            found += read.value(sectionName(i), keyName(i)).size();
        benchmark::DoNotOptimize(found);
    }
    reportPerEntry(state);
}

} // namespace

BENCHMARK(BM_IniFill)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniSave)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniLoad)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniRoundTrip)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
