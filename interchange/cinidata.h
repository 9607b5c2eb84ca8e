#pragma once

#include <QString>

// One line of an INI document: a key and its value under a section.
class CIniData
{
public:
    CIniData() = default;
    CIniData(const QString &section, const QString &key, const QString &value);

    QString section;
    QString key;
    QString value;
};
