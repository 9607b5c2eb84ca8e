#include "applicationitem.h"
#include "commanditem.h"
#include "hostproject.h"
#include "modalanswer.h"
#include "operationitem.h"
#include "projecttreeservice.h"
#include "qstringprinter.h"
#include "sampleprojecthost.h"
#include "scriptedprompt.h"
#include "sequencelistview.h"
#include "sequencelistviewtip.h"
#include "workbenchhost.h"

#include <QComboBox>
#include <QDataStream>
#include <QDialog>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QUndoStack>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Column = SequenceElementItem::Column;

// A list whose step dialogs are confirmed untouched, without being shown.
class AcceptingListView : public SequenceListView
{
public:
    using SequenceListView::SequenceListView;

protected:
    bool editNewOperationStep(OperationItem *) override { return true; }
};

// A list whose step dialogs are always cancelled.
class CancellingListView : public SequenceListView
{
public:
    using SequenceListView::SequenceListView;
    int dialogs = 0;

protected:
    bool editNewOperationStep(OperationItem *) override
    {
        ++dialogs;
        return false;
    }
};

QStringList columnTexts(const SequenceListView &list, int column)
{
    QStringList texts;
    for (const SequenceElementItem *step : list.steps())
        texts.append(step->text(column));
    return texts;
}

QStringList numbersUpTo(int count)
{
    QStringList numbers;
    for (int number = 1; number <= count; ++number)
        numbers.append(QString::number(number));
    return numbers;
}

class SequenceListViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectApplication nand;
        nand.name = QStringLiteral("Nand0");
        nand.type = QStringLiteral("NAND Programming");
        nand.operations = {QStringLiteral("Program"), QStringLiteral("Test Infrastructure")};
        project.applications.append(nand);
    }

    // Labels named "A", "B", ... so that rows can be told apart by column 3.
    void addLabels(int count)
    {
        for (int index = 0; index < count; ++index) {
            OperationItem *label = list.insertOperationStep(QStringLiteral("Label / Comment"), {});
            label->setText(Column::PropertyColumn, QString(QChar(u'A' + index)));
        }
    }

    // What the host's project view was told, one "name|type|id|text|infra" line each.
    QStringList outcomes()
    {
        QStringList told;
        for (const ProjectTreeService::Outcome &o : host.projectTree().outcomes())
            told.append(QStringLiteral("%1|%2|%3|%4|%5")
                            .arg(o.application, o.type)
                            .arg(o.hostStatusId)
                            .arg(o.message, QLatin1String(o.infrastructure ? "infra" : "app")));
        return told;
    }

    SampleProjectHost sample;
    WorkbenchHost &host = sample.host;
    ScriptedPrompt &prompt = sample.prompt;
    HostProject &project = sample.project;
    AcceptingListView list{host.link()};
};

} // namespace

