// Sequences run end to end: the plug-in, its sequencer window and the
// reference host, whose applications and commands are real processes.

#include "runnerfixture.h"
#include "sequencersettings.h"

TEST_F(RunnerTest, ARunStartsAtTheSelectedStepOrAtTheFirst)
{
    SequenceBuilder builder(QStringLiteral("Start at"));
    builder.command(QStringLiteral("one"), Pass);
    builder.command(QStringLiteral("two"), Pass);
    builder.command(QStringLiteral("three"), Pass);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);
    window->form().sequenceListView->clearSelection();

    ASSERT_TRUE(run(window));
    EXPECT_EQ(monitor.order(), QStringList({"1/1", "1/2", "1/3"}));

    monitor.clear();
    select(window, 2);
    ASSERT_TRUE(run(window));
    EXPECT_EQ(monitor.order(), QStringList({"1/2", "1/3"}));
    // a new run resets every step, the one it does not reach as well
    EXPECT_EQ(statuses(window), QStringList({"---", "Passed", "Passed"}));
}

TEST_F(RunnerTest, GotoJumpsToItsLabelOrGoesOnWithoutOne)
{
    const struct
    {
        const char *label;
        QStringList order;
        QStringList statuses;
        QList<int> codes;
        int gotoRows;
    } cases[] = {
        {"finish", {"1/1", "1/5", "1/6"},
         {"Passed", "Done", "---", "---", "Done", "Passed"}, {1, 0, 0, 0, 8, 1}, 1},
        // a GOTO whose label does not exist completes itself and the run goes on below it
        {"nowhere", {"1/1", "1/2", "1/3", "1/4", "1/5", "1/6"},
         {"Passed", "Done", "Passed", "Passed", "Done", "Passed"}, {1, 8, 1, 1, 8, 1}, 2},
    };
    int number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SequenceBuilder builder(QStringLiteral("Goto %1").arg(++number));
        builder.command(QStringLiteral("first"), Pass);
        builder.gotoStep(QLatin1String(c.label)).addToReport = true;
        builder.command(QStringLiteral("jumped over"), Pass);
        builder.command(QStringLiteral("jumped over too"), Pass);
        builder.label(QStringLiteral("finish"));
        builder.command(QStringLiteral("last"), Pass);
        ORVSequencerMainDialog *window = openAndRun(builder);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(monitor.order(), c.order);
        EXPECT_EQ(statuses(window), c.statuses);
        EXPECT_EQ(codes(window), c.codes);
        EXPECT_EQ(reportedStatuses(window->report().reportText(), 2),
                  QStringList(QList<QString>(c.gotoRows, QStringLiteral("Done"))));
    }
}

TEST_F(RunnerTest, RedoRepeatsAFailingStepUntilItPasses)
{
    addApplication(QStringLiteral("Flaky"), countingScript(QStringLiteral("flaky.count"), {1, 1, 0}));
    SequenceBuilder builder(QStringLiteral("Redo"));
    builder.application(QStringLiteral("Flaky"), ChainType).failAction = QStringLiteral("Redo");
    builder.command(QStringLiteral("after"), Pass);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(run(window));
    EXPECT_EQ(folder.read(QStringLiteral("flaky.count")).trimmed(), QByteArray("3"));
    EXPECT_EQ(monitor.order(), QStringList({"1/1", "1/1", "1/1", "1/2"}));
    EXPECT_EQ(monitor.statuses(), QStringList({"Failed", "Failed", "Passed", "Passed"}));
    EXPECT_EQ(statuses(window), QStringList({"Passed", "Passed"}));
    // the failed attempts leave no trace in the verdicts
    EXPECT_EQ(window->runStatusList(), QStringList({"Passed", "Passed"}));
    EXPECT_EQ(monitor.runs.first().verdict, QStringLiteral("Passed"));
    EXPECT_EQ(lamps(window), QStringList({Green, Off, Off, Off}));

    QStringList colours;
    const QString report = window->report().reportText();
    EXPECT_EQ(reportedStatuses(report, 1, &colours), QStringList({"Failed", "Failed", "Passed"}));
    EXPECT_EQ(colours, QStringList({"#FF4040", "#FF4040", "#80FF80"}));
    EXPECT_EQ(cycleRows(report), QStringList{QStringLiteral("1:PASSED:#80FF80")});
}

