#include "instrumentservice.h"

#include "databaseservice.h"
#include "hostproject.h"

QStringList InstrumentService::instruments()
{
    QStringList names;
    if (const HostProject *project = database->project()) {
        for (const ProjectInstrument &instrument : project->instruments)
            names.append(instrument.name);
    }
    return names;
}

QString InstrumentService::preferredInstrument()
{
    const HostProject *project = database->project();
    return project ? project->preferredInstrument() : QString();
}

QStringList InstrumentService::instrumentsOffering(const QString &action)
{
    QStringList names;
    if (const HostProject *project = database->project()) {
        for (const ProjectInstrument &instrument : project->instruments) {
            if (instrument.actions.contains(action))
                names.append(instrument.name);
        }
    }
    return names;
}
