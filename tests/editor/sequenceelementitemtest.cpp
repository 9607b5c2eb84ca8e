#include "applicationitem.h"
#include "commanditem.h"
#include "operationitem.h"
#include "qstringprinter.h"
#include "sequenceelementitem.h"

#include <QBrush>

#include <gtest/gtest.h>

namespace {

// The colour a status cell shows; empty when it keeps the list's own colours.
QString cellColour(const SequenceElementItem &step, int column)
{
    const QVariant background = step.data(column, Qt::BackgroundRole);
    if (!background.isValid())
        return QString();
    return background.value<QBrush>().color().name(QColor::HexRgb).toUpper();
}

// A stored step with every field set to something other than its default.
HxSequenceItem fullStep(ItemType kind)
{
    HxSequenceItem stored;
    stored.commandEx = QStringLiteral("2500,C:\\sounds\\ding.wav");
    stored.condition = 7;
    stored.timeOut = 2500;
    stored.count = 3;
    stored.exitCode = 2;
    stored.status = int(StepStatus::Failed);
    stored.globalGang = true;
    stored.hostStatusId = 9;
    stored.hostStatusText = QStringLiteral("2 nets open");
    stored.columnNumber = QStringLiteral("4");
    stored.columnProperty = QStringLiteral("exit >= 3");
    stored.columnShow = QStringLiteral("Diagnostics");
    stored.columnStatus = QStringLiteral("Failed");
    stored.itemType = int(kind);
    stored.pauseMessageText = QStringLiteral("Insert board\nthen press Yes?");
    stored.pauseMessageDefaultAnswer = 1;
    stored.pauseMessageAnswerNoIsPass = true;
    stored.addToReport = true;
    stored.passAction = QStringLiteral("Prev");
    stored.failAction = QStringLiteral("Stop");
    stored.rejectAction = QStringLiteral("Next");
    stored.systemErrorAction = QStringLiteral("Redo");
    stored.saveResultsOnFail = true;
    stored.saveResultsOnPass = true;
    stored.propertiesOperation = QStringLiteral("Test Infrastructure");
    stored.propertiesShow = QStringLiteral("Diagnostics");
    stored.statusToSequenceStatus = true;
    stored.parameters = {{QStringLiteral("ItemNumber"), QStringLiteral("4")},
                         {QStringLiteral("TapInfo1.Level"), QStringLiteral("33")}};
    // A stale class from an older catalogue must not survive.
    stored.applicationClass = 99;

    switch (kind) {
    case ItemType::Application:
        stored.type = -1;
        stored.columnType = QStringLiteral("NAND Programming");
        stored.columnOperation = QStringLiteral("Test Infrastructure");
        stored.columnItem = QStringLiteral("Nand0");
        break;
    case ItemType::Operation:
        stored.type = 7;
        stored.columnType = QStringLiteral("Ctrl");
        stored.columnOperation = QStringLiteral("ELIF");
        stored.columnItem = QStringLiteral(",");
        stored.operationItemId = QStringLiteral("ELIF <condition>");
        break;
    case ItemType::Command:
        stored.type = -1;
        stored.columnType = QStringLiteral("Sys");
        stored.columnOperation = QStringLiteral("Execute Command");
        stored.columnItem = QStringLiteral("Flash tool");
        stored.command.setName(QStringLiteral("Flash tool"));
        stored.command.setCommand(QStringLiteral("flash.sh --all"));
        stored.command.setDir(QStringLiteral("/opt/flash"));
        stored.command.setLaunchInDesignDir(true);
        stored.command.setAddToLaunchMenu(true);
        stored.command.setConsoleApp(true);
        stored.command.setInternal(true);
        stored.command.setAllowUserInteraction(true);
        stored.command.setShowImmediateOutput(true);
        stored.command.setEditBeforeLaunch(true);
        stored.command.setFailExitCode(5);
        stored.command.setPassExitCode(3);
        break;
    case ItemType::None:
        break;
    }
    return stored;
}

} // namespace

