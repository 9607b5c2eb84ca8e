#pragma once

#include "controloperations.h"
#include "hxsequence.h"
#include "sequencecommand.h"
#include "sequenceenums.h"

#include <memory>

// Builds a stored sequence step by step, each step with the kind, columns,
// flow actions and fields the sequence document gives it, so a sequencer
// window loads it as it would load a saved project. Every step starts with
// "Next" for every outcome and counts for the sequence status; the step
// returned by each call can be changed before the sequence is taken.
class SequenceBuilder
{
public:
    explicit SequenceBuilder(const QString &title, const QString &description = QString())
        : sequence(std::make_unique<HxSequence>(title, description))
    {
        sequence->setExecuteMode(int(ExecuteMode::WholeSequence));
        sequence->setRepeatCount(1);
    }

    // A step that runs the project application `name` of type `type`.
    HxSequenceItem &application(const QString &name, const QString &type,
                                const QString &operation = QStringLiteral("Execute Test"))
    {
        HxSequenceItem &step = append(ItemType::Application);
        step.type = -1;
        step.columnType = type;
        step.columnOperation = operation;
        step.columnItem = name;
        step.columnShow = QStringLiteral("Status");
        step.propertiesOperation = operation;
        step.propertiesShow = QStringLiteral("Status");
        step.parameters = {{QStringLiteral("InstrumentName"), QStringLiteral("Preferred")},
                           {QStringLiteral("SeqOperation"), operation},
                           {QStringLiteral("Show"), QStringLiteral("Status")}};
        return step;
    }

    // A step that runs `commandLine` through the shell, named `name`.
    HxSequenceItem &command(const QString &name, const QString &commandLine, int passExitCode = 0,
                            int failExitCode = 1,
                            const QString &operation = QStringLiteral("Execute Command"))
    {
        HxSequenceItem &step = append(ItemType::Command);
        step.type = -1;
        step.columnType = QStringLiteral("Sys");
        step.columnOperation = operation;
        step.columnItem = name;
        step.columnShow = QStringLiteral("Status");
        step.propertiesOperation = operation;
        step.propertiesShow = QStringLiteral("Status");
        step.command.setName(name);
        step.command.setCommand(commandLine);
        step.command.setConsoleApp(true);
        step.command.setPassExitCode(passExitCode);
        step.command.setFailExitCode(failExitCode);
        return step;
    }

    // A control step; `property` is the condition of IF and ELIF and the
    // label of LABEL and GOTO.
    HxSequenceItem &operation(ControlOperations::ControlOperation kind,
                              const QString &property = QString())
    {
        HxSequenceItem &step = append(ItemType::Operation);
        step.type = int(kind);
        step.columnType = QStringLiteral("Ctrl");
        step.columnOperation = ControlOperations::controlOperationName(int(kind));
        step.columnProperty = property;
        step.columnItem = QStringLiteral(",");
        step.columnShow = QStringLiteral("Status");
        step.operationItemId = step.columnOperation;
        return step;
    }

    HxSequenceItem &ifStep(const QString &condition)
    {
        return operation(ControlOperations::ControlOperation::If, condition);
    }
    HxSequenceItem &elifStep(const QString &condition)
    {
        return operation(ControlOperations::ControlOperation::Elif, condition);
    }
    HxSequenceItem &elseStep() { return operation(ControlOperations::ControlOperation::Else); }
    HxSequenceItem &endIfStep() { return operation(ControlOperations::ControlOperation::EndIf); }
    HxSequenceItem &label(const QString &name)
    {
        return operation(ControlOperations::ControlOperation::Label, name);
    }
    HxSequenceItem &gotoStep(const QString &labelName)
    {
        return operation(ControlOperations::ControlOperation::Goto, labelName);
    }

    // Repeat on with `count` cycles.
    SequenceBuilder &repeat(int count)
    {
        sequence->setRepeat(true);
        sequence->setRepeatCount(count);
        return *this;
    }
    SequenceBuilder &singleApplication()
    {
        sequence->setExecuteMode(int(ExecuteMode::SingleApplication));
        return *this;
    }

    // the sequence's own settings, such as its unit identification
    HxSequence &settings() { return *sequence; }

    QString title() const { return sequence->title(); }
    // The sequence, for a list that owns it; the builder is empty afterwards.
    HxSequence *take() { return sequence.release(); }

private:
    HxSequenceItem &append(ItemType kind)
    {
        auto step = std::make_shared<HxSequenceItem>();
        step->itemType = int(kind);
        step->columnNumber = QString::number(sequence->items().size() + 1);
        step->columnStatus = StatusText::Reset;
        step->count = 1;
        step->passAction = QStringLiteral("Next");
        step->failAction = QStringLiteral("Next");
        step->rejectAction = QStringLiteral("Next");
        step->systemErrorAction = QStringLiteral("Next");
        step->statusToSequenceStatus = true;
        sequence->appendItem(step);
        return *step;
    }

    std::unique_ptr<HxSequence> sequence;
};
