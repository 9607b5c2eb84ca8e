// Save and load of a project's sequence document: 100 sequences of 100
// steps each, at both format indices, beside a bare DOM parse of the same
// XML text (the floor the loader could approach).
#include "hxprojectversion.h"
#include "hxreportlist.h"
#include "hxsequence.h"
#include "hxsequencelist.h"
#include "sequencedocument.h"

#include <QDomDocument>

#include <benchmark/benchmark.h>

namespace {

void fill(HxSequenceList &sequences, int sequenceCount, int stepCount)
{
    for (int s = 0; s < sequenceCount; ++s) {
        auto *sequence = new HxSequence(QStringLiteral("Sequence %1").arg(s + 1), QStringLiteral("bench"));
        sequence->setRepeat(true);
        sequence->setRepeatCount(3);
        for (int i = 0; i < stepCount; ++i) {
            auto item = std::make_shared<HxSequenceItem>();
            item->itemType = 1 + i % 3;
            item->type = item->itemType == 2 ? 5 : -1;
            item->columnNumber = QString::number(i + 1);
            item->columnType = QStringLiteral("Scan Suite Runner");
            item->columnOperation = QStringLiteral("Execute Test");
            item->columnItem = QStringLiteral("Application %1").arg(i);
            item->columnShow = QStringLiteral("Status");
            item->columnStatus = QStringLiteral("---");
            item->passAction = QStringLiteral("Next");
            item->failAction = QStringLiteral("Next");
            item->rejectAction = QStringLiteral("Redo");
            item->systemErrorAction = QStringLiteral("Stop");
            item->statusToSequenceStatus = true;
            item->parameters = {{QStringLiteral("Flags"), QStringLiteral("268435456")},
                                {QStringLiteral("InstrumentName"), QStringLiteral("Preferred")},
                                {QStringLiteral("Level"), QStringLiteral("33")},
                                {QStringLiteral("Show"), QStringLiteral("Status")}};
            sequence->appendItem(item);
        }
        sequences.append(sequence);
    }
}

// Without a host the document is written at index 0; index 1 needs the
// version attribute, which the loader reads back from the text.
QByteArray savedText(int sequenceCount, int stepCount)
{
    HxSequenceList sequences;
    HxReportList reports;
    fill(sequences, sequenceCount, stepCount);
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("plugin"));
    document.appendChild(root);
    SequenceDocument(HostLink(), sequences, reports).save(root);
    return document.toByteArray(-1);
}

void BM_DocumentSave(benchmark::State &state)
{
    HxSequenceList sequences;
    HxReportList reports;
    fill(sequences, int(state.range(0)), 100);
    for (auto _ : state) {
        QDomDocument document;
        QDomElement root = document.createElement(QStringLiteral("plugin"));
        document.appendChild(root);
        SequenceDocument(HostLink(), sequences, reports).save(root);
        benchmark::DoNotOptimize(document.toByteArray(-1));
    }
}

void BM_DocumentLoad(benchmark::State &state)
{
    const QByteArray text = savedText(int(state.range(0)), 100);
    state.counters["bytes"] = double(text.size());
    for (auto _ : state) {
        QDomDocument document;
        document.setContent(text);
        HxSequenceList sequences;
        HxReportList reports;
        VemoDatabase::HxProjectVersion version;
        SequenceDocument(HostLink(), sequences, reports).load(document.documentElement(), version);
        benchmark::DoNotOptimize(sequences.count());
    }
}

void BM_BareDomParse(benchmark::State &state)
{
    const QByteArray text = savedText(int(state.range(0)), 100);
    for (auto _ : state) {
        QDomDocument document;
        benchmark::DoNotOptimize(document.setContent(text));
    }
}

} // namespace

BENCHMARK(BM_DocumentSave)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentLoad)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDomParse)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