TEST(SequenceElementItemTest, StatusCellColourFollowsItsTextAndTheRowsClass)
{
    ApplicationItem application;
    OperationItem operation;
    CommandItem command;
    const struct
    {
        const char *status;
        const char *application;
        const char *operation;
        const char *command;
    } cases[] = {
        {"Passed", "#80FF80", "#80FF80", "#80FF80"},
        {"Failed", "#FF4040", "#FF4040", "#FF4040"},
        {"Cancelled", "#FFFF00", "#FFFF00", "#FFFF00"},
        {"Error", "#FFFF00", "#FFFF00", "#FFFF00"},
        {"Timeout", "", "#FFFF00", ""},
        {"Rejected", "#FFFF00", "", ""},
        {"Busy", "#6699EE", "#6699EE", "#6699EE"},
        {"Done", "", "", ""},
        {"passed", "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status);
        const QString status = QString::fromUtf8(c.status);
        application.setStatusText(status);
        operation.setStatusText(status);
        // the runner writes the cell directly; the colour must follow that too
        command.setText(SequenceElementItem::StatusColumn, status);
        EXPECT_EQ(cellColour(application, SequenceElementItem::StatusColumn),
                  QString::fromUtf8(c.application));
        EXPECT_EQ(cellColour(operation, SequenceElementItem::StatusColumn),
                  QString::fromUtf8(c.operation));
        EXPECT_EQ(cellColour(command, SequenceElementItem::StatusColumn),
                  QString::fromUtf8(c.command));
        EXPECT_EQ(application.statusText(), status);
    }

    // only the Status column is painted, whatever another column says
    application.setText(SequenceElementItem::ShowColumn, QStringLiteral("Failed"));
    EXPECT_EQ(cellColour(application, SequenceElementItem::ShowColumn), QString());
}

TEST(SequenceElementItemTest, EveryClassKeepsEveryStoredFieldThroughARow)
{
    const struct
    {
        ItemType kind;
        int rowType;
        int applicationClass;
    } cases[] = {
        // the operation decides the class of a command-line driven type
        {ItemType::Application, SequenceElementItem::ApplicationRow, 3},
        {ItemType::Operation, SequenceElementItem::OperationRow, 4},
        {ItemType::Command, SequenceElementItem::CommandRow, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.kind));
        const HxSequenceItem stored = fullStep(c.kind);
        const std::unique_ptr<SequenceElementItem> step = SequenceElementItem::createFor(stored);
        ASSERT_TRUE(step);
        EXPECT_EQ(step->type(), c.rowType);
        EXPECT_EQ(step->itemType(), int(c.kind));
        EXPECT_EQ(step->applicationClass, c.applicationClass);
        EXPECT_EQ(step->text(SequenceElementItem::OperationColumn), stored.columnOperation);
        EXPECT_EQ(cellColour(*step, SequenceElementItem::StatusColumn), QStringLiteral("#FF4040"));

        HxSequenceItem expected = stored;
        expected.applicationClass = c.applicationClass;
        EXPECT_TRUE(step->toStoredItem() == expected);

        // what the row holds live is what gets stored
        step->exitCode = 1;
        step->setText(SequenceElementItem::OperationColumn, QStringLiteral("Execute Test"));
        const HxSequenceItem changed = step->toStoredItem();
        EXPECT_EQ(changed.exitCode, 1);
        EXPECT_EQ(changed.columnOperation, QStringLiteral("Execute Test"));
    }

    // only the operation kind belongs to its class (the stored fields are the loop's)
    const auto operation = SequenceElementItem::createFor(fullStep(ItemType::Operation));
    EXPECT_EQ(operation->operationKind(), 7);
    EXPECT_EQ(operation->stepName, QStringLiteral("ELIF"));
    const auto command = SequenceElementItem::createFor(fullStep(ItemType::Command));
    EXPECT_EQ(command->operationKind(), -1);
    EXPECT_EQ(command->stepName, QStringLiteral("Flash tool"));
}

TEST(SequenceElementItemTest, StepsWithoutAKindMakeNoRowAndAPlainRowStoresAsNone)
{
    for (int kind : {0, 4, -1}) {
        SCOPED_TRACE(kind);
        HxSequenceItem stored = fullStep(ItemType::Application);
        stored.itemType = kind;
        EXPECT_FALSE(SequenceElementItem::createFor(stored));
    }

    SequenceElementItem plain;
    plain.assignStoredItem(fullStep(ItemType::Operation));
    const HxSequenceItem stored = plain.toStoredItem();
    EXPECT_EQ(stored.itemType, 0);
    EXPECT_EQ(stored.type, -1);
    EXPECT_TRUE(stored.command == SequenceCommand());
}