TEST_F(RunnerTest, AStopPausesTheRunInFrontOfTheNextStepAndContinueRunsIt)
{
    addApplication(QStringLiteral("Quick"), QStringLiteral("echo quick\nexit 0\n"));
    const struct
    {
        const char *name;
        bool pressStop;   // else the step's pass action is "Stop"
    } cases[] = {{"Stop pressed", true}, {"Stop action", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SequenceBuilder builder(QLatin1String(c.name));
        HxSequenceItem &first = builder.application(QStringLiteral("Quick"), ChainType);
        if (!c.pressStop)
            first.passAction = QStringLiteral("Stop");
        builder.command(QStringLiteral("following"), Pass);
        ORVSequencerMainDialog *window = open(builder);
        ASSERT_NE(window, nullptr);
        monitor.clear();
        const int reportsBefore = plugin->reports().count();

        window->slotStartSequence();
        if (c.pressStop) {
            // the application was started and runs; its end comes through the event loop
            ASSERT_EQ(steps(window).first()->statusText(), QStringLiteral("Busy"));
            window->slotStopSequence();
            EXPECT_EQ(buttons(window), QStringLiteral("---x"));
        }
        ASSERT_TRUE(waitForRunEnd());

        // the application finished and shows how; the run waits in front of step 2
        EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Stopped);
        EXPECT_EQ(monitor.order(), QStringList{QStringLiteral("1/1")});
        EXPECT_EQ(statuses(window), QStringList({"Passed", "---"}));
        EXPECT_EQ(window->resumeStep(), steps(window).at(1));
        EXPECT_EQ(buttons(window), QStringLiteral("--Cx"));
        const QString stoppedReport = window->report().reportText();
        const qsizetype stopRow = stoppedReport.indexOf(QLatin1String("<td bgcolor='#FF4040'>Stop</td>"));
        const qsizetype passRow = stoppedReport.indexOf(QLatin1String("<td bgcolor='#80FF80'>Passed</td>"));
        const qsizetype stoppedAt = stoppedReport.indexOf(QLatin1String("</table><br>Stopped at    : "));
        ASSERT_GE(passRow, 0);
        ASSERT_GE(stoppedAt, 0);
        // a pressed Stop is a user request, written when it is pressed; a
        // Stop action is not
        if (c.pressStop) {
            EXPECT_GE(stopRow, 0);
            EXPECT_LT(stopRow, passRow);
        } else {
            EXPECT_EQ(stopRow, -1);
        }
        EXPECT_EQ(cycleRows(stoppedReport), QStringList{QStringLiteral("1:PASSED:#80FF80")});
        EXPECT_EQ(plugin->reports().count(), reportsBefore + 1);

        window->slotContinueSequence();
        ASSERT_TRUE(waitForRunEnd(2));
        EXPECT_EQ(monitor.runs.at(1).end, HxiRunMonitor::Completed);
        EXPECT_EQ(monitor.runs.at(1).verdict, QStringLiteral("Passed"));
        EXPECT_EQ(monitor.order(), QStringList({"1/1", "1/2"}));
        EXPECT_EQ(statuses(window), QStringList({"Passed", "Passed"}));
        EXPECT_EQ(buttons(window), QStringLiteral("S---"));
        EXPECT_EQ(window->loop(), 1);

        // the same report goes on: a new table opened by a Continue row
        const QString report = window->report().reportText();
        EXPECT_TRUE(report.startsWith(stoppedReport));
        const QString continued = report.mid(stoppedReport.size());
        // a new table whose first row is the request
        EXPECT_TRUE(continued.startsWith(QLatin1String("<table")));
        EXPECT_TRUE(continued.section(QLatin1String("</tr>\r\n"), 1, 1).contains(QLatin1String("User Request, ")));
        EXPECT_EQ(reportedStatuses(continued, 2), QStringList{QStringLiteral("Passed")});
        // a continued run is one run: one report file, one history entry
        EXPECT_EQ(plugin->reports().count(), reportsBefore + 1);
        EXPECT_EQ(monitor.runs.at(1).reportFile, monitor.runs.at(0).reportFile);
    }
}

