#include "appsequenceservice.h"

#include "databaseservice.h"
#include "hostproject.h"
#include "typeactionsservice.h"

QStringList AppSequenceService::settingsList(const QString &settingsId,
                                             const QString &listName) const
{
    QString application;
    QString action;
    HostProject *project = database->project();
    if (!project || !TypeActionsService::splitSettingsId(settingsId, application, action))
        return {};
    const ProjectApplication *found = project->application(application);
    if (!found)
        return {};
    if (listName == QLatin1String("Oper"))
        return found->operations;
    if (listName == QLatin1String("Show"))
        return found->showOptions;
    return {};
}

bool AppSequenceService::openSettings(const QString &settingsId)
{
    QString application;
    QString action;
    HostProject *project = database->project();
    return project && TypeActionsService::splitSettingsId(settingsId, application, action)
           && project->application(application);
}

bool AppSequenceService::hasSettingsList(const QString &settingsId, const QString &listName)
{
    return !settingsList(settingsId, listName).isEmpty();
}

bool AppSequenceService::connectJobFinished(QObject *receiver, const char *slot)
{
    return static_cast<bool>(
        connect(this, SIGNAL(jobFinished(HxmJob*,QString,int)), receiver, slot, Qt::UniqueConnection));
}

bool AppSequenceService::connectStdout(QObject *receiver, const char *slot)
{
    return static_cast<bool>(
        connect(this, SIGNAL(jobStdout(HxmJob*,QString)), receiver, slot, Qt::UniqueConnection));
}

bool AppSequenceService::connectStderr(QObject *receiver, const char *slot)
{
    return static_cast<bool>(
        connect(this, SIGNAL(jobStderr(HxmJob*,QString)), receiver, slot, Qt::UniqueConnection));
}

bool AppSequenceService::loadSettings(const QString &settingsId, bool,
                                      QMap<QString, QString> &)
{
    // The reference host's lists do not depend on the item; they only have
    // to exist.
    return openSettings(settingsId);
}

int AppSequenceService::settingsListCount(const QString &settingsId, const QString &listName)
{
    return int(settingsList(settingsId, listName).size());
}

QString AppSequenceService::settingsListEntry(const QString &settingsId, const QString &listName,
                                              int index)
{
    return settingsList(settingsId, listName).value(index);
}

bool AppSequenceService::editSettings(const QString &, QWidget *, QMap<QString, QString> &)
{
    // The reference host has no execute-settings dialog of its own.
    return false;
}

int AppSequenceService::execute(const QString &, const QMap<QString, QString> &, bool)
{
    // Running applications as processes is not part of this host yet:
    // refuse, so the step ends as an error instead of pretending to run.
    return 0;
}

void AppSequenceService::setResultsDirectory(const QString &, const QString &, int)
{
}
