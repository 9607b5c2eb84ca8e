#pragma once

#include "conditionkeyword.h"

#include <QString>
#include <QtGlobal>

#include <functional>

// What a condition reads from a step. The runner fills it from the step's
// row; tests and dialogs build it directly.
struct ConditionStep
{
    QString condition;   // the Property column of an IF or ELIF step
    // The cycle in which the step was last started (from 1). For an ELIF
    // that a false IF examines, the runner passes the cycle now running, so
    // that an IF and its ELIFs read LOOP alike.
    int loopNumber = 1;
    qint32 exitCode = 0;
    int status = 0;      // a StepStatus code; 7 is an error state as well
    quint32 crc = 0;     // recorded by a flash step that checked an image's CRC
};

// The one grammar of IF and ELIF conditions: "key operator value", as in
// "item = fail", "exit >= 3", "loop < 5" or "all = pass".
namespace Condition {

// The longest token a condition may hold.
inline constexpr qsizetype MaxTokenLength = 255;

struct Tokens
{
    QString key;
    QString op;
    QString value;
    int count = 0;       // tokens found before the scan stopped, 0 to 3

    bool complete() const { return count == 3; }
};

// Whether the run's step statuses so far aggregate to the given verdict
// (Id::Pass, Id::Fail or Id::Error). The runner answers from its run
// aggregate.
using AllStatusQuery = std::function<bool(ConditionKeyword::Id verdict)>;

// Splits the text into key, operator and value. Leading white space and the
// white space between tokens are skipped; the key runs up to a blank, tab,
// '<', '=' or '>', the operator is the run of '<', '=' and '>' after it, and
// the value runs up to a blank or tab. Text after the value is ignored. The
// scan stops at the first token that is missing or longer than
// MaxTokenLength; the condition is well formed only when complete().
Tokens parseCondition(const QString &text);

// The syntax check of the IF and ELIF dialogs.
bool isValidCondition(const QString &text);

// The condition of conditionStep, read against referenceStep (the step above
// the IF; null when the IF is the first step) and the run's aggregate. A
// condition that is malformed, invalid or needs an absent step is false.
bool evaluateCondition(const ConditionStep *conditionStep, const ConditionStep *referenceStep,
                       const AllStatusQuery &allStatus);

} // namespace Condition