TEST_F(RunnerTest, AStopDuringTheLastStepOfACycleCountsTheCycleOnce)
{
    addApplication(QStringLiteral("Quick"), QStringLiteral("exit 0\n"));
    const struct
    {
        int cycles;
        bool mayContinue;
    } cases[] = {
        // a further cycle remains: the run waits in front of the first step of cycle 2
        {2, true},
        // nothing remains: the run ends, stopped
        {1, false},
    };
    int number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cycles);
        SequenceBuilder builder(QStringLiteral("Boundary %1").arg(++number));
        builder.application(QStringLiteral("Quick"), ChainType);
        builder.repeat(c.cycles);
        ORVSequencerMainDialog *window = open(builder);
        ASSERT_NE(window, nullptr);
        const Ui::ORVSequencerMainForm &form = window->form();
        monitor.clear();

        window->slotStartSequence();
        window->slotStopSequence();
        ASSERT_TRUE(waitForRunEnd());
        EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Stopped);
        EXPECT_EQ(monitor.order(), QStringList{QStringLiteral("1/1")});
        EXPECT_EQ(cycleRows(window->report().reportText()), QStringList{QStringLiteral("1:PASSED:#80FF80")});
        EXPECT_EQ(buttons(window), c.mayContinue ? QStringLiteral("--Cx") : QStringLiteral("S---"));
        EXPECT_EQ(plugin->runningWindow(), nullptr);
        if (!c.mayContinue) {
            EXPECT_EQ(window->loop(), 1);
            EXPECT_FALSE(window->isBusy());
            continue;
        }
        EXPECT_EQ(window->loop(), 2);
        EXPECT_EQ(window->resumeStep(), steps(window).first());

        window->slotContinueSequence();
        ASSERT_TRUE(waitForRunEnd(2));
        EXPECT_EQ(monitor.runs.at(1).end, HxiRunMonitor::Completed);
        EXPECT_EQ(monitor.order(), QStringList({"1/1", "2/1"}));
        EXPECT_EQ(cycleRows(window->report().reportText()),
                  QStringList({"1:PASSED:#80FF80", "2:PASSED:#80FF80"}));
        EXPECT_EQ(form.noLineEdit->text(), QStringLiteral("2"));
        EXPECT_EQ(window->loop(), 1);
    }
}

TEST_F(RunnerTest, CancelWhileStoppedEndsTheRunInANewTable)
{
    SequenceBuilder builder(QStringLiteral("Stop then cancel"));
    builder.command(QStringLiteral("stops"), Pass).passAction = QStringLiteral("Stop");
    builder.command(QStringLiteral("never"), Pass);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(run(window));
    ASSERT_EQ(monitor.runs.first().end, HxiRunMonitor::Stopped);
    const QString stoppedReport = window->report().reportText();

    window->slotCancelSequence();
    ASSERT_EQ(monitor.runs.size(), 2);
    EXPECT_EQ(monitor.runs.at(1).end, HxiRunMonitor::Cancelled);
    EXPECT_EQ(plugin->runningWindow(), nullptr);
    EXPECT_EQ(window->resumeStep(), nullptr);
    EXPECT_EQ(buttons(window), QStringLiteral("S---"));
    const QString report = window->report().reportText();
    ASSERT_TRUE(report.startsWith(stoppedReport));
    const QString cancelled = report.mid(stoppedReport.size());
    EXPECT_TRUE(cancelled.startsWith(QLatin1String("<table")));
    EXPECT_TRUE(cancelled.section(QLatin1String("</tr>\r\n"), 1, 1).contains(QLatin1String("Cancel : User request, ")));
    // nothing ran while the run waited, so no step is marked
    EXPECT_EQ(statuses(window), QStringList({"Passed", "---"}));
    EXPECT_EQ(codes(window), QList<int>({1, 0}));
}

