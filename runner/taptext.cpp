#include "taptext.h"

namespace {

bool isTapDigit(QChar c)
{
    return c >= u'1' && c <= QChar(u'0' + TapText::TapCount);
}

} // namespace

int TapText::maskOf(const QString &digits)
{
    int mask = 0;
    for (const QChar c : digits) {
        if (!isTapDigit(c))
            return 0;
        mask |= 1 << (c.unicode() - u'1');
    }
    return mask;
}

QString TapText::text(int mask)
{
    if (mask < 0)
        return QString();
    QStringList taps;
    for (int tap = 1; tap <= TapCount; ++tap) {
        if (mask & (1 << (tap - 1)))
            taps.append(QString::number(tap));
    }
    return taps.join(u'+');
}

QList<int> TapText::tapsInBoth(const QString &tapInformation, const QString &gangText)
{
    const int both = maskOf(tapInformation) & maskOf(gangText);
    QList<int> taps;
    for (int tap = 1; tap <= TapCount; ++tap) {
        if (both & (1 << (tap - 1)))
            taps.append(tap);
    }
    return taps;
}

QString TapText::tapInformation(const QStringList &connectors)
{
    QString information;
    for (qsizetype i = 0; i < connectors.size(); ++i) {
        const QString &name = connectors.at(i);
        const bool namedByTap = name.size() == 1 && isTapDigit(name.front());
        information += namedByTap ? name : QString::number(i + 1);
    }
    return information;
}
