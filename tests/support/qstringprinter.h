#pragma once

#include <QString>
#include <QStringList>

#include <ostream>
#include <string>
#include <vector>

// Failures show texts as texts rather than as lists of UTF-16 code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '"' << texts.join(QStringLiteral("\", \"")).toStdString() << '"';
}

// Texts as standard strings, for comparisons whose failures print them whole.
inline std::vector<std::string> toStd(const QStringList &list)
{
    std::vector<std::string> result;
    for (const QString &text : list)
        result.push_back(text.toStdString());
    return result;
}
