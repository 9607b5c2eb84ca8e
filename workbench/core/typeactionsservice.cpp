#include "typeactionsservice.h"

#include "databaseservice.h"
#include "hostproject.h"

#include <QStringList>

namespace {

const QString Execute = QStringLiteral("Execute");
const QString Infra = QStringLiteral("Infra");
const QChar Separator = u'\n';

// The host's own tools that open a window instead of running unattended.
bool isInteractiveTool(const QString &type)
{
    return type.startsWith(QLatin1String("Interactive Tool"));
}

// Types whose applications can test the scan chain infrastructure alone.
bool hasInfrastructureTest(const QString &type)
{
    static const QStringList types = {
        QStringLiteral("Chain Integrity Test"),   QStringLiteral("Net Connection Test"),
        QStringLiteral("Memory Bank Test"),        QStringLiteral("AC-Coupled Net Test"),
        QStringLiteral("Inter-Board Connection Test"), QStringLiteral("Flash Connection Test"),
        QStringLiteral("Active Stimulus Test"),    QStringLiteral("Logic Cluster Test"),
        QStringLiteral("Glue Logic Check"),        QStringLiteral("Memory Device Test"),
        QStringLiteral("Pull Resistor Test"),      QStringLiteral("Scan Suite Runner"),
        QStringLiteral("NAND Programming"),        QStringLiteral("Disk-On-Chip Programming"),
        QStringLiteral("Power Bus Programming"),   QStringLiteral("Cluster Functional Test"),
        QStringLiteral("Processor RAM Check"),
    };
    return types.contains(type);
}

} // namespace

bool TypeActionsService::supportsAction(const QString &type, const QString &action)
{
    if (type.isEmpty() || isInteractiveTool(type))
        return false;
    if (action == Execute)
        return true;
    if (action == Infra)
        return hasInfrastructureTest(type);
    return false;
}

QString TypeActionsService::actionSettings(const QString &application, const QString &action)
{
    HostProject *project = database->project();
    const ProjectApplication *found = project ? project->application(application) : nullptr;
    if (!found || !supportsAction(found->type, action))
        return QString();
    return settingsId(application, action);
}

QString TypeActionsService::actionText(const QString &type, const QString &action)
{
    return supportsAction(type, action) ? action : QString();
}

QString TypeActionsService::settingsId(const QString &application, const QString &action)
{
    return application + Separator + action;
}

bool TypeActionsService::splitSettingsId(const QString &id, QString &application, QString &action)
{
    const qsizetype at = id.lastIndexOf(Separator);
    if (at <= 0)
        return false;
    application = id.left(at);
    action = id.mid(at + 1);
    return true;
}
