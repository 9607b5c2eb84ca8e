#pragma once

#include <QString>

// The kinds, codes and texts every part of the sequencer shares. The integer
// values are stored in documents and files and must never change.

// The kind of a step.
enum class ItemType : int {
    None = 0,          // never given a kind; the sequencer window does not show it
    Application = 1,
    Operation = 2,
    Command = 3,
};

// The status code a step keeps after it ran.
enum class StepStatus : int {
    Skipped = 0,
    Passed = 1,
    Failed = 2,
    Rejected = 3,
    Error = 4,         // also a time-out
    Cancelled = 5,
    Done = 8,          // an operation step that completed
};

// The host's status ids for the outcome of an application step.
enum class HostStatusId : int {
    Skipped = 0,
    Pass = 8,
    Fail = 9,
    Reject = 10,
    Error = 11,        // also a time-out
};

// What the runner does after a step.
enum class FlowAction { Next, Prev, Stop, Redo };

// How the sequencer window runs its sequence.
enum class ExecuteMode : int {
    NotSet = 0,        // a new sequence before its window set the mode
    WholeSequence = 1,
    SingleApplication = 2,
};

namespace StatusText {
inline const QString Skipped = QStringLiteral("Skipped");
inline const QString Reset = QStringLiteral("---");
inline const QString Passed = QStringLiteral("Passed");
inline const QString Failed = QStringLiteral("Failed");
inline const QString Rejected = QStringLiteral("Rejected");
inline const QString Error = QStringLiteral("Error");
inline const QString Timeout = QStringLiteral("Timeout");
inline const QString Cancelled = QStringLiteral("Cancelled");
inline const QString Done = QStringLiteral("Done");
} // namespace StatusText

// The text a status code is shown with (the plain variant: "Skipped",
// "Error"; the reset and time-out variants are chosen by the runner).
QString statusText(StepStatus status);

// Flow actions are stored as their names.
QString flowActionName(FlowAction action);
// Any text that is not one of the four names behaves as "Next".
FlowAction flowActionFromName(const QString &name);
