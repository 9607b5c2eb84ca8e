#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <unordered_map>

// Texts read from a project file, made once each: element and attribute
// names and short values repeat on every step of a large project, and
// everything that carries one shares one copy of it.
class SharedTexts
{
public:
    QString operator()(QStringView text);

private:
    static constexpr qsizetype LongestShared = 40;
    struct Hash
    {
        size_t operator()(QStringView text) const { return qHash(text); }
    };
    std::unordered_map<QStringView, QString, Hash> texts;
};
