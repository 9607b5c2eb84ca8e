#include "databaseservice.h"

#include "hostproject.h"
#include "hxprojectversion.h"

#include <QDir>

QString DatabaseService::projectDirectory()
{
    return openProject ? QDir::toNativeSeparators(openProject->directory()) : QString();
}

QString DatabaseService::projectName()
{
    return openProject ? openProject->name : QString();
}

VemoInterface::HxiProjectApplications *DatabaseService::applications()
{
    if (!openProject)
        return nullptr;
    applicationSet.addRef();
    return &applicationSet;
}

QString DatabaseService::formatVersion(int &index)
{
    index = openProject ? openProject->formatIndex : 0;
    return VemoDatabase::HxProjectVersion::versionForIndex(index);
}

QStringList DatabaseService::ApplicationSet::applicationNames()
{
    QStringList names;
    if (HostProject *project = database->project()) {
        for (const ProjectApplication &application : project->applications)
            names.append(application.name);
    }
    return names;
}

std::optional<VemoDatabase::HxApplication>
DatabaseService::ApplicationSet::application(const QString &name)
{
    HostProject *project = database->project();
    if (!project)
        return std::nullopt;
    const ProjectApplication *found = project->application(name);
    if (!found)
        return std::nullopt;
    const QDir projectFolder(project->directory());
    const QString folder = found->folder.isEmpty() ? project->directory()
                                                   : projectFolder.absoluteFilePath(found->folder);
    VemoDatabase::HxApplication application(found->name, found->type, QDir::cleanPath(folder));
    application.setTapConnectors(found->tapConnectors);
    return application;
}
