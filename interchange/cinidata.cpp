#include "cinidata.h"

CIniData::CIniData(const QString &section, const QString &key, const QString &value)
    : section(section)
    , key(key)
    , value(value)
{
}