TEST_F(RunnerTest, CancelKillsTheRunningApplicationAndEndsTheRun)
{
    const QString started = folder.filePath(QStringLiteral("hang.started"));
    addApplication(QStringLiteral("Hang"),
                   QStringLiteral("echo half done\ntouch '%1'\nexec sleep 30\n").arg(started));
    SequenceBuilder builder(QStringLiteral("Cancel"));
    builder.command(QStringLiteral("first"), Pass);
    builder.application(QStringLiteral("Hang"), ChainType);
    builder.command(QStringLiteral("never"), Pass);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);
    const Ui::ORVSequencerMainForm &form = window->form();

    window->slotStartSequence();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(started); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->report().outputExcerpt().contains(QLatin1String("half")); }));
    ASSERT_NE(host.processes().currentJob(), nullptr);
    EXPECT_EQ(plugin->runningWindow(), window);

    window->slotCancelSequence();
    EXPECT_EQ(steps(window).at(1)->statusText(), QStringLiteral("Cancelled"));
    ASSERT_TRUE(waitForRunEnd());
    EXPECT_EQ(host.processes().currentJob(), nullptr);
    ASSERT_EQ(monitor.runs.size(), 1);
    EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Cancelled);
    EXPECT_EQ(monitor.order(), QStringList({"1/1", "1/2"}));
    // the killed job's end changes nothing any more
    EXPECT_EQ(statuses(window), QStringList({"Passed", "Cancelled", "---"}));
    EXPECT_FALSE(window->isBusy());
    EXPECT_EQ(window->loop(), 1);
    EXPECT_EQ(window->resumeStep(), nullptr);
    EXPECT_EQ(buttons(window), QStringLiteral("S---"));
    EXPECT_TRUE(form.sequenceListView->isEnabled());
    EXPECT_TRUE(form.repeatCheckBox->isEnabled());
    EXPECT_EQ(lamps(window), QStringList({Green, Off, Off, Off}));

    const QString report = window->report().reportText();
    EXPECT_TRUE(report.contains(QLatin1String("<td colspan='5'>Cancel : User request, ")));
    // the cancelled step has its row and what it printed so far
    EXPECT_EQ(reportedStatuses(report, 2), QStringList{QStringLiteral("Cancelled")});
    const QRegularExpressionMatch link = QRegularExpression(QStringLiteral(
        "<td><b>2</b></td><td colspan='6'>\\*\\* Command Output Report: <a href=\"([^\"]*)\"")).match(report);
    ASSERT_TRUE(link.hasMatch());
    EXPECT_TRUE(readText(QDir(sequenceFolder(QStringLiteral("Cancel"))).filePath(QString(link.captured(1)).replace(u'\\', u'/')))
                    .contains(QLatin1String("half&nbsp;done")));
    // one time stamp names the report file and the run folder
    EXPECT_EQ(QFileInfo(monitor.runs.first().reportFile).completeBaseName(), window->report().reportName());
}

