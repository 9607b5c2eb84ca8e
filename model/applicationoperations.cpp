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

#include <optional>

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

// The execute settings of the application a step names, as the
// application's type module keeps them; each failure is told to the user.
struct ApplicationSettings
{
    QString type;
    QString settingsId;
};

std::optional<ApplicationSettings> findSettings(const HostLink &link, const QString &application)
{
    ApplicationSettings found;
    {
        HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
        HxiProjectApplications *applications = database ? database->applications() : nullptr;
        if (!applications) {
            tell(link, QObject::tr("Error no project opened."));
            return std::nullopt;
        }
        const auto stored = applications->application(application);
        applications->release();
        if (!stored) {
            tell(link, QObject::tr("Error no application selected."));
            return std::nullopt;
        }
        found.type = stored->type();
        if (found.type.isEmpty()) {
            tell(link, QObject::tr("Error could not retrieve application."));
            return std::nullopt;
        }
    }
    HostService<HxiTypeActions> typeActions(link, QStringLiteral("HxiTypeActions"));
    if (!typeActions) {
        tell(link, QObject::tr("Error could not determine application type."));
        return std::nullopt;
    }
    if (typeActions->supportsAction(found.type, QStringLiteral("Execute")))
        found.settingsId = typeActions->actionSettings(application, QStringLiteral("Execute"));
    else if (typeActions->supportsAction(found.type, QStringLiteral("Infra")))
        found.settingsId = typeActions->actionSettings(application, QStringLiteral("Infra"));
    if (found.settingsId.isEmpty()) {
        tell(link, QObject::tr("Error selection is not an application."));
        return std::nullopt;
    }
    return found;
}

} // namespace

ApplicationOperations ApplicationOperations::query(const HostLink &link, const HxSequenceItem &item,
                                                   QMap<QString, QString> *loadedParameters)
{
    ApplicationOperations result;
    const std::optional<ApplicationSettings> found = findSettings(link, item.columnItem);
    if (!found)
        return result;
    const QString &settingsId = found->settingsId;

    // Every application type is its own module; its settings come from there.
    HostService<HxiAppSequence> settings(link, QStringLiteral("HxiAppSequence"), found->type);
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
        if (loadedParameters)
            *loadedParameters = parameters;
    }
    appendList(settings.get(), settingsId, oper, result.operations);
    result.operations << ApplicationTypes::ForcePass << ApplicationTypes::ForceFail
                      << ApplicationTypes::SkipOperation;
    appendList(settings.get(), settingsId, show, result.showOptions);
    return result;
}

bool ApplicationOperations::editSettings(const HostLink &link, const HxSequenceItem &item,
                                         QMap<QString, QString> &parameters, QWidget *parent)
{
    const std::optional<ApplicationSettings> found = findSettings(link, item.columnItem);
    if (!found)
        return false;
    HostService<HxiAppSequence> settings(link, QStringLiteral("HxiAppSequence"), found->type);
    if (!settings || !settings->openSettings(found->settingsId)) {
        tell(link, QObject::tr("Error could not open execute settings of application."));
        return false;
    }
    return settings->editSettings(found->settingsId, parent, parameters);
}
