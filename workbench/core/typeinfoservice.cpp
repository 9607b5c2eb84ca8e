#include "typeinfoservice.h"

QString TypeInfoService::attribute(const QString &type, const QString &name)
{
    if (name != QLatin1String("Type") || type.trimmed().isEmpty())
        return QString();
    return type.endsWith(QLatin1String("Runner")) ? QStringLiteral("Runner") : QStringLiteral("Test");
}
