#pragma once

#include <QString>
#include <QStringList>

class HostProject;
class SubscribeService;

// The reference host's side of a project's applications: the types it
// knows, the icon of each type, and adding, renaming and removing an
// application and setting what runs it. A rename is announced to the
// subscribers (the sequencer renames its steps).
class ApplicationManager
{
public:
    ApplicationManager(HostProject &project, SubscribeService *subscriptions = nullptr)
        : project(project), subscriptions(subscriptions)
    {
    }

    // The application types a new application may have, in menu order.
    static QStringList types();
    // The image of a type's group (test, programming, runner, player, tool),
    // as a resource path; empty where the images are not compiled in.
    static QString typeIcon(const QString &type);

    [[nodiscard]] bool add(const QString &name, const QString &type);
    [[nodiscard]] bool rename(const QString &oldName, const QString &newName);
    [[nodiscard]] bool remove(const QString &name);
    // The program (relative to the project folder), the folder it runs in
    // and its TAP connectors.
    [[nodiscard]] bool setRunSettings(const QString &name, const QString &program,
                                      const QString &folder, const QStringList &taps);

    QString errorString() const { return error; }

private:
    bool refuseName(const QString &name);
    bool fail(const QString &message);

    HostProject &project;
    SubscribeService *subscriptions;
    QString error;
};
