#pragma once

#include <QString>

// Serial numbers and batch folders step like an odometer: the digits inside
// the text count, everything else stays where it is. "Unit 0009" becomes
// "Unit 0010"; "A9B9" becomes "A0B0"; all nines roll over to zeros without
// growing the text.
class UnitText
{
public:
    static QString incrementText(const QString &text);
    static QString decrementText(const QString &text);
};
