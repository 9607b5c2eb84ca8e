#pragma once

#include <QString>

// A system command a command step runs: what to start, where, and which
// exit codes mean pass and fail.
class SequenceCommand
{
public:
    QString name() const { return commandName; }
    QString command() const { return commandLine; }
    QString dir() const { return directory; }
    bool launchInDesignDir() const { return launchInDesignDirFlag; }
    bool addToLaunchMenu() const { return addToLaunchMenuFlag; }
    bool consoleApp() const { return consoleAppFlag; }
    bool internal() const { return internalFlag; }
    bool allowUserInteraction() const { return allowUserInteractionFlag; }
    bool showImmediateOutput() const { return showImmediateOutputFlag; }
    bool editBeforeLaunch() const { return editBeforeLaunchFlag; }
    int failExitCode() const { return failCode; }
    int passExitCode() const { return passCode; }

    void setName(const QString &name) { commandName = name; }
    void setCommand(const QString &command) { commandLine = command; }
    void setDir(const QString &dir) { directory = dir; }
    void setLaunchInDesignDir(bool on) { launchInDesignDirFlag = on; }
    void setAddToLaunchMenu(bool on) { addToLaunchMenuFlag = on; }
    void setConsoleApp(bool on) { consoleAppFlag = on; }
    void setInternal(bool on) { internalFlag = on; }
    void setAllowUserInteraction(bool on) { allowUserInteractionFlag = on; }
    void setShowImmediateOutput(bool on) { showImmediateOutputFlag = on; }
    void setEditBeforeLaunch(bool on) { editBeforeLaunchFlag = on; }
    void setFailExitCode(int code) { failCode = code; }
    void setPassExitCode(int code) { passCode = code; }

    bool operator==(const SequenceCommand &other) const = default;

private:
    QString commandName;
    QString commandLine;
    QString directory;
    bool launchInDesignDirFlag = false;
    bool addToLaunchMenuFlag = false;
    bool consoleAppFlag = false;
    bool internalFlag = false;
    bool allowUserInteractionFlag = false;
    bool showImmediateOutputFlag = false;
    bool editBeforeLaunchFlag = false;
    int failCode = 1;
    int passCode = 0;
};
