#pragma once

#include "hxiinstrumentmanip.h"
#include "serviceobject.h"

// "HxiInstrumentManip": whether an execution parameter is an instrument
// setting, and if so whether its value is one the instrument takes.
//
// Instrument settings and what they take:
//   "Flags", "TapInfo<n>.Flags"          an unsigned 32-bit decimal
//   "TckSrc", "TckkHz"                   a decimal of 0 or more
//   "Gang"                               -1 (none) to 14 (TAPs 1 to 4, minus one)
//   "Level", "Threshold", "TapSState", "TapEState" and the other
//   "TapInfo<n>." fields                 a 32-bit decimal
// where <n> is a TAP number of 0 to 32 (0 as sequence list files count,
// 1 to 32 as instruments do); a larger TAP number is invalid. Every other
// key, "InstrumentName" included, is not an instrument parameter, so the
// sequencer's own rules decide.
class ParameterCheckService final : public ServiceObject<VemoInterface::HxiInstrumentManip>
{
public:
    ParameterCheckService() : ServiceObject(QStringLiteral("HxiInstrumentManip")) {}

    int checkParameter(const QString &key, const QString &value) override;
};
