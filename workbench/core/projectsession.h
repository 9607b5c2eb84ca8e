#pragma once

#include "hostproject.h"
#include "pluginlibrary.h"

#include <QString>
#include <QStringList>

namespace VemoInterface {
class HxiDatabasePersist;
class HxiProject;
}
class WorkbenchHost;

// One host working with one project through the sequencer plug-in: opening
// hands the project's sequencer element to the plug-in, saving takes it
// back and writes the project file.
class ProjectSession
{
public:
    enum class Outcome { Done, MissingProject, DamagedProject, PluginFailed, WriteFailed };

    static inline const QString PluginName = QStringLiteral("ORVSequencer");

    explicit ProjectSession(WorkbenchHost &host,
                            const QString &pluginFile = PluginLibrary::defaultFileName());
    ~ProjectSession();
    ProjectSession(const ProjectSession &) = delete;
    ProjectSession &operator=(const ProjectSession &) = delete;

    // A new, empty project folder saved through the plug-in.
    Outcome create(const QString &directory, const QString &name);
    Outcome open(const QString &directory);
    Outcome save();
    void close();

    QString errorString() const { return error; }
    HostProject &project() { return hostProject; }
    bool isOpen() const { return opened; }

    // The sequence titles the plug-in entered in the project tree, in order.
    QStringList sequenceTitles() const;

private:
    Outcome loadPlugin();
    Outcome fail(Outcome outcome, const QString &message);

    WorkbenchHost &host;
    PluginLibrary plugin;
    HostProject hostProject;
    VemoInterface::HxiDatabasePersist *persist = nullptr;
    VemoInterface::HxiProject *projectInterface = nullptr;
    bool opened = false;
    QString error;
};
