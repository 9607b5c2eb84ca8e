#pragma once

#include "runrecord.h"

#include <QByteArray>

// A run record as JUnit XML for CI tools: one test suite per unit (per cycle
// when the run identified no units), one test case per executed step.
class JUnitReport
{
public:
    static QByteArray toXml(const RunRecord &record);
};
