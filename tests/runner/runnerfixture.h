#pragma once

// The fixture of the runner tests: a reference host with a real project
// folder, the plug-in, a scripted prompt and a run recorder, and helpers
// that read what a run left in the report.

#include "hostproject.h"
#include "hxreport.h"
#include "hxsequence.h"
#include "mainprocessservice.h"
#include "orvsequencermaindialog.h"
#include "orvsequencerpi.h"
#include "qstringprinter.h"
#include "runrecorder.h"
#include "scriptedprompt.h"
#include "sequencebuilder.h"
#include "sequenceelementitem.h"
#include "sequencelistview.h"
#include "sequencereport.h"
#include "temporaryfolder.h"
#include "ui_orvsequencermainform.h"
#include "workbenchhost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using VemoInterface::HxiRunMonitor;

const QString ChainType = QStringLiteral("Chain Integrity Test");
const QString Pass = QStringLiteral("exit 0");

// The status texts of a report's rows for step `number`, in report order.
QStringList reportedStatuses(const QString &report, int number,
                             QStringList *colours = nullptr)
{
    static const QRegularExpression row(QStringLiteral(
        "<tr><td>\\d+</td><td><b>(\\d+)</b></td><td>[^<]*</td><td>[^<]*</td><td><b>[^<]*</b></td>"
        "<td>[^<]*</td><td bgcolor='([^']*)'>([^<]*)</td><td>\\d\\d:\\d\\d:\\d\\d</td></tr>\r\n"));
    QStringList result;
    for (auto it = row.globalMatch(report); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(1).toInt() != number)
            continue;
        result.append(match.captured(3));
        if (colours)
            colours->append(match.captured(2));
    }
    return result;
}

// "<loop>:<verdict>:<colour>" of every cycle row, in report order.
QStringList cycleRows(const QString &report)
{
    static const QRegularExpression row(QStringLiteral(
        "<tr><td>!</td><td colspan='5'>Sequence Cycle (\\d+) </td><td bgcolor='([^']*)'>(\\w+)</td>"));
    QStringList result;
    for (auto it = row.globalMatch(report); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result.append(QStringLiteral("%1:%2:%3")
                          .arg(match.captured(1), match.captured(3), match.captured(2)));
    }
    return result;
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class RunnerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.create(folder.filePath(QStringLiteral("project")), QStringLiteral("Runs")));
        host.setProject(&project);
        host.setPrompt(&prompt);
        host.setRunMonitor(&monitor);
        plugin = std::make_unique<ORVSequencerPI>(host.link());
    }

    void TearDown() override
    {
        // the windows go before the host that runs their jobs
        plugin.reset();
    }

    // A project application of type `type` whose program is the shell script `script`.
    void addApplication(const QString &name, const QString &script, const QString &type = ChainType)
    {
        const QString program = QStringLiteral("apps/") + name + QStringLiteral(".sh");
        folder.write(QStringLiteral("project/") + program, script.toUtf8());
        ProjectApplication application;
        application.name = name;
        application.type = type;
        application.program = program;
        application.operations = {QStringLiteral("Execute Test")};
        application.showOptions = {QStringLiteral("Status")};
        project.applications.append(application);
    }

    // A script that counts its runs in a file and ends with `exitCodes`, one
    // per run (the last one for every further run).
    QString countingScript(const QString &counter, const QList<int> &exitCodes) const
    {
        QString script = QStringLiteral("n=$(cat '%1' 2>/dev/null || echo 0)\n"
                                        "n=$((n + 1))\n"
                                        "echo $n > '%1'\n"
                                        "echo \"run $n\"\n")
                             .arg(folder.filePath(counter));
        for (int run = 1; run < exitCodes.size(); ++run)
            script += QStringLiteral("[ \"$n\" -eq %1 ] && exit %2\n").arg(run).arg(exitCodes.at(run - 1));
        script += QStringLiteral("exit %1\n").arg(exitCodes.last());
        return script;
    }

    ORVSequencerMainDialog *open(SequenceBuilder &builder)
    {
        const QString title = builder.title();
        plugin->sequences().append(builder.take());
        return plugin->openSequenceWindow(title);
    }

    // Opens the sequence and runs it once, the monitor forgetting earlier
    // runs; null when the window did not open or the run did not end.
    ORVSequencerMainDialog *openAndRun(SequenceBuilder &builder)
    {
        ORVSequencerMainDialog *window = open(builder);
        if (!window)
            return nullptr;
        monitor.clear();
        return run(window) ? window : nullptr;
    }

    // Waits until `count` runs have ended and no window runs any more.
    bool waitForRunEnd(int count = 1)
    {
        return QTest::qWaitFor(
            [&] { return monitor.runs.size() >= count && !plugin->runningWindow(); }, 20000);
    }

    bool run(ORVSequencerMainDialog *window)
    {
        const qsizetype before = monitor.runs.size();
        window->slotStartSequence();
        return waitForRunEnd(int(before) + 1);
    }

    static QList<SequenceElementItem *> steps(ORVSequencerMainDialog *window)
    {
        return window->form().sequenceListView->steps();
    }
    static QStringList statuses(ORVSequencerMainDialog *window)
    {
        QStringList result;
        for (const SequenceElementItem *step : steps(window))
            result.append(step->statusText());
        return result;
    }
    static QList<int> codes(ORVSequencerMainDialog *window)
    {
        QList<int> result;
        for (const SequenceElementItem *step : steps(window))
            result.append(step->status);
        return result;
    }
    // Which of Start, Stop, Continue and Cancel can be pressed, as "SsCx":
    // the letter when it can, "-" when it cannot.
    static QString buttons(ORVSequencerMainDialog *window)
    {
        const Ui::ORVSequencerMainForm &form = window->form();
        QString result;
        const QList<std::pair<const QWidget *, char>> keys = {{form.startSequenceButton, 'S'},
            {form.stopSequenceButton, 's'}, {form.continueSequenceButton, 'C'}, {form.cancelSequenceButton, 'x'}};
        for (const auto &[button, key] : keys)
            result += button->isEnabled() ? QChar::fromLatin1(key) : u'-';
        return result;
    }
    // pass, fail, error and busy lamp, by image name
    static QStringList lamps(ORVSequencerMainDialog *window)
    {
        const Ui::ORVSequencerMainForm &form = window->form();
        return {form.seqStatusPassPixmapLabel->property("lamp").toString(),
                form.seqStatusFailPixmapLabel->property("lamp").toString(),
                form.seqStatusErrorPixmapLabel->property("lamp").toString(),
                form.busyPixmapLabel->property("lamp").toString()};
    }
    static void select(ORVSequencerMainDialog *window, int number)
    {
        SequenceListView *list = window->form().sequenceListView;
        list->clearSelection();
        list->setCurrentItem(list->stepAt(number - 1));
        list->stepAt(number - 1)->setSelected(true);
    }

    QString sequenceFolder(const QString &title) const
    {
        return QDir(project.directory()).filePath(QStringLiteral("Sequences/") + title);
    }

    TemporaryFolder folder;
    HostProject project;
    WorkbenchHost host;
    ScriptedPrompt prompt;
    RunRecorder monitor;
    std::unique_ptr<ORVSequencerPI> plugin;
};

const QString Off = QStringLiteral("LED_white.png");
const QString Green = QStringLiteral("LED_green.png");
const QString Yellow = QStringLiteral("LED_yellow.png");

} // namespace
