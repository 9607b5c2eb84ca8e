#pragma once

#include "runrecord.h"

#include <QByteArray>
#include <QJsonObject>

// A run record as the JSON document that docs/run-results.md describes.
class RunJson
{
public:
    static QJsonObject toObject(const RunRecord &record);
    static QByteArray toJson(const RunRecord &record);
};