TEST_F(RunnerTest, ExitCodesAndForcedOperationsGiveTheStepsTheirOutcomes)
{
    addApplication(QStringLiteral("Rejects"), QStringLiteral("exit 3\n"));
    addApplication(QStringLiteral("Errs"), QStringLiteral("exit 2\n"));
    addApplication(QStringLiteral("Odd"), QStringLiteral("exit 7\n"));
    const QString commandMarker = folder.filePath(QStringLiteral("command.ran"));
    const QString touch = QStringLiteral("touch '%1'").arg(commandMarker);
    addApplication(QStringLiteral("Marker"), touch);

    const struct
    {
        bool application;
        const char *item;
        const char *operation;
        QString commandLine;
        int passCode;
        int failCode;
        const char *status;
        int code;
        int exitCode;
    } cases[] = {
        {true, "Marker", "Force Pass", {}, 0, 1, "Passed", 1, 0},
        {true, "Marker", "Force Fail", {}, 0, 1, "Failed", 2, 1},
        {true, "Marker", "Skip Operation", {}, 0, 1, "Skipped", 0, 4},
        {true, "Rejects", "Execute Test", {}, 0, 1, "Rejected", 3, 3},
        {true, "Errs", "Execute Test", {}, 0, 1, "Error", 4, 2},
        {true, "Odd", "Execute Test", {}, 0, 1, "Failed", 2, 7},
        {false, "exits 2", "Execute Command", QStringLiteral("exit 2"), 0, 1, "Error", 4, 2},
        {false, "exits 4", "Execute Command", QStringLiteral("exit 4"), 0, 1, "Skipped", 0, 4},
        {false, "exits 1", "Execute Command", QStringLiteral("exit 1"), 1, 0, "Passed", 1, 1},
        {false, "forced pass", "Force Pass", touch, 1, 0, "Failed", 2, 0},
        {false, "forced fail", "Force Fail", touch, 0, 1, "Failed", 2, 1},
        {false, "skipped", "Skip Operation", touch, 0, 1, "Skipped", 0, 4},
        // an application the project does not have stays in the sequence and errs
        {true, "Gone", "Execute Test", {}, 0, 1, "Error", 4, 2},
    };
    SequenceBuilder builder(QStringLiteral("Outcomes"));
    for (const auto &c : cases) {
        if (c.application)
            builder.application(QLatin1String(c.item), ChainType, QLatin1String(c.operation));
        else
            builder.command(QLatin1String(c.item), c.commandLine, c.passCode, c.failCode,
                            QLatin1String(c.operation));
    }
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(run(window));
    const QString report = window->report().reportText();
    QStringList expectedOrder;
    QStringList expectedStatuses;
    for (int index = 0; index < int(std::size(cases)); ++index) {
        const auto &c = cases[index];
        SCOPED_TRACE(std::string(c.item) + " " + c.operation);
        const SequenceElementItem *step = steps(window).at(index);
        EXPECT_EQ(step->statusText(), QLatin1String(c.status));
        EXPECT_EQ(step->status, c.code);
        EXPECT_EQ(step->exitCode, c.exitCode);
        EXPECT_EQ(reportedStatuses(report, index + 1), QStringList{QLatin1String(c.status)});
        expectedOrder.append(QStringLiteral("1/%1").arg(index + 1));
        expectedStatuses.append(QLatin1String(c.status));
    }
    EXPECT_EQ(monitor.order(), expectedOrder);
    EXPECT_EQ(window->runStatusList(), expectedStatuses);
    // the host's status of an application comes from its job when there is one
    EXPECT_EQ(QList<int>({steps(window).at(0)->hostStatusId, steps(window).at(1)->hostStatusId,
                          steps(window).at(3)->hostStatusId, steps(window).at(4)->hostStatusId}),
              QList<int>({8, 9, 10, 11}));
    EXPECT_EQ(steps(window).last()->hostStatusText,
              QStringLiteral("Application 'Gone' is not available in current project"));
    EXPECT_TRUE(report.contains(QLatin1String("Nr. 13: Application &#39;Gone&#39; is not available in current project")));
    // forced and skipped operations never start a job
    EXPECT_FALSE(QFileInfo::exists(commandMarker));

    EXPECT_EQ(monitor.runs.first().verdict, QStringLiteral("Error"));
    EXPECT_EQ(cycleRows(report), QStringList{QStringLiteral("1:ERRORS:#FFFF00")});
    EXPECT_EQ(lamps(window), QStringList({Off, Off, Yellow, Off}));
}

TEST_F(RunnerTest, ACommandThatEndsCancelledEndsTheRunThere)
{
    SequenceBuilder builder(QStringLiteral("Command cancelled"));
    builder.command(QStringLiteral("first"), Pass);
    builder.command(QStringLiteral("cancelled"), QStringLiteral("exit 198"));
    builder.command(QStringLiteral("never"), Pass);

    builder.repeat(2);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(run(window));
    EXPECT_EQ(statuses(window), QStringList({"Passed", "Cancelled", "---"}));
    EXPECT_EQ(codes(window), QList<int>({1, 5, 0}));
    ASSERT_EQ(monitor.runs.size(), 1);
    EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Cancelled);
    EXPECT_EQ(monitor.runs.first().verdict, QStringLiteral("Error"));
    EXPECT_EQ(window->loop(), 1);
}

