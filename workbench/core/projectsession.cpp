#include "projectsession.h"

#include "hxiactions.h"
#include "hxidatabasepersist.h"
#include "hxidatabasepersiststream.h"
#include "hxiorvsequencer.h"
#include "hxistartup.h"
#include "hxiproject.h"
#include "hxisettings.h"
#include "projecttreeservice.h"
#include "workbenchhost.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace VemoInterface;

ProjectSession::ProjectSession(WorkbenchHost &host, const QString &pluginFile)
    : host(host), plugin(pluginFile)
{
}

ProjectSession::~ProjectSession()
{
    close();
    if (actionsInterface)
        actionsInterface->release();
    if (startupInterface)
        startupInterface->release();
    if (sequencerInterface)
        sequencerInterface->release();
    if (settingsInterface)
        settingsInterface->release();
    if (projectInterface)
        projectInterface->release();
    if (persistStream)
        persistStream->release();
    if (persist) {
        persist->release();
        // The plug-in object keeps the reference it was created with until
        // its host lets go of it for good.
        persist->release();
    }
}

ProjectSession::Outcome ProjectSession::fail(Outcome outcome, const QString &message)
{
    error = message;
    return outcome;
}

ProjectSession::Outcome ProjectSession::loadPlugin()
{
    if (persist && projectInterface)
        return Outcome::Done;
    if (!plugin.load(&WorkbenchHost::createProc, &host))
        return fail(Outcome::PluginFailed, plugin.errorString());
    persist = plugin.create<HxiDatabasePersist>(QStringLiteral("HxiDatabasePersist"));
    persistStream =
        plugin.create<HxiDatabasePersistStream>(QStringLiteral("HxiDatabasePersistStream"));
    projectInterface = plugin.create<HxiProject>(QStringLiteral("HxiProject"));
    actionsInterface = plugin.create<HxiActions>(QStringLiteral("HxiActions"));
    startupInterface = plugin.create<HxiStartup>(QStringLiteral("HxiStartup"));
    sequencerInterface = plugin.create<HxiORVSequencer>(QStringLiteral("HxiORVSequencer"));
    settingsInterface = plugin.create<HxiSettings>(QStringLiteral("HxiSettings"));
    loadPluginSettings();
    if (!persist || !projectInterface || !actionsInterface || !startupInterface)
        return fail(Outcome::PluginFailed,
                    QObject::tr("The sequencer library '%1' does not offer its project interfaces.")
                        .arg(plugin.fileName()));
    return Outcome::Done;
}

ProjectSession::Outcome ProjectSession::create(const QString &directory, const QString &name)
{
    if (const Outcome loaded = loadPlugin(); loaded != Outcome::Done)
        return loaded;
    close();
    HostProject fresh;
    if (!fresh.create(directory, name))
        return fail(Outcome::WriteFailed, fresh.errorString());
    if (const Outcome outcome = open(directory); outcome != Outcome::Done)
        return outcome;
    return save();
}

ProjectSession::Outcome ProjectSession::open(const QString &directory, Access access)
{
    if (const Outcome loaded = loadPlugin(); loaded != Outcome::Done)
        return loaded;
    if (!QFileInfo::exists(QDir(directory).filePath(HostProject::FileName)))
        return fail(Outcome::MissingProject,
                    QObject::tr("There is no project in '%1': it has no %2.")
                        .arg(directory, HostProject::FileName));
    // The lock comes before the reading: what is read is what this session
    // may then write back.
    const bool holdsLock = lock && lock->directory() == QFileInfo(directory).absoluteFilePath();
    std::unique_ptr<ProjectLock> newLock;
    QString lockProblem;
    if (access != Access::ReadOnly && !holdsLock) {
        newLock = std::make_unique<ProjectLock>(directory);
        if (!newLock->acquire(access == Access::Write ? LockWaitMilliseconds : 0)) {
            lockProblem = QObject::tr("The project '%1' is being written by %2.")
                              .arg(QDir::toNativeSeparators(directory), newLock->holder());
            if (access == Access::Write)
                return fail(Outcome::Locked,
                            lockProblem + QObject::tr(" Try again when it has finished."));
            newLock.reset();
        }
    }
    HostProject candidate;
    if (!candidate.open(directory))
        return fail(Outcome::DamagedProject, candidate.errorString());

    if (holdsLock && access != Access::ReadOnly)
        newLock = std::move(lock);
    close();
    lock = std::move(newLock);
    readOnlyProblem = lockProblem;
    hostProject = candidate;
    host.setProject(&hostProject);
    loadPluginElement();
    // The plug-in holds what it read, and every save hands it a fresh
    // element: the nodes it read from go now rather than with the session.
    hostProject.resetPluginElement(PluginName);
    projectInterface->buildTree(QString());
    opened = true;
    error.clear();
    return Outcome::Done;
}

