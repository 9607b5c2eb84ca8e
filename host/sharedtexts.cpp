#include "sharedtexts.h"

#include <QHash>

QString SharedTexts::operator()(QStringView text)
{
    if (text.isEmpty())
        return QString();
    if (text.size() > LongestShared)
        return text.toString();
    const auto found = texts.find(text);
    if (found != texts.end())
        return found->second;
    QString made = text.toString();
    // the key views the characters of the value it maps to
    texts.emplace(QStringView(made), made);
    return made;
}