TEST_F(RunnerTest, OnlyRedoIsLimitedAndEndsTheRunWithError)
{
    plugin->settings().redoLimit = 3;
    SequenceBuilder redo(QStringLiteral("Redo for ever"));
    redo.command(QStringLiteral("never passes"), QStringLiteral("exit 1")).failAction = QStringLiteral("Redo");
    redo.command(QStringLiteral("never reached"), Pass);
    // a loop through GOTO is the engineer's intent: it goes round more often than the limit
    addApplication(QStringLiteral("Five"), countingScript(QStringLiteral("five.count"), {1, 1, 1, 1, 1, 0}));
    SequenceBuilder loop(QStringLiteral("Goto loop"));
    loop.label(QStringLiteral("again"));
    loop.application(QStringLiteral("Five"), ChainType);
    loop.ifStep(QStringLiteral("item = fail"));
    loop.gotoStep(QStringLiteral("again"));
    loop.endIfStep();
    const struct
    {
        SequenceBuilder *builder;
        QString attempts;   // monitor statuses of step `number`
        int number;
        QString verdict;
        bool reason;
    } cases[] = {
        {&redo, QStringLiteral("Failed Failed Failed Error"), 1, QStringLiteral("Error"), true},
        {&loop, QStringLiteral("Failed Failed Failed Failed Failed Passed"), 2, QStringLiteral("Failed"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.builder->title().toStdString());
        ORVSequencerMainDialog *window = openAndRun(*c.builder);
        ASSERT_NE(window, nullptr);
        QStringList attempts;
        for (const RunRecorder::Step &step : monitor.steps) {
            if (step.number.toInt() == c.number)
                attempts.append(step.status);
        }
        EXPECT_EQ(attempts.join(u' '), c.attempts);
        EXPECT_EQ(steps(window).at(c.number - 1)->statusText(), attempts.last());
        EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Completed);
        EXPECT_EQ(monitor.runs.first().verdict, c.verdict);
        EXPECT_EQ(window->report().reportText().contains(
                      QLatin1String("Nr. 1 asked to be done again more than 3 times")),
                  c.reason);
    }
}

TEST_F(RunnerTest, RepeatedCyclesSeeTheirLoopAndTheWholeRunsStatus)
{
    // passes, fails in the second cycle, passes again
    addApplication(QStringLiteral("Board"), countingScript(QStringLiteral("board.count"), {0, 1, 0}));
    SequenceBuilder builder(QStringLiteral("Cycles"));
    builder.application(QStringLiteral("Board"), ChainType);
    builder.ifStep(QStringLiteral("loop = 2"));
    builder.command(QStringLiteral("second cycle"), Pass);
    builder.elifStep(QStringLiteral("all = pass"));
    builder.command(QStringLiteral("all passed"), Pass);
    builder.elseStep();
    builder.command(QStringLiteral("not all passed"), Pass);
    builder.endIfStep();
    builder.repeat(3);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);
    const Ui::ORVSequencerMainForm &form = window->form();

    ASSERT_TRUE(run(window));
    EXPECT_EQ(monitor.order(), QStringList({"1/1", "1/4", "1/5", "1/8",     // everything passed so far
                                            "2/1", "2/2", "2/3", "2/8",     // the second cycle
                                            "3/1", "3/6", "3/7", "3/8"}));  // cycle 2 failed
    ASSERT_EQ(monitor.runs.size(), 1);
    EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Completed);
    EXPECT_EQ(monitor.runs.first().verdict, QStringLiteral("Failed"));
    EXPECT_EQ(window->runStatusList(),
              QStringList({"Passed", "Done", "Passed", "Done", "Failed", "Done", "Passed", "Done",
                           "Passed", "Done", "Passed", "Done"}));
    EXPECT_TRUE(window->cycleStatusList().isEmpty());
    // the lamps and each cycle's verdict see only that cycle
    EXPECT_EQ(lamps(window), QStringList({Green, Off, Off, Off}));
    EXPECT_EQ(cycleRows(window->report().reportText()),
              QStringList({"1:PASSED:#80FF80", "2:FAILED:#FF4040", "3:PASSED:#80FF80"}));
    EXPECT_EQ(form.noLineEdit->text(), QStringLiteral("3"));
    EXPECT_EQ(window->loop(), 1);
    // each step keeps the cycle in which it last started
    QList<int> loops;
    for (const SequenceElementItem *step : steps(window))
        loops.append(step->count);
    EXPECT_EQ(loops, QList<int>({3, 3, 2, 2, 1, 3, 3, 3}));
    EXPECT_EQ(statuses(window),
              QStringList({"Passed", "Done", "---", "---", "---", "Done", "Passed", "Done"}));
}

