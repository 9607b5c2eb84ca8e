#include "unittext.h"

namespace {

QString step(const QString &text, QChar from, QChar to, int direction)
{
    QString result = text;
    for (qsizetype i = result.size() - 1; i >= 0; --i) {
        const QChar c = result.at(i);
        if (c < u'0' || c > u'9')
            continue;
        if (c != from) {
            result[i] = QChar(c.unicode() + direction);
            return result;
        }
        result[i] = to;
    }
    return result;
}

} // namespace

QString UnitText::incrementText(const QString &text)
{
    return step(text, u'9', u'0', +1);
}

QString UnitText::decrementText(const QString &text)
{
    return step(text, u'0', u'9', -1);
}
