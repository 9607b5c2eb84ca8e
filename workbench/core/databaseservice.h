#pragma once

#include "hxidatabase.h"
#include "hxiprojectapplications.h"
#include "serviceobject.h"

class HostProject;

// "HxiDatabase" and the application set it hands out, answered from the
// open project.
class DatabaseService final : public ServiceObject<VemoInterface::HxiDatabase>
{
public:
    DatabaseService() : ServiceObject(QStringLiteral("HxiDatabase")), applicationSet(this) {}

    void setProject(HostProject *project) { openProject = project; }
    HostProject *project() const { return openProject; }

    QString projectDirectory() override;
    QString projectName() override;
    VemoInterface::HxiProjectApplications *applications() override;
    QString formatVersion(int &index) override;
    void setFormatVersion(const QString &version) override { loadedVersion = version; }

    QString lastLoadedVersion() const { return loadedVersion; }
    int applicationSetReferences() const { return applicationSet.referenceCount(); }

private:
    class ApplicationSet final : public ServiceObject<VemoInterface::HxiProjectApplications>
    {
    public:
        explicit ApplicationSet(DatabaseService *database)
            : ServiceObject(QStringLiteral("HxiProjectApplications")), database(database)
        {
        }
        QStringList applicationNames() override;
        std::optional<VemoDatabase::HxApplication> application(const QString &name) override;

    private:
        DatabaseService *database;
    };

    HostProject *openProject = nullptr;
    ApplicationSet applicationSet;
    QString loadedVersion;
};
