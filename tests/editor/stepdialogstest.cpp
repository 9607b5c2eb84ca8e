// The dialogs of the flow-control, message and reset steps: what they
// refuse, what they write into a step, and how the list uses them.

#include "applicationitem.h"
#include "commanditem.h"
#include "controloperations.h"
#include "modalanswer.h"
#include "sequenceitempropertiesdialog.h"
#include "ifconditionpropertiesdialogv2.h"
#include "labelpropertiesdialog.h"
#include "operationitem.h"
#include "operationslistview.h"
#include "pausepropertiesdialog.h"
#include "resetinstrumentpropertiesdialog.h"
#include "sampleprojecthost.h"
#include "sequencelistview.h"
#include "workbenchhost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

using Column = SequenceElementItem::Column;
using ControlOperations::ControlOperation;

class StepDialogsTest : public ::testing::Test
{
protected:
    QStringList warnings() const { return prompt.texts(); }

    SampleProjectHost sample;
    WorkbenchHost &host = sample.host;
    ScriptedPrompt &prompt = sample.prompt;
};

} // namespace

TEST_F(StepDialogsTest, PauseChecksItsInputAndKeepsTheMessageAndTiming)
{
    OperationItem step(int(ControlOperation::Pause));
    PausePropertiesDialog dialog(host.link());
    dialog.setItem(&step);
    auto *message = child<QTextEdit>(&dialog, "messageTextEdit");
    auto *yes = child<QRadioButton>(&dialog, "yesRadioButton");

    // the answer settings belong to questions
    message->setPlainText(QStringLiteral("Continue?"));
    EXPECT_TRUE(yes->isEnabled());
    message->setPlainText(QStringLiteral("Continue."));
    EXPECT_FALSE(yes->isEnabled());

    message->setPlainText(QStringLiteral("  \n "));
    pressOk(&dialog);
    EXPECT_EQ(warnings().last(), QStringLiteral("Message can't be left empty"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    message->setPlainText(QStringLiteral("a\nb\nc?"));
    child<QLineEdit>(&dialog, "soundLineEdit")->setText(QStringLiteral("beep,1.wav"));
    pressOk(&dialog);
    EXPECT_EQ(warnings().last(), QStringLiteral("Sound contains illegal character: ',' (comma)"));

    child<QLineEdit>(&dialog, "soundLineEdit")->clear();
    child<QSpinBox>(&dialog, "timeoutSpinBox")->setValue(5000);
    child<QRadioButton>(&dialog, "noRadioButton")->setChecked(true);
    child<QCheckBox>(&dialog, "noEqualsPassCheckBox")->setChecked(true);
    child<QCheckBox>(&dialog, "sequenceReportCheckBox")->setChecked(true);
    pressOk(&dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(QStringList({step.text(Column::PropertyColumn), step.text(Column::ItemColumn), step.pauseMessageText}),
              QStringList({"a || b || c?", "5000,", "a\nb\nc?"}));
    EXPECT_EQ(QList<int>({step.timeOut, step.pauseMessageDefaultAnswer}), QList<int>({5000, 1}));
    EXPECT_TRUE(step.pauseMessageAnswerNoIsPass && step.addToReport);

    // opened again, it shows what it stored
    PausePropertiesDialog again(host.link());
    again.setItem(&step);
    EXPECT_EQ(child<QTextEdit>(&again, "messageTextEdit")->toPlainText(), QStringLiteral("a\nb\nc?"));
    EXPECT_EQ(child<QSpinBox>(&again, "timeoutSpinBox")->value(), 5000);
    EXPECT_TRUE(child<QRadioButton>(&again, "noRadioButton")->isChecked());
}

TEST_F(StepDialogsTest, ConditionsAreBuiltFromKeyOperatorAndValue)
{
    IFConditionPropertiesDialogV2 dialog(host.link());
    EXPECT_EQ(dialog.condition(), QStringLiteral("item = pass"));
    auto *key = child<QComboBox>(&dialog, "keyComboBox");
    auto *values = child<QComboBox>(&dialog, "valueComboBox");

    // the whole run is never "rejected"; a single step may be
    dialog.OnKeyComboBox(QStringLiteral("all"));
    EXPECT_FALSE(itemTexts(values).contains(QStringLiteral("reject")));
    key->setCurrentText(QStringLiteral("item"));
    dialog.OnKeyComboBox(QStringLiteral("item"));
    EXPECT_EQ(itemTexts(values).last(), QStringLiteral("reject"));

    // a number key without a number is refused
    key->setCurrentText(QStringLiteral("loop"));
    dialog.OnKeyComboBox(QStringLiteral("loop"));
    EXPECT_FALSE(child<QLineEdit>(&dialog, "valueLineEdit")->isHidden());
    OperationItem step(int(ControlOperation::If));
    dialog.setItem(&step);
    pressOk(&dialog);
    EXPECT_EQ(prompt.asked.last().caption, QStringLiteral("Bad condition"));
    EXPECT_TRUE(step.text(Column::PropertyColumn).isEmpty());

    // a stored condition comes back into the widgets
    step.setText(Column::PropertyColumn, QStringLiteral("exit >= 3"));
    IFConditionPropertiesDialogV2 opened(host.link());
    opened.setItem(&step);
    EXPECT_EQ(child<QComboBox>(&opened, "keyComboBox")->currentText(), QStringLiteral("exit"));
    EXPECT_EQ(child<QComboBox>(&opened, "operatorComboBox")->currentText(), QStringLiteral(">="));
    EXPECT_EQ(child<QLineEdit>(&opened, "valueLineEdit")->text(), QStringLiteral("3"));
    child<QComboBox>(&opened, "operatorComboBox")->setCurrentText(QStringLiteral("<"));
    pressOk(&opened);
    EXPECT_EQ(step.text(Column::PropertyColumn), QStringLiteral("exit < 3"));
}

TEST_F(StepDialogsTest, LabelsAreKeptAsTypedAndResetNamesItsInstrument)
{
    OperationItem label(int(ControlOperation::Label));
    LabelPropertiesDialog labelDialog(host.link());
    labelDialog.setItem(&label);
    child<QLineEdit>(&labelDialog, "labelLineEdit")->setText(QStringLiteral("   "));
    pressOk(&labelDialog);
    EXPECT_EQ(warnings().last(), QStringLiteral("Label can't be left empty"));
    child<QLineEdit>(&labelDialog, "labelLineEdit")->setText(QStringLiteral(" retry "));
    pressOk(&labelDialog);
    EXPECT_EQ(label.text(Column::PropertyColumn), QStringLiteral(" retry "));

    OperationItem reset(int(ControlOperation::Reset));
    reset.setText(Column::PropertyColumn, QStringLiteral("Preferred"));
    ResetInstrumentPropertiesDialog resetDialog(host.link());
    resetDialog.setItem(&reset);
    auto *instruments = child<QComboBox>(&resetDialog, "instrumentComboBox");
    EXPECT_EQ(instruments->currentText(), QStringLiteral("Preferred (BCU-1)"));
    ASSERT_EQ(instruments->count(), 3);
    pressOk(&resetDialog);
    EXPECT_EQ(reset.text(Column::PropertyColumn), QStringLiteral("Preferred"));
    instruments->setCurrentText(QStringLiteral("BCU-2"));
    pressOk(&resetDialog);
    EXPECT_EQ(reset.text(Column::PropertyColumn), QStringLiteral("BCU-2"));
    EXPECT_EQ(host.outstandingReferences(), 0);
}

// Building with the dialogs (confirmed, and opened by a double click) is
// what the workbench's editing test does; here what it leaves out.
TEST_F(StepDialogsTest, AnOperatorOpensNoDialogAndDropsNoStep)
{
    SequenceListView list(host.link());
    // an operator only runs sequences: a double click opens nothing, a drop
    // from the palette is not taken
    OperationItem *print = list.insertOperationStep(QStringLiteral("Print report"), {});
    ASSERT_TRUE(print);
    host.setValue(QStringLiteral("UserPrivilege"), QStringLiteral("Operator"));
    EXPECT_FALSE(list.slotShowProperties(print));
    list.resize(600, 300);
    list.show();
    std::unique_ptr<QMimeData> printDrag(OperationsListView::dragData(QStringLiteral("Print report"),
                                                                      int(ControlOperation::Print)));
    QDragEnterEvent enter(QPoint(10, 250), Qt::CopyAction, printDrag.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QDropEvent drop(QPointF(10, 250), Qt::CopyAction, printDrag.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    EXPECT_FALSE(enter.isAccepted() && drop.isAccepted());
    EXPECT_EQ(list.stepCount(), 1);
}

TEST_F(StepDialogsTest, StepPropertiesOfferWhatTheStepsKindMayChoose)
{
    SequenceListView list(host.link());
    ApplicationItem *chain = list.insertApplicationStep(std::nullopt, QStringLiteral("Chain"),
                                                        QStringLiteral("Chain Integrity Test"), {});
    SequenceCommand tool;
    tool.setName(QStringLiteral("Tool"));
    CommandItem *command = list.insertCommandStep(tool, {});
    const struct
    {
        SequenceElementItem *step;
        int mode;
        QStringList operations;
        QStringList shows;
        bool showEnabled;
    } cases[] = {
        {chain, BaseProperties::ApplicationMode,
         {"Execute Test", "Test Infrastructure", "Force Pass", "Force Fail", "Skip Operation"},
         {"Status", "Diagnostics"}, true},
        {command, BaseProperties::CommandMode,
         {"Execute Command", "Force Pass", "Force Fail", "Skip Operation"}, {"Status"}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        SequenceItemPropertiesDialog dialog(host.link());
        dialog.setMode(c.mode);
        dialog.setApplicationId(c.step->text(Column::ItemColumn));
        dialog.init();
        dialog.setItem(c.step);
        auto *operation = child<QComboBox>(&dialog, "operationComboBox");
        auto *show = child<QComboBox>(&dialog, "showComboBox");
        EXPECT_EQ(itemTexts(operation), c.operations);
        EXPECT_EQ(itemTexts(show), c.shows);
        EXPECT_EQ(show->isEnabled(), c.showEnabled);
        // forced outcomes have no options
        auto *options = child<QPushButton>(&dialog, "optionsPushButton");
        for (const auto &[text, enabled] : {std::pair{"Force Pass", false}, std::pair{"Skip Operation", false},
                                            std::pair{"Force Fail", false}}) {
            const int entry = operation->findText(QString::fromUtf8(text));
            operation->setCurrentIndex(entry);
            Q_EMIT operation->activated(entry);
            EXPECT_EQ(options->isEnabled(), enabled) << text;
        }
        operation->setCurrentIndex(0);
        Q_EMIT operation->activated(0);
        EXPECT_TRUE(options->isEnabled());
    }
    EXPECT_TRUE(prompt.asked.isEmpty());
}

TEST_F(StepDialogsTest, ANewOperationClearsTheLastRunAndCancelChangesNothing)
{
    SequenceListView list(host.link());
    ApplicationItem *chain = list.insertApplicationStep(std::nullopt, QStringLiteral("Chain"),
                                                        QStringLiteral("Chain Integrity Test"), {});
    const struct
    {
        const char *operation;   // null: cancel
        const char *fail;
        const char *status;
        const char *show;
    } cases[] = {
        {nullptr, "Stop", "Failed", "Status"},
        {"Execute Test", "Redo", "Failed", "Diagnostics"},
        {"Test Infrastructure", "Next", "---", "Status"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.operation ? c.operation : "cancel");
        chain->setStatusText(QStringLiteral("Failed"));
        chain->failAction = QStringLiteral("Next");
        const HxSequenceItem before = chain->toStoredItem();
        whenShown([&c](QWidget *dialog) {
            child<QComboBox>(dialog, "failComboBox")->setCurrentText(QString::fromUtf8(c.fail));
            child<QComboBox>(dialog, "showComboBox")->setCurrentText(QString::fromUtf8(c.show));
            if (!c.operation) {
                child<QPushButton>(dialog, "cancelButton")->click();
                return;
            }
            child<QComboBox>(dialog, "operationComboBox")->setCurrentText(QString::fromUtf8(c.operation));
            pressOk(dialog);
        });
        EXPECT_EQ(list.slotShowProperties(chain), c.operation != nullptr);
        if (!c.operation) {
            EXPECT_TRUE(chain->toStoredItem() == before);
            continue;
        }
        EXPECT_EQ(chain->text(Column::OperationColumn), QString::fromUtf8(c.operation));
        EXPECT_EQ(chain->parameters.value(QStringLiteral("SeqOperation")), QString::fromUtf8(c.operation));
        EXPECT_EQ(chain->text(Column::ShowColumn), QString::fromUtf8(c.show));
        EXPECT_EQ(chain->failAction, QString::fromUtf8(c.fail));
        EXPECT_EQ(chain->statusText(), QString::fromUtf8(c.status));
    }
}
