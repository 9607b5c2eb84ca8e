#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The POD TAPs of a controller (1 to 4) as texts. A TAP set is written as
// its TAP digits ("13" for TAPs 1 and 3) in settings and TAP information,
// and as "1+3" where an operator reads it.
class TapText
{
public:
    static constexpr int TapCount = 4;

    // The TAP mask (bit 0 for TAP 1) of a text of the digits "1" to "4";
    // 0 for an empty text or one with any other character: it names no TAP.
    static int maskOf(const QString &digits);
    // "1+3" for the mask of TAPs 1 and 3; empty for a negative mask.
    static QString text(int mask);
    // The TAPs named by both texts, lowest first. In gang mode they are the
    // units tested together, one unit per TAP.
    static QList<int> tapsInBoth(const QString &tapInformation, const QString &gangText);
    // An application's TAP information from its TAP connectors, in list
    // order: a connector named by the POD TAP it is wired to ("3") gives
    // that name; any other connector (a board's "J1") counts by its place
    // in the list, the first being TAP 1.
    static QString tapInformation(const QStringList &connectors);
};
