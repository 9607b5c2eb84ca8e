#pragma once

#include <QLatin1String>
#include <QStringView>

#include <array>

// The words and operators that IF and ELIF conditions are made of. The ids
// are those the sequencer has always used for them.
namespace ConditionKeyword {

enum class Id : int {
    All = 700,            // key
    Loop = 701,           // key
    Error = 702,          // value
    Exit = 703,           // key
    Fail = 704,           // value
    Item = 705,           // key
    Pass = 706,           // value
    Reject = 707,         // value
    Equal = 708,          // "="
    Less = 709,           // "<"
    Greater = 710,        // ">"
    LessOrEqual = 711,    // "<="
    GreaterOrEqual = 712, // ">="
    Crc = 713,            // key
};

// What lookup() gives for a token that is not in the table.
inline constexpr int NotFound = -1;

struct Entry
{
    QLatin1String text;
    Id id;
};

// The fourteen entries in lookup order.
const std::array<Entry, 14> &table();

// The id of the first entry whose text equals the whole token, ignoring the
// case of ASCII letters; NotFound otherwise.
int lookup(QStringView token);

} // namespace ConditionKeyword
