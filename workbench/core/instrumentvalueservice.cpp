#include "instrumentvalueservice.h"

#include "databaseservice.h"
#include "hostproject.h"

QString InstrumentValueService::instrumentValue(const QString &instrumentName, const QString &key)
{
    const HostProject *project = database->project();
    const ProjectInstrument *instrument = project ? project->instrument(instrumentName) : nullptr;
    if (!instrument)
        return QString();
    if (key == QLatin1String("Address"))
        return instrument->address;
    return instrument->parameters.value(key);
}
