#pragma once

#include "hxiinstrument.h"
#include "serviceobject.h"

class DatabaseService;

// "HxiInstrument": the open project's instruments, in project order.
class InstrumentService final : public ServiceObject<VemoInterface::HxiInstrument>
{
public:
    explicit InstrumentService(DatabaseService *database)
        : ServiceObject(QStringLiteral("HxiInstrument")), database(database)
    {
    }

    QStringList instruments() override;
    QString preferredInstrument() override;
    QStringList instrumentsOffering(const QString &action) override;

private:
    DatabaseService *database;
};
