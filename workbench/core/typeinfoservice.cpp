#include "typeinfoservice.h"

#include "applicationmanager.h"

QString TypeInfoService::attribute(const QString &type, const QString &name)
{
    if (name == QLatin1String("Icon"))
        return ApplicationManager::typeIcon(type);
    if (name != QLatin1String("Type") || type.trimmed().isEmpty())
        return QString();
    return type.endsWith(QLatin1String("Runner")) ? QStringLiteral("Runner") : QStringLiteral("Test");
}
