// Export and import of sequence lists of 500 and 5,000 steps. Both should
// grow linearly: the items per second reported for the two sizes should be
// about the same. importItems leaves out reading the file into the INI
// document, so that the engine's own growth (see inibench) can be told
// apart from the import's.
//
// The import reads the file, rebuilds every item and checks it against a
// small project of the reference host (its application, instruments and
// rules file), as the plug-in does; only the progress dialog is left out.
#include "cinifile.h"
#include "hostproject.h"
#include "importvalidator.h"
#include "logviewservice.h"
#include "sequencelistimport.h"
#include "sequencelistwriter.h"
#include "unattendedprompt.h"
#include "workbenchhost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Environment
{
    Environment()
    {
        (void)project.create(folder.filePath(QStringLiteral("project")), QStringLiteral("Bench"));
        ProjectApplication chain;
        chain.name = QStringLiteral("Chain");
        chain.type = QStringLiteral("Chain Integrity Test");
        chain.operations = {QStringLiteral("Execute Test")};
        chain.showOptions = {QStringLiteral("Status")};
        project.applications = {chain};
        ProjectInstrument instrument;
        instrument.name = QStringLiteral("BCU-1");
        instrument.actions = {QStringLiteral("ExecReset"), QStringLiteral("ExecBcu")};
        project.instruments = {instrument};
        host.setProject(&project);
        host.setPrompt(&prompt);
        host.setValue(QStringLiteral("StartupPath"), folder.path());
        QDir().mkpath(folder.filePath(QStringLiteral("plugins")));
        QFile rules(folder.filePath(QStringLiteral("plugins/ORVSequencerParamRules.xml")));
        if (rules.open(QIODevice::WriteOnly))
            rules.write("<r><ParamRule key='InstrumentName' regexp=''/>"
                        "<ParamRule key='UseDefaultsPod' regexp='yes|no'/></r>");
    }

    QTemporaryDir folder;
    HostProject project;
    WorkbenchHost host;
    UnattendedPrompt prompt;
};

Environment *environment = nullptr;

HxSequenceItemPtr step(ItemType kind, const QString &operation, const QString &name)
{
    auto item = std::make_shared<HxSequenceItem>();
    item->itemType = int(kind);
    item->columnOperation = operation;
    item->columnItem = name;
    item->columnShow = QStringLiteral("Status");
    item->passAction = QStringLiteral("Next");
    item->failAction = QStringLiteral("Next");
    item->rejectAction = QStringLiteral("Redo");
    item->systemErrorAction = QStringLiteral("Stop");
    item->parameters = {{QStringLiteral("Flags"), QString::number(0x10000000 | 0x400)},
                        {QStringLiteral("ItemNumber"), QStringLiteral("1")}};
    return item;
}

// A sequence of `count` steps: application steps with instrument settings,
// conditions, pauses and commands in turn.
HxSequenceItemList sequenceOf(int count)
{
    HxSequenceItemList items;
    items.reserve(count);
    for (int index = 0; index < count; ++index) {
        switch (index % 4) {
        case 0: {
            auto chain = step(ItemType::Application, QStringLiteral("Execute Test"),
                              QStringLiteral("Chain"));
            chain->parameters.insert(QStringLiteral("InstrumentName"), QStringLiteral("Preferred"));
            chain->parameters.insert(QStringLiteral("UseDefaultsPod"), QStringLiteral("yes"));
            chain->parameters.insert(QStringLiteral("TapInfo1.Flags"), QStringLiteral("1024"));
            chain->parameters.insert(QStringLiteral("TapInfo2.Flags"), QStringLiteral("1"));
            items << chain;
            break;
        }
        case 1: {
            auto condition = step(ItemType::Operation, QStringLiteral("IF"), QStringLiteral(","));
            condition->columnProperty = QStringLiteral("exit >= %1").arg(index);
            items << condition;
            break;
        }
        case 2: {
            auto pause = step(ItemType::Operation, QStringLiteral("PAUSE"), QStringLiteral("5000,"));
            pause->timeOut = 5000;
            pause->pauseMessageText = QStringLiteral("Step %1\nPress Yes?").arg(index);
            items << pause;
            break;
        }
        default: {
            auto command = step(ItemType::Command, QStringLiteral("Execute Command"),
                                QStringLiteral("Stamp %1").arg(index));
            command->command.setCommand(QStringLiteral("stamp.sh %1").arg(index));
            command->command.setConsoleApp(true);
            items << command;
            break;
        }
        }
    }
    return items;
}

void exportList(benchmark::State &state)
{
    const HxSequenceItemList items = sequenceOf(int(state.range(0)));
    const QString fileName = environment->folder.filePath(QStringLiteral("export.seql"));
    for (auto _ : state) {
        CIniFile document;
        SequenceListWriter::writeAll(document, items);
        document.setFileName(fileName);
        if (!document.save())
            state.SkipWithError("cannot write the list");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void importList(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString fileName = environment->folder.filePath(QStringLiteral("import.seql"));
    CIniFile source;
    SequenceListWriter::writeAll(source, sequenceOf(count));
    source.setFileName(fileName);
    if (!source.save()) {
        state.SkipWithError("cannot write the list");
        return;
    }
    for (auto _ : state) {
        CIniFile document;
        if (!document.load(fileName))
            state.SkipWithError("cannot read the list");
        ImportValidator validator(environment->host.link(), QStringLiteral("Bench"));
        const HxSequenceItemList items = SequenceListImport::validItems(document, validator);
        if (items.size() != count)
            state.SkipWithError("items were refused");
        benchmark::DoNotOptimize(items);
        environment->host.logview().clear();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The import without the INI engine: the items rebuilt and checked from a
// document read once, which is the part of the import that is this
// subsystem's own.
void importItems(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString fileName = environment->folder.filePath(QStringLiteral("items.seql"));
    CIniFile source;
    SequenceListWriter::writeAll(source, sequenceOf(count));
    source.setFileName(fileName);
    CIniFile document;
    if (!source.save() || !document.load(fileName)) {
        state.SkipWithError("cannot write the list");
        return;
    }
    for (auto _ : state) {
        ImportValidator validator(environment->host.link(), QStringLiteral("Bench"));
        const HxSequenceItemList items = SequenceListImport::validItems(document, validator);
        if (items.size() != count)
            state.SkipWithError("items were refused");
        benchmark::DoNotOptimize(items);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(exportList)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(importList)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(importItems)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Environment shared;
    environment = &shared;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
