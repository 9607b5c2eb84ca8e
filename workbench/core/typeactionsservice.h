#pragma once

#include "hxitypeactions.h"
#include "serviceobject.h"

class DatabaseService;

// "HxiTypeActions": which of the host's application types run as a test
// ("Execute") and which also have an infrastructure test ("Infra").
class TypeActionsService final : public ServiceObject<VemoInterface::HxiTypeActions>
{
public:
    explicit TypeActionsService(DatabaseService *database)
        : ServiceObject(QStringLiteral("HxiTypeActions")), database(database)
    {
    }

    bool supportsAction(const QString &type, const QString &action) override;
    QString actionSettings(const QString &application, const QString &action) override;
    QString actionText(const QString &type, const QString &action) override;

    // Settings ids name the application and the action they belong to.
    static QString settingsId(const QString &application, const QString &action);
    static bool splitSettingsId(const QString &id, QString &application, QString &action);

private:
    DatabaseService *database;
};
