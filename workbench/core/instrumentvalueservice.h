#pragma once

#include "hxiinstrumentex.h"
#include "serviceobject.h"

class DatabaseService;

// "HxiInstrumentEx": one value of an instrument: "Address" is its address,
// any other key one of its parameters ("Reset.0", "ExecBcu", "MaxTaps.0").
class InstrumentValueService final : public ServiceObject<VemoInterface::HxiInstrumentEx>
{
public:
    explicit InstrumentValueService(DatabaseService *database)
        : ServiceObject(QStringLiteral("HxiInstrumentEx")), database(database)
    {
    }

    QString instrumentValue(const QString &instrument, const QString &key) override;

private:
    DatabaseService *database;
};