void ProjectSession::loadPluginElement()
{
    if (persistStream) {
        // through a device, which the reader decodes piece by piece instead
        // of all at once
        QBuffer device;
        device.setData(hostProject.pluginXml(PluginName));
        device.open(QIODevice::ReadOnly);
        QXmlStreamReader reader(&device);
        if (reader.readNextStartElement())
            persistStream->loadFrom(reader);
        return;
    }
    QDomElement element = hostProject.pluginElement(PluginName);
    persist->load(element);
}

ProjectSession::Outcome ProjectSession::save()
{
    if (!opened)
        return fail(Outcome::MissingProject, QObject::tr("No project is open."));
    if (!lock)
        return fail(Outcome::Locked, readOnlyProblem.isEmpty()
                                         ? QObject::tr("The project is open read-only.")
                                         : readOnlyProblem);
    QDomElement element = hostProject.resetPluginElement(PluginName);
    bool written = false;
    if (persistStream) {
        written = hostProject.save(PluginName, [this](QXmlStreamWriter &writer, QString &problem) {
            return persistStream->saveTo(writer, problem);
        });
    } else {
        persist->save(element);
        written = hostProject.save();
    }
    // What the plug-in wrote is on disk or refused; either way the next save
    // asks for it afresh.
    hostProject.resetPluginElement(PluginName);
    if (!written)
        return fail(Outcome::WriteFailed, hostProject.errorString());
    return Outcome::Done;
}

void ProjectSession::close()
{
    lock.reset();
    readOnlyProblem.clear();
    if (!opened)
        return;
    projectInterface->removeObject(QStringLiteral("ClearAll"), QString());
    host.projectTree().clear();
    host.setProject(nullptr);
    opened = false;
}

QStringList ProjectSession::sequenceTitles() const
{
    QStringList titles;
    for (const ProjectTreeService::Entry &entry : host.projectTree().entries()) {
        if (entry.kind == QLatin1String("Sequence") && entry.moduleName == PluginName)
            titles.append(entry.text);
    }
    return titles;
}

bool ProjectSession::selectSequence(const QString &title)
{
    for (const ProjectTreeService::Entry &entry : host.projectTree().entries()) {
        if (entry.kind == QLatin1String("Sequence") && entry.moduleName == PluginName
            && entry.text == title) {
            host.projectTree().select({entry.handle});
            return true;
        }
    }
    return false;
}

bool ProjectSession::triggerAction(const QString &id)
{
    if (!actionsInterface)
        return false;
    startupInterface->updateActions();
    QAction *action = actionsInterface->action(id);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

QDomElement ProjectSession::pluginSettingsElement()
{
    QDomElement root = hostSettings.root();
    for (QDomElement element = root.firstChildElement(QStringLiteral("plugin")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("plugin"))) {
        if (element.attribute(QStringLiteral("name")) == PluginName)
            return element;
    }
    QDomElement element = root.ownerDocument().createElement(QStringLiteral("plugin"));
    element.setAttribute(QStringLiteral("name"), PluginName);
    root.appendChild(element);
    return element;
}

void ProjectSession::loadPluginSettings()
{
    if (!settingsInterface)
        return;
    settingsProblem.clear();
    if (!hostSettings.load())
        settingsProblem = hostSettings.errorString();
    QDomElement element = pluginSettingsElement();
    settingsInterface->loadSettings(element);
}

HxiSettingsPage *ProjectSession::settingsPage()
{
    return settingsInterface ? settingsInterface->settingsPage() : nullptr;
}

ProjectSession::Outcome ProjectSession::saveSettings()
{
    if (!settingsInterface)
        return fail(Outcome::PluginFailed, QObject::tr("The sequencer library is not loaded."));
    // The plug-in's element is written anew; other plug-ins' stay.
    QDomElement old = pluginSettingsElement();
    QDomElement fresh = old.ownerDocument().createElement(QStringLiteral("plugin"));
    fresh.setAttribute(QStringLiteral("name"), PluginName);
    old.parentNode().replaceChild(fresh, old);
    settingsInterface->saveSettings(fresh);
    if (!hostSettings.save())
        return fail(Outcome::WriteFailed, hostSettings.errorString());
    return Outcome::Done;
}

QAction *ProjectSession::action(const QString &id) const
{
    return actionsInterface ? actionsInterface->action(id) : nullptr;
}

void ProjectSession::updateActions()
{
    if (startupInterface)
        startupInterface->updateActions();
}

void ProjectSession::rebuildTree()
{
    if (!opened)
        return;
    host.projectTree().clear();
    projectInterface->buildTree(QString());
}