// In single-application mode the selected step runs once per cycle, and it
// is where a stopped run resumes.
TEST_F(RunnerTest, SingleApplicationModeRunsTheSelectedStepOncePerCycleAndResumesThere)
{
    // the application counts its runs; the commands around it never run
    addApplication(QStringLiteral("Counter"), countingScript(QStringLiteral("counter.count"), {0}));
    SequenceBuilder builder(QStringLiteral("Single"));
    builder.command(QStringLiteral("before"), Pass);
    builder.application(QStringLiteral("Counter"), ChainType);
    builder.command(QStringLiteral("after"), Pass);
    builder.singleApplication().repeat(3);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);
    select(window, 2);

    window->slotStartSequence();
    window->slotStopSequence();
    ASSERT_TRUE(waitForRunEnd());
    EXPECT_EQ(monitor.runs.first().end, HxiRunMonitor::Stopped);
    EXPECT_EQ(window->loop(), 2);
    EXPECT_EQ(buttons(window), QStringLiteral("--Cx"));
    EXPECT_EQ(window->resumeStep(), steps(window).at(1));

    window->slotContinueSequence();
    ASSERT_TRUE(waitForRunEnd(2));
    EXPECT_EQ(monitor.runs.at(1).end, HxiRunMonitor::Completed);
    EXPECT_EQ(monitor.order(), QStringList({"1/2", "2/2", "3/2"}));
    EXPECT_EQ(folder.read(QStringLiteral("counter.count")).trimmed(), QByteArray("3"));
    EXPECT_EQ(statuses(window), QStringList({"---", "Passed", "---"}));
    EXPECT_EQ(cycleRows(window->report().reportText()),
              QStringList({"1:PASSED:#80FF80", "2:PASSED:#80FF80", "3:PASSED:#80FF80"}));
    EXPECT_EQ(window->loop(), 1);
}

TEST_F(RunnerTest, TheReportFileIsNamedAfterTheStartAndEnteredInTheHistory)
{
    addApplication(QStringLiteral("Fails"), QStringLiteral("echo 'checking <nets>' >&2\nexit 1\n"));
    SequenceBuilder builder(QStringLiteral("Report Run"), QStringLiteral("Nightly board check"));
    builder.command(QStringLiteral("Hello"), QStringLiteral("echo hello world")).addToReport = true;
    builder.application(QStringLiteral("Fails"), ChainType);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(run(window));
    const RunStamp stamp = window->report().startStamp();
    const QString fileName = QStringLiteral("SequenceReport-%1.html").arg(stamp.fileStamp());
    const QString path = QDir(sequenceFolder(QStringLiteral("Report Run"))).filePath(fileName);
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_EQ(QFileInfo(monitor.runs.first().reportFile).canonicalFilePath(),
              QFileInfo(path).canonicalFilePath());

    const QString content = readText(path);
    // the header names the sequence's description and project
    EXPECT_TRUE(content.contains(QLatin1String("Sequence description : Nightly board check<br>Project Name : Runs<br>")));
    // each step's output has its own file in the run's folder
    const QDir runFolder(QDir(sequenceFolder(QStringLiteral("Report Run")))
                             .filePath(QStringLiteral("SequenceReport-") + stamp.fileStamp()));
    const QStringList outputs = runFolder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_EQ(outputs.size(), 2) << outputs.join(QLatin1Char(' ')).toStdString();


    ASSERT_EQ(plugin->reports().count(), 1);
    const HxReport *entry = plugin->reports().at(0);
    EXPECT_EQ(entry->sequenceTitle, QStringLiteral("Report Run"));
    EXPECT_EQ(entry->title, stamp.historyTitle());
    EXPECT_EQ(entry->fileName, fileName);
}

