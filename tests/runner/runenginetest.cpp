// The run engine without a window: verdicts and lamps, the next step after
// an outcome, the redo limit, and the branch a false IF takes.

#include "runengine.h"
#include "sequencebuilder.h"
#include "sequenceelementitem.h"
#include "sequenceenums.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Outcome = RunEngine::Outcome;
using Lamp = RunEngine::Lamp;

// The engine over standalone rows made from the builder's steps.
struct EngineWithSteps
{
    explicit EngineWithSteps(SequenceBuilder &builder) : engine(HostLink())
    {
        const std::unique_ptr<HxSequence> sequence(builder.take());
        QList<SequenceElementItem *> list;
        for (const HxSequenceItemPtr &item : sequence->items()) {
            rows.push_back(SequenceElementItem::createFor(*item));
            list.append(rows.back().get());
        }
        engine.setSteps(list);
    }
    SequenceElementItem *step(int number) const { return rows.at(number - 1).get(); }
    int numberOf(const SequenceElementItem *step) const
    {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].get() == step)
                return int(i) + 1;
        }
        return 0;
    }

    std::vector<std::unique_ptr<SequenceElementItem>> rows;
    RunEngine engine;
};

} // namespace

TEST(RunEngineTest, VerdictsAndLampsFollowTheStatusesSeverity)
{
    const struct
    {
        QStringList statuses;
        Lamp lamp;
        const char *cycle;
        const char *run;
    } cases[] = {
        {{}, Lamp::Off, "PASSED", "Passed"},
        {{"Rejected", "Skipped", "Done"}, Lamp::Pass, "PASSED", "Passed"},
        {{"Passed", "Failed"}, Lamp::Fail, "FAILED", "Failed"},
        // an unanswered question is an error of the cycle, not of the run
        {{"Passed", "Timeout"}, Lamp::Error, "ERRORS", "Passed"},
        {{"Failed", "Cancelled"}, Lamp::Error, "ERRORS", "Error"},
        {{"Done", "Error", "Passed"}, Lamp::Error, "ERRORS", "Error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.statuses.join(u' ').toStdString());
        RunEngine engine{HostLink()};
        engine.cycleStatuses = c.statuses;
        engine.runStatuses = c.statuses;
        EXPECT_EQ(engine.lamp(), c.lamp);
        EXPECT_EQ(engine.cycleVerdict().text, QLatin1String(c.cycle));
        EXPECT_EQ(engine.runAggregate().text, QLatin1String(c.run));
    }
}

TEST(RunEngineTest, TheOutcomesActionPicksTheNextStepAndRedoHasALimit)
{
    SequenceBuilder builder(QStringLiteral("Flow"));
    for (const char *name : {"first", "second", "third"})
        builder.command(QLatin1String(name), QStringLiteral("true"));
    EngineWithSteps run(builder);
    SequenceElementItem *second = run.step(2);
    second->passAction = QStringLiteral("Prev");
    second->failAction = QStringLiteral("Stop");
    second->rejectAction = QStringLiteral("Redo");
    second->systemErrorAction = QStringLiteral("Sideways");   // unknown: as Next
    run.step(1)->passAction = QStringLiteral("Prev");
    const struct
    {
        int step;
        Outcome outcome;
        int next;   // 0: none
        bool stop;
        bool redo;
    } cases[] = {
        {2, Outcome::Passed, 1, false, false},   {2, Outcome::Failed, 3, true, false},
        {2, Outcome::Rejected, 2, false, true},  {2, Outcome::Error, 3, false, false},
        {2, Outcome::Timeout, 3, false, false},  {2, Outcome::Skipped, 3, false, false},
        {1, Outcome::Passed, 0, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.step << "/" << int(c.outcome));
        const RunEngine::FollowUp follow = run.engine.followUp(run.step(c.step), c.outcome);
        EXPECT_EQ(run.numberOf(follow.next), c.next);
        EXPECT_EQ(follow.stopPending, c.stop);
        EXPECT_EQ(follow.redo, c.redo);
        EXPECT_FALSE(follow.redoLimitReached);
    }

    // two redos in a row are allowed, the third request ends the run
    run.engine.setRedoLimit(2);
    run.engine.followUp(second, Outcome::Passed);   // a step that goes on starts the count again
    EXPECT_TRUE(run.engine.followUp(second, Outcome::Rejected).redo);
    EXPECT_TRUE(run.engine.followUp(second, Outcome::Rejected).redo);
    const RunEngine::FollowUp third = run.engine.followUp(second, Outcome::Rejected);
    EXPECT_TRUE(third.redoLimitReached);
    EXPECT_FALSE(third.redo);
    EXPECT_EQ(third.next, nullptr);
}

TEST(RunEngineTest, AFalseIfLandsOnItsFirstTrueElifOrItsElse)
{
    // the ELIFs ask about the step above the IF, which passed
    const struct
    {
        const char *first;
        const char *second;
        int target;
    } cases[] = {
        {"item = pass", "item = pass", 4},
        {"item = error", "ITEM = Pass", 6},
        {"item = error", "exit = 5", 8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        SequenceBuilder builder(QStringLiteral("Elif"));
        builder.command(QStringLiteral("passed"), QStringLiteral("true"));   // 1
        builder.ifStep(QStringLiteral("item = fail"));                      // 2
        builder.command(QStringLiteral("if branch"), QStringLiteral("true"));
        builder.elifStep(QLatin1String(c.first));                           // 4
        builder.command(QStringLiteral("first elif"), QStringLiteral("true"));
        builder.elifStep(QLatin1String(c.second));                          // 6
        builder.command(QStringLiteral("second elif"), QStringLiteral("true"));
        builder.elseStep();                                                 // 8
        builder.command(QStringLiteral("else branch"), QStringLiteral("true"));
        builder.endIfStep();                                                // 10
        EngineWithSteps run(builder);
        run.step(1)->status = int(StepStatus::Passed);
        run.engine.takeControlStep(run.step(2));
        EXPECT_EQ(run.numberOf(run.engine.current), c.target);
        EXPECT_EQ(run.step(c.target)->statusText(), QStringLiteral("Done"));
        // the end of a taken branch runs through to the ENDIF
        EXPECT_EQ(run.numberOf(run.engine.findBranchTarget(run.step(c.target), false)), 10);
    }
}

TEST(RunEngineTest, NestedAndTopmostIfsFindTheirOwnLevel)
{
    SequenceBuilder builder(QStringLiteral("Branches"));
    builder.ifStep(QStringLiteral("exit = 0"));     // 1: no step above it: false
    builder.ifStep(QStringLiteral("loop = 1"));     // 2: inner, skipped whole
    builder.elseStep();                             // 3
    builder.endIfStep();                            // 4
    builder.endIfStep();                            // 5
    builder.ifStep(QStringLiteral("loop = 1"));     // 6: true without a step above it
    EngineWithSteps run(builder);
    run.engine.takeControlStep(run.step(1));
    EXPECT_EQ(run.numberOf(run.engine.current), 5);
    EXPECT_EQ(run.numberOf(run.engine.findBranchTarget(run.step(2), true)), 3);
    run.engine.takeControlStep(run.step(6));
    EXPECT_EQ(run.numberOf(run.engine.current), 6);
    EXPECT_EQ(run.engine.findBranchTarget(run.step(6), true), nullptr);
}