TEST_F(SequenceListViewTest, NewStepsGoAboveTheDropTargetOrAtTheEnd)
{
    const struct
    {
        int target;   // row index of the drop target, -1 for none
        QStringList order;
    } cases[] = {
        {0, {"new", "A", "B", "C", "D"}},
        {2, {"A", "B", "new", "C", "D"}},
        {3, {"A", "B", "C", "new", "D"}},
        {-1, {"A", "B", "C", "D", "new"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target);
        list.clear();
        list.dropTarget = nullptr;
        addLabels(4);
        list.dropTarget = c.target < 0 ? nullptr : list.stepAt(c.target);
        OperationItem *created = list.insertOperationStep(QStringLiteral("Print report"), {});
        ASSERT_TRUE(created);
        created->setText(Column::PropertyColumn, QStringLiteral("new"));
        EXPECT_EQ(columnTexts(list, Column::PropertyColumn), c.order);
        EXPECT_EQ(columnTexts(list, Column::NumberColumn), numbersUpTo(5));
        // the step was made when the list held five rows
        EXPECT_EQ(created->creationNumber, QStringLiteral("5"));
    }
}

TEST_F(SequenceListViewTest, AMovedRowTakesTheTargetsPlace)
{
    const struct
    {
        int from;   // 1-based, as the Nr. column shows them
        int to;
        bool targetBySelection;   // no drop target: the selected row decides
        bool moved;
        QStringList order;
    } cases[] = {
        {5, 2, false, true, {"A", "E", "B", "C", "D"}},
        {2, 5, false, true, {"A", "C", "D", "E", "B"}},
        {4, 1, false, true, {"D", "A", "B", "C", "E"}},
        {1, 3, true, true, {"B", "C", "A", "D", "E"}},
        {3, 3, false, false, {"A", "B", "C", "D", "E"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 onto %2").arg(c.from).arg(c.to).toStdString());
        list.clear();
        addLabels(5);
        SequenceElementItem *dragged = list.stepAt(c.from - 1);
        SequenceElementItem *target = list.stepAt(c.to - 1);
        list.draggedStep = dragged;
        list.setCurrentItem(target);
        list.dropTarget = c.targetBySelection ? nullptr : target;

        EXPECT_EQ(list.moveDraggedStep(), c.moved);
        EXPECT_EQ(columnTexts(list, Column::PropertyColumn), c.order);
        EXPECT_EQ(columnTexts(list, Column::NumberColumn), numbersUpTo(5));
        EXPECT_EQ(list.draggedStep, nullptr);
        if (c.moved)
            EXPECT_EQ(list.selectedStep(), dragged);
    }

    list.draggedStep = nullptr;
    list.setCurrentItem(list.stepAt(1));
    EXPECT_FALSE(list.moveDraggedStep());
}

TEST_F(SequenceListViewTest, AnIfBringsItsElseAndEndifUnlessItsDialogIsCancelled)
{
    addLabels(2);
    list.dropTarget = list.stepAt(1);
    OperationItem *created = list.insertOperationStep(QStringLiteral("IF <condition>"), {});
    ASSERT_TRUE(created);
    EXPECT_EQ(list.stepAt(1), created);
    EXPECT_EQ(columnTexts(list, Column::OperationColumn),
              QStringList({"LABEL", "IF", "ELSE", "ENDIF", "LABEL"}));
    EXPECT_EQ(columnTexts(list, Column::PropertyColumn),
              QStringList({"A", "item = pass", "", "", "B"}));
    QStringList ids;
    for (SequenceElementItem *step : list.steps())
        ids.append(step->operationItemId);
    EXPECT_EQ(ids, QStringList({"Label / Comment", "IF <condition>", "ELSE", "ENDIF",
                                "Label / Comment"}));
    EXPECT_FALSE(list.inserting);

    // reading a stored sequence back brings every row on its own
    list.dropTarget = nullptr;
    EXPECT_TRUE(list.insertOperationStep(QStringLiteral("IF <condition>"), {}, true));
    EXPECT_EQ(list.stepCount(), 6);

    CancellingListView cancelling(host.link());
    EXPECT_EQ(cancelling.insertOperationStep(QStringLiteral("IF <condition>"), {}), nullptr);
    EXPECT_EQ(cancelling.insertOperationStep(QStringLiteral("Reset Instrument"), {}), nullptr);
    EXPECT_EQ(cancelling.stepCount(), 0);
    EXPECT_EQ(cancelling.dialogs, 2);
    EXPECT_FALSE(cancelling.inserting);
    // report steps have no dialog to cancel
    EXPECT_TRUE(cancelling.insertOperationStep(QStringLiteral("Export report"), {}));
    EXPECT_EQ(cancelling.dialogs, 2);
    EXPECT_EQ(cancelling.insertOperationStep(QStringLiteral("No such entry"), {}), nullptr);
}

TEST_F(SequenceListViewTest, EachOperationStepStartsWithItsKindsSettings)
{
    const struct
    {
        const char *palette;
        const char *operation, *property, *item;
        const char *actions;   // pass, fail, reject, error
        bool saveOnFail;
        const char *show;
        bool countsForSequence;
    } cases[] = {
        {"Pause / Display Message", "PAUSE", "", "0,", "", false, "", false},
        {"Print report", "Print", "", "", "Next Next Redo Stop", true, "Status", true},
        {"Reset Instrument", "Reset", "Preferred", "Reset", "Next Next Redo Stop", true,
         "Status", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.palette);
        OperationItem *step = list.insertOperationStep(QString::fromUtf8(c.palette), {});
        ASSERT_TRUE(step);
        EXPECT_EQ(step->text(Column::OperationColumn), QString::fromUtf8(c.operation));
        EXPECT_EQ(step->text(Column::PropertyColumn), QString::fromUtf8(c.property));
        EXPECT_EQ(step->text(Column::ItemColumn), QString::fromUtf8(c.item));
        EXPECT_EQ(QStringList({step->passAction, step->failAction, step->rejectAction,
                               step->systemErrorAction})
                      .join(u' ')
                      .trimmed(),
                  QString::fromUtf8(c.actions));
        EXPECT_EQ(step->saveResultsOnFail, c.saveOnFail);
        EXPECT_EQ(step->propertiesShow, QString::fromUtf8(c.show));
        EXPECT_EQ(step->statusToSequenceStatus, c.countsForSequence);
        EXPECT_EQ(step->stepName, QString::fromUtf8(c.operation));
    }
}

TEST_F(SequenceListViewTest, AnApplicationStepRunsItsGivenOperationOrTheFirstOffered)
{
    const struct
    {
        const char *application;
        const char *seqOperation;   // null: no parameters at all
        const char *operation;
        int applicationClass;
    } cases[] = {
        {"Chain", nullptr, "Execute Test", 3},
        {"Nand0", "", "Program", 0},
        {"Nand0", "Test Infrastructure", "Test Infrastructure", 3},
        {"Nand0", "Force Fail", "Force Fail", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.application) + " / " + (c.seqOperation ? c.seqOperation : "-"));
        std::optional<QMap<QString, QString>> parameters;
        if (c.seqOperation)
            parameters = QMap<QString, QString>{
                {QStringLiteral("SeqOperation"), QString::fromUtf8(c.seqOperation)}};
        const QString name = QString::fromUtf8(c.application);
        ApplicationItem *step = list.insertApplicationStep(
            parameters, name, project.application(name)->type, QIcon());
        ASSERT_TRUE(step);
        EXPECT_EQ(step->text(Column::OperationColumn), QString::fromUtf8(c.operation));
        EXPECT_EQ(step->applicationClass, c.applicationClass);
        EXPECT_EQ(step->propertiesOperation,
                  c.seqOperation ? QString::fromUtf8(c.seqOperation) : QString());
    }
    EXPECT_EQ(columnTexts(list, Column::NumberColumn), numbersUpTo(4));
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_FALSE(list.inserting);

    // an application the host cannot find still becomes a step, after a word to the user
    ApplicationItem *missing = list.insertApplicationStep(std::nullopt, QStringLiteral("Gone"),
                                                          QStringLiteral("Chain Integrity Test"),
                                                          QIcon());
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->operationList.isEmpty());
    EXPECT_TRUE(missing->text(Column::OperationColumn).isEmpty());
    EXPECT_EQ(prompt.texts(), QStringList({"Error no application selected."}));

    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(SequenceListViewTest, RenumberingAndTheExactLabelLookup)
{
    addLabels(2);   // LABEL "A", LABEL "B"
    OperationItem *jump = list.insertOperationStep(QStringLiteral("GOTO"), {});
    jump->setText(Column::PropertyColumn, QStringLiteral("Start"));
    OperationItem *start = list.insertOperationStep(QStringLiteral("Label / Comment"), {});
    start->setText(Column::PropertyColumn, QStringLiteral("Start"));
    OperationItem *again = list.insertOperationStep(QStringLiteral("Label / Comment"), {});
    again->setText(Column::PropertyColumn, QStringLiteral("Start"));
    OperationItem *unnamed = list.insertOperationStep(QStringLiteral("Label / Comment"), {});

    const struct
    {
        const char *label;
        SequenceElementItem *found;
    } cases[] = {
        {"Start", start},   // the GOTO above it names the same text but is no label
        {"start", nullptr},
        {"Start ", nullptr},
        {"B", list.stepAt(1)},
        {"", unnamed},
        {"C", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(list.findLabelStep(QString::fromUtf8(c.label)), c.found);
    }

    list.stepAt(1)->setText(Column::NumberColumn, QStringLiteral("9"));
    list.stepAt(4)->setText(Column::NumberColumn, QStringLiteral("9"));
    // the view hears of the changed numbers, rows 2 to 5, as one change
    QSignalSpy changes(list.model(), &QAbstractItemModel::dataChanged);
    list.renumberSteps();
    EXPECT_EQ(columnTexts(list, Column::NumberColumn), numbersUpTo(6));
    ASSERT_EQ(changes.size(), 1);
    const auto first = changes[0][0].value<QModelIndex>();
    const auto last = changes[0][1].value<QModelIndex>();
    EXPECT_EQ(std::tuple(first.row(), first.column(), last.row(), last.column()),
              std::tuple(1, int(Column::NumberColumn), 4, int(Column::NumberColumn)));
    list.renumberSteps();
    EXPECT_EQ(changes.size(), 1);
}

TEST_F(SequenceListViewTest, TheDeleteKeyRemovesOnlyForDevelopers)
{
    const struct
    {
        const char *privilege;
        bool removes;
    } cases[] = {
        {"", true},
        {"Developer", true},
        {"Engineer", false},
        {"Operator", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.privilege);
        host.setValue(QStringLiteral("UserPrivilege"), QString::fromUtf8(c.privilege));
        list.clear();
        addLabels(3);
        list.setCurrentItem(list.stepAt(0));
        QSignalSpy removed(&list, &SequenceListView::stepsRemoved);
        QTest::keyClick(&list, Qt::Key_Delete);
        EXPECT_EQ(list.stepCount(), c.removes ? 2 : 3);
        EXPECT_EQ(removed.count(), c.removes ? 1 : 0);
        EXPECT_EQ(columnTexts(list, Column::NumberColumn), numbersUpTo(list.stepCount()));
        EXPECT_EQ(list.stepAt(0)->text(Column::PropertyColumn),
                  c.removes ? QStringLiteral("B") : QStringLiteral("A"));
    }
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(SequenceListViewTest, RemovedRowsLeaveNoDragStateBehind)
{
    addLabels(4);
    SequenceElementItem *doomed = list.stepAt(2);
    list.setCurrentItem(doomed);
    list.dropTarget = doomed;
    list.draggedStep = doomed;
    list.removeSelectedSteps();
    EXPECT_EQ(list.dropTarget, nullptr);
    EXPECT_EQ(list.draggedStep, nullptr);
    EXPECT_EQ(columnTexts(list, Column::PropertyColumn), QStringList({"A", "B", "D"}));

    // a row that survives keeps its place as target; a cleared list forgets it
    list.dropTarget = list.stepAt(1);
    delete list.stepAt(0);
    EXPECT_EQ(list.dropTarget, list.stepAt(0));
    list.clear();
    EXPECT_EQ(list.dropTarget, nullptr);
    EXPECT_TRUE(list.insertOperationStep(QStringLiteral("GOTO"), {}));
}

TEST_F(SequenceListViewTest, SelectingAnApplicationStepShowsItsLastOutcomeInTheProject)
{
    ApplicationItem *infra = list.insertApplicationStep(
        QMap<QString, QString>{{QStringLiteral("SeqOperation"), QStringLiteral("Test Infrastructure")}},
        QStringLiteral("Chain"), QStringLiteral("Chain Integrity Test"), QIcon());
    ApplicationItem *test = list.insertApplicationStep(std::nullopt, QStringLiteral("Nand0"),
                                                       QStringLiteral("NAND Programming"), QIcon());
    OperationItem *label = list.insertOperationStep(QStringLiteral("Label / Comment"), {});
    infra->hostStatusId = 11;
    infra->hostStatusText = QStringLiteral("chain broken");
    test->hostStatusId = 9;
    test->hostStatusText = QStringLiteral("verify failed");

    list.setCurrentItem(label);
    EXPECT_TRUE(outcomes().isEmpty());
    list.setCurrentItem(infra);
    list.setCurrentItem(test);
    EXPECT_EQ(outcomes(), QStringList({"Chain|Chain Integrity Test|11|chain broken|infra",
                                       "Nand0|NAND Programming|9|verify failed|app"}));
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(SequenceListViewTest, ResettingAStepClearsItsRunAndTellsTheProject)
{
    ApplicationItem *step = list.insertApplicationStep(
        QMap<QString, QString>{{QStringLiteral("SeqOperation"), QStringLiteral("Test Infrastructure")}},
        QStringLiteral("Chain"), QStringLiteral("Chain Integrity Test"), QIcon());
    const auto ranAndFailed = [](SequenceElementItem *ran) {
        ran->setStatusText(QStringLiteral("Failed"));
        ran->exitCode = 1;
        ran->hostStatusId = 9;
        ran->status = 2;
        ran->count = 3;
        ran->hostStatusText = QStringLiteral("2 nets open");
    };

    // a dialog working on a step that is still being inserted changes nothing
    ranAndFailed(step);
    list.inserting = true;
    list.resetStepRunState(step);
    EXPECT_EQ(step->statusText(), QStringLiteral("Failed"));
    EXPECT_TRUE(outcomes().isEmpty());
    list.inserting = false;

    list.resetStepRunState(step);
    EXPECT_EQ(step->statusText(), QStringLiteral("---"));
    EXPECT_FALSE(step->data(Column::StatusColumn, Qt::BackgroundRole).isValid());
    // exit code, host status, status and cycle
    EXPECT_EQ(QList<int>({step->exitCode, step->hostStatusId, step->status, step->count}), QList<int>({0, 0, 0, 1}));
    EXPECT_TRUE(step->hostStatusText.isEmpty());
    // told once as the cleared state, once more as the selection handling
    const QString cleared = QStringLiteral("Chain|Chain Integrity Test|0||infra");
    EXPECT_EQ(outcomes(), QStringList({cleared, cleared}));

    OperationItem *reset = list.insertOperationStep(QStringLiteral("Reset Instrument"), {});
    ranAndFailed(reset);
    list.resetStepRunState(reset);
    EXPECT_EQ(reset->count, 1);
    EXPECT_EQ(reset->statusText(), QStringLiteral("---"));
    EXPECT_EQ(outcomes(), QStringList({cleared, cleared, "Reset|Ctrl|0||app"}));
}

TEST_F(SequenceListViewTest, StoredStepsComeBackAsTheRowsTheyWere)
{
    HxSequenceItem application;
    application.itemType = 1;
    application.type = -1;
    application.columnType = QStringLiteral("Chain Integrity Test");
    application.columnOperation = QStringLiteral("Test Infrastructure");
    application.columnItem = QStringLiteral("Chain");
    application.columnStatus = QStringLiteral("Passed");
    application.applicationClass = 3;
    // every class's row keeps its stored fields, and a step without a kind
    // makes none (the row's own test); here what the list adds: an
    // application asks the host for its lists
    EXPECT_TRUE(list.insertStoredStep(application));
    ASSERT_EQ(list.stepCount(), 1);
    EXPECT_TRUE(list.stepAt(0)->toStoredItem() == application);
    // a loaded application step offers what the host offers today
    EXPECT_EQ(list.firstStep()->operationList.size(), 5);
    EXPECT_TRUE(prompt.asked.isEmpty());
}

TEST_F(SequenceListViewTest, TheRowMenuFollowsThePrivilegeAndTheStep)
{
    ApplicationItem *chain = list.insertApplicationStep(std::nullopt, QStringLiteral("Chain"),
                                                        QStringLiteral("Chain Integrity Test"), QIcon());
    OperationItem *reset = list.insertOperationStep(QStringLiteral("Reset Instrument"), {});
    OperationItem *label = list.insertOperationStep(QStringLiteral("Label / Comment"), {});
    bool runs = false;
    list.setExecuteAllowed([&runs] { return runs; });
    const struct
    {
        const char *privilege;
        SequenceElementItem *row;
        bool runs;
        QStringList entries;   // "-" marks a disabled one
    } cases[] = {
        {"", label, true, {"Execute", "Properties", "Remove"}},
        {"Developer", label, false, {"-Execute", "Properties", "Remove"}},
        {"Engineer", chain, true, {"Execute", "Options"}},
        {"Technician", reset, false, {"-Execute", "Options"}},
        {"Engineer", label, false, {"-Execute", "-Options"}},
        {"Operator", chain, true, {"Execute"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.privilege) + " " + c.row->text(Column::OperationColumn).toStdString());
        host.setValue(QStringLiteral("UserPrivilege"), QString::fromUtf8(c.privilege));
        runs = c.runs;
        QStringList shown;
        whenShown([&shown](QWidget *menu) {
            for (const QAction *action : menu->actions())
                shown.append((action->isEnabled() ? QString() : QStringLiteral("-")) + action->text().remove(u'&'));
            static_cast<QMenu *>(menu)->close();
        });
        list.slotShowContextMenu(c.row, QPoint(10, 10));
        EXPECT_EQ(shown, c.entries);
    }
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST_F(SequenceListViewTest, OnlyUsableApplicationsComeFromTheProjectTree)
{
    ProjectApplication tool;
    tool.name = QStringLiteral("Probe");
    tool.type = QStringLiteral("Interactive Tool 2");
    project.applications.append(tool);
    const struct
    {
        qint32 kind;
        const char *application;
        bool taken;
    } cases[] = {
        {102, "Chain", true},
        {101, "Chain", false},
        {102, "Probe", false},   // an interactive tool
        {102, "Gone", false},
    };
    list.resize(400, 300);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.application);
        QByteArray payload;
        QDataStream stream(&payload, QIODevice::WriteOnly);
        stream << c.kind << QString::fromUtf8(c.application);
        QMimeData data;
        data.setData(QStringLiteral("HxProjectDrag"), payload);
        QDragEnterEvent enter(QPoint(10, 250), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &enter);
        EXPECT_EQ(enter.isAccepted(), c.taken);
        QDropEvent drop(QPointF(10, 250), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        const int before = list.stepCount();
        QCoreApplication::sendEvent(list.viewport(), &drop);
        EXPECT_EQ(list.stepCount(), before + (c.taken ? 1 : 0));
    }
    EXPECT_EQ(columnTexts(list, Column::ItemColumn), QStringList({"Chain"}));
    // the host's settings name the instrument a new step runs on
    EXPECT_EQ(list.firstStep()->parameters.value(QStringLiteral("InstrumentName")), QStringLiteral("Preferred"));
    EXPECT_TRUE(prompt.asked.isEmpty());
}

TEST_F(SequenceListViewTest, TipsDescribeApplicationAndCommandStepsOnly)
{
    ApplicationItem *chain = list.insertApplicationStep(std::nullopt, QStringLiteral("Chain <1>"),
                                                        QStringLiteral("Chain Integrity Test"), QIcon());
    SequenceCommand tool;
    tool.setName(QStringLiteral("Tool"));
    tool.setCommand(QStringLiteral("tool.sh"));
    tool.setFailExitCode(7);
    CommandItem *command = list.insertCommandStep(tool, QIcon());
    // the name is the person's text and goes into the tip as HTML text
    EXPECT_TRUE(SequenceListViewTip::text(chain).contains(QLatin1String("Application: Chain &lt;1&gt;")));
    const QString tip = SequenceListViewTip::text(command);
    EXPECT_TRUE(tip.contains(QLatin1String("tool.sh")) && tip.contains(QLatin1String("\t7"))) << tip.toStdString();
    EXPECT_TRUE(SequenceListViewTip::text(list.insertOperationStep(QStringLiteral("GOTO"), {})).isEmpty());
}

TEST_F(SequenceListViewTest, EveryChangeIsUndoneAndRedone)
{
    addLabels(4);
    list.undoStack()->clear();
    const auto stored = [this] {
        QList<HxSequenceItem> items;
        for (const SequenceElementItem *step : list.steps())
            items.append(step->toStoredItem());
        return items;
    };
    const struct
    {
        const char *change;
        std::function<void()> make;
    } cases[] = {
        {"insert", [this] { list.dropTarget = list.stepAt(1); list.insertOperationStep(QStringLiteral("IF <condition>"), {}); }},
        {"move", [this] { list.draggedStep = list.stepAt(3); list.dropTarget = list.stepAt(0); list.moveDraggedStep(); }},
        {"remove", [this] { list.setCurrentItem(list.stepAt(2)); QTest::keyClick(&list, Qt::Key_Delete); }},
        {"edit", [this] {
             whenShown([](QWidget *dialog) {
                 child<QLineEdit>(dialog, "labelLineEdit")->setText(QStringLiteral("Z"));
                 pressOk(dialog);
             });
             list.slotShowProperties(list.stepAt(list.stepCount() - 1));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.change);
        list.dropTarget = nullptr;
        const QList<HxSequenceItem> before = stored();
        c.make();
        const QList<HxSequenceItem> after = stored();
        ASSERT_NE(after, before);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(stored(), before);
        QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(stored(), after);
    }
    // a list filled anew has nothing to undo
    list.clear();
    EXPECT_FALSE(list.undoStack()->canUndo());
}

TEST_F(SequenceListViewTest, AnEngineerSetsAnApplicationStepsOptionsInTheHost)
{
    ApplicationItem *chain = list.insertApplicationStep(std::nullopt, QStringLiteral("Chain"),
                                                        QStringLiteral("Chain Integrity Test"), QIcon());
    host.setValue(QStringLiteral("UserPrivilege"), QStringLiteral("Engineer"));
    whenShown([](QWidget *menu) {
        whenShown([](QWidget *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("operationBox"))->setCurrentText(QStringLiteral("Test Infrastructure"));
            dialog->findChild<QComboBox *>(QStringLiteral("showBox"))->setCurrentText(QStringLiteral("Diagnostics"));
            static_cast<QDialog *>(dialog)->accept();
        });
        QTest::keyClick(menu, Qt::Key_O);
    });
    list.slotShowContextMenu(chain, QPoint(10, 10));
    EXPECT_EQ(chain->text(Column::OperationColumn), QStringLiteral("Test Infrastructure"));
    EXPECT_EQ(chain->text(Column::ShowColumn), QStringLiteral("Diagnostics"));
    EXPECT_EQ(chain->parameters.value(QStringLiteral("ItemNumber")), QStringLiteral("1"));
    EXPECT_TRUE(list.undoStack()->canUndo());
    EXPECT_EQ(host.outstandingReferences(), 0);
}
