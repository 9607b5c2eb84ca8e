#include "instrumentlookup.h"

#include "hostservice.h"
#include "hxiinstrument.h"

bool InstrumentLookup::isPreferred(const QString &name)
{
    return name.isEmpty() || name.startsWith(QLatin1String("Preferred"));
}

QString InstrumentLookup::resolve(const HostLink &link, const QString &name, int &index)
{
    index = -1;
    HostService<VemoInterface::HxiInstrument> instruments(link, QStringLiteral("HxiInstrument"));
    if (!instruments)
        return QString();
    const QString resolved = isPreferred(name) ? instruments->preferredInstrument() : name;
    if (resolved.isEmpty())
        return QString();
    index = int(instruments->instruments().indexOf(resolved));
    return index < 0 ? QString() : resolved;
}
