#include "applicationoperations.h"

#include "applicationtypes.h"
#include "hostservice.h"
#include "hxiappsequence.h"
#include "hxidatabase.h"
#include "hxiprojectapplications.h"
#include "hxitypeactions.h"
#include "hxsequenceitem.h"
#include "userprompt.h"

#include <QObject>

using namespace VemoInterface;

namespace {

const QString Caption = QStringLiteral("ORVSequencer");

void tell(const HostLink &link, const QString &text)
{
    UserPrompt(link).information(Caption, text);
}

void appendList(HxiAppSequence *settings, const QString &settingsId, const QString &listName,
                QStringList &target)
{
    const int count = settings->settingsListCount(settingsId, listName);
    for (int index = 0; index < count; ++index)
        target.append(settings->settingsListEntry(settingsId, listName, index));
}

} // namespace

ApplicationOperations ApplicationOperations::query(const HostLink &link,
                                                   const HxSequenceItem &item)
{
    ApplicationOperations result;

    QString type;
    {
        HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
        if (!database) {
            tell(link, QObject::tr("Error no project opened."));
            return result;
        }
        HxiProjectApplications *applications = database->applications();
        if (!applications) {
            tell(link, QObject::tr("Error no project opened."));
            return result;
        }
        const auto application = applications->application(item.columnItem);
        applications->release();
        if (!application) {
            tell(link, QObject::tr("Error no application selected."));
            return result;
        }
        type = application->type();
        if (type.isEmpty()) {
            tell(link, QObject::tr("Error could not retrieve application."));
            return result;
        }
    }

    QString settingsId;
    {
        HostService<HxiTypeActions> typeActions(link, QStringLiteral("HxiTypeActions"));
        if (!typeActions) {
            tell(link, QObject::tr("Error could not determine application type."));
            return result;
        }
        if (typeActions->supportsAction(type, QStringLiteral("Execute")))
            settingsId = typeActions->actionSettings(item.columnItem, QStringLiteral("Execute"));
        else if (typeActions->supportsAction(type, QStringLiteral("Infra")))
            settingsId = typeActions->actionSettings(item.columnItem, QStringLiteral("Infra"));
        if (settingsId.isEmpty()) {
            tell(link, QObject::tr("Error selection is not an application."));
            return result;
        }
    }

    // Every application type is its own module; its settings come from there.
    HostService<HxiAppSequence> settings(link, QStringLiteral("HxiAppSequence"), type);
    if (!settings || !settings->openSettings(settingsId)) {
        tell(link, QObject::tr("Error could not open execute settings of application."));
        return result;
    }

    const QString oper = QStringLiteral("Oper");
    const QString show = QStringLiteral("Show");
    if (settings->hasSettingsList(settingsId, show) || settings->hasSettingsList(settingsId, oper)) {
        QMap<QString, QString> parameters = item.parameters;
        settings->loadSettings(settingsId,
                               item.columnOperation == ApplicationTypes::TestInfrastructure,
                               parameters);
    }
    appendList(settings.get(), settingsId, oper, result.operations);
    result.operations << ApplicationTypes::ForcePass << ApplicationTypes::ForceFail
                      << ApplicationTypes::SkipOperation;
    appendList(settings.get(), settingsId, show, result.showOptions);
    return result;
}
