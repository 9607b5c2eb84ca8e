#pragma once

#include "hostproject.h"
#include "hostsettings.h"
#include "pluginlibrary.h"
#include "projectlock.h"

#include <QString>
#include <QStringList>

namespace VemoInterface {
class HxiActions;
class HxiDatabasePersist;
class HxiDatabasePersistStream;
class HxiProject;
class HxiSettings;
class HxiSettingsPage;
class HxiStartup;
}
class HxiORVSequencer;
class QAction;
class WorkbenchHost;

// One host working with one project through the sequencer plug-in: opening
// hands the project's sequencer element to the plug-in, saving takes it
// back and writes the project file.
class ProjectSession
{
public:
    enum class Outcome { Done, MissingProject, DamagedProject, PluginFailed, WriteFailed, Locked };
    // Write: the project is locked for this session, waiting a short while
    // for another writer; ReadOnly: no lock, no saving; WriteIfFree: locked
    // when nobody else holds it, read-only otherwise.
    enum class Access { Write, ReadOnly, WriteIfFree };
    static constexpr int LockWaitMilliseconds = 2000;

    static inline const QString PluginName = QStringLiteral("ORVSequencer");

    explicit ProjectSession(WorkbenchHost &host,
                            const QString &pluginFile = PluginLibrary::defaultFileName());
    ~ProjectSession();
    ProjectSession(const ProjectSession &) = delete;
    ProjectSession &operator=(const ProjectSession &) = delete;

    // A new, empty project folder saved through the plug-in.
    Outcome create(const QString &directory, const QString &name);
    Outcome open(const QString &directory, Access access = Access::Write);
    Outcome save();
    void close();

    QString errorString() const { return error; }
    HostProject &project() { return hostProject; }
    bool isOpen() const { return opened; }
    // Open without the project's lock: saving is refused.
    bool isReadOnly() const { return opened && !lock; }
    // Why the project was opened read-only (who holds its lock); empty
    // when it was not.
    QString readOnlyReason() const { return readOnlyProblem; }

    // The sequence titles the plug-in entered in the project tree, in order.
    QStringList sequenceTitles() const;
    // Selects the tree entry of a sequence, as a click in the tree would;
    // false when the tree has no such sequence.
    bool selectSequence(const QString &title);
    // Runs one of the plug-in's actions, as its menu entry would; false when
    // the plug-in does not give this user that action or it is disabled.
    bool triggerAction(const QString &id);
    // The plug-in's action with this id, for a menu; null when the plug-in
    // is not loaded or does not give this user that action.
    QAction *action(const QString &id) const;
    // Lets the plug-in set its actions' enabled states for the current
    // selection and view.
    void updateActions();
    // Has the plug-in enter its tree entries and menus afresh, as they are
    // for the user now working (its menus depend on the privilege).
    void rebuildTree();
    // The plug-in's page for the host's settings dialog; null before the
    // plug-in is loaded or when it has none.
    VemoInterface::HxiSettingsPage *settingsPage();
    // Writes the plug-in's settings into the host's settings file.
    Outcome saveSettings();
    // Why the host's settings file could not be used when the plug-in was
    // loaded (the plug-in then works with its defaults); empty when it could.
    QString settingsWarning() const { return settingsProblem; }
    // The sequencer's own operations (the import of a legacy sequence
    // file); null before the plug-in is loaded.
    HxiORVSequencer *sequencer() const { return sequencerInterface; }

private:
    Outcome loadPlugin();
    void loadPluginSettings();
    QDomElement pluginSettingsElement();
    Outcome fail(Outcome outcome, const QString &message);
    void loadPluginElement();

    WorkbenchHost &host;
    PluginLibrary plugin;
    HostProject hostProject;
    VemoInterface::HxiDatabasePersist *persist = nullptr;
    // Offered by plug-ins that read and write their element as a stream:
    // used instead of `persist` when there, a DOM of a large project being
    // many times the size of its file.
    VemoInterface::HxiDatabasePersistStream *persistStream = nullptr;
    VemoInterface::HxiProject *projectInterface = nullptr;
    VemoInterface::HxiActions *actionsInterface = nullptr;
    VemoInterface::HxiStartup *startupInterface = nullptr;
    VemoInterface::HxiSettings *settingsInterface = nullptr;
    HostSettings hostSettings;
    QString settingsProblem;
    HxiORVSequencer *sequencerInterface = nullptr;
    bool opened = false;
    std::unique_ptr<ProjectLock> lock;
    QString readOnlyProblem;
    QString error;
};