TEST_F(RunnerTest, AFailedInstrumentResetIsAnErrorWithItsOutputInTheReport)
{
    folder.write(QStringLiteral("project/reset.sh"), "echo boom >&2\nexit \"$RESET_EXIT\"\n");
    const struct
    {
        const char *command;
        const char *status;
        const char *verdict;
        const char *reported;   // in the step's inline output
    } cases[] = {
        {"RESET_EXIT=0 sh reset.sh", "Done", "Passed", "boom"},
        {"RESET_EXIT=1 sh reset.sh", "Error", "Error", "Reset Instrument ended with exit code 1"},
        {"", "Error", "Error", "Could not start the Reset Instrument command."},
    };
    int number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        ProjectInstrument instrument;
        instrument.name = QStringLiteral("BCU");
        instrument.preferred = true;
        instrument.actions = {QStringLiteral("ExecReset")};
        if (*c.command)
            instrument.parameters.insert(QStringLiteral("Reset.0"), QLatin1String(c.command));
        project.instruments = {instrument};
        SequenceBuilder builder(QStringLiteral("Reset %1").arg(++number));
        builder.operation(ControlOperations::ControlOperation::Reset, QStringLiteral("Preferred")).addToReport = true;
        builder.command(QStringLiteral("after"), Pass);
        ORVSequencerMainDialog *window = openAndRun(builder);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(statuses(window), QStringList({QLatin1String(c.status), QStringLiteral("Passed")}));
        EXPECT_EQ(monitor.runs.first().verdict, QLatin1String(c.verdict));
        EXPECT_EQ(reportedStatuses(window->report().reportText(), 1), QStringList{QLatin1String(c.status)});
        EXPECT_TRUE(window->report().reportText().replace(QLatin1String("&nbsp;"), QLatin1String(" "))
                        .contains(QLatin1String(c.reported)));
    }
}

TEST_F(RunnerTest, ResultsAreSavedOnlyForTheOutcomesTheStepAsksFor)
{
    const QString script = QStringLiteral("echo measured > \"$ORV_RESULT_DIR/measure.txt\"\nexit %1\n");
    addApplication(QStringLiteral("Passes"), script.arg(0));
    addApplication(QStringLiteral("Fails"), script.arg(1));
    const struct
    {
        const char *application;
        bool onPass;
        bool onFail;
        bool saved;
    } cases[] = {
        {"Passes", true, false, true},
        {"Passes", false, true, false},
        {"Fails", false, true, true},
        {"Fails", true, false, false},
    };
    int number = 0;
    for (const auto &c : cases) {
        const QString title = QStringLiteral("Save %1").arg(++number);
        SCOPED_TRACE(title.toStdString());
        SequenceBuilder builder(title);
        HxSequenceItem &step = builder.application(QLatin1String(c.application), ChainType);
        step.saveResultsOnPass = c.onPass;
        step.saveResultsOnFail = c.onFail;
        ASSERT_NE(openAndRun(builder), nullptr);
        EXPECT_EQ(QFileInfo::exists(sequenceFolder(title) + QStringLiteral("/Results/measure.txt")), c.saved);
    }
}

TEST_F(RunnerTest, AControlStepEndsOnTheNextTurnOfTheEventLoop)
{
    SequenceBuilder builder(QStringLiteral("Control"));
    builder.label(QStringLiteral("one"));
    builder.label(QStringLiteral("two"));
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_NE(window, nullptr);
    window->slotStartSequence();
    // never inside the call that started it ...
    EXPECT_EQ(statuses(window), QStringList({"Busy", "---"}));
    // ... and without waiting for a clock
    QCoreApplication::processEvents();
    EXPECT_EQ(statuses(window).first(), QStringLiteral("Done"));
    ASSERT_TRUE(waitForRunEnd());
    EXPECT_EQ(statuses(window), QStringList({"Done", "Done"}));
}
