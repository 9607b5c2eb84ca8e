#pragma once

#include "hxiappcreate.h"
#include "serviceobject.h"

#include <QStringList>

class DatabaseService;
class LogviewService;

// "HxiAppCreate": adds applications to the open project on behalf of the
// sequencer (when it converts old sequence files).
//
// The plug-in id is the application type's name. The application is named
// as asked; when the project already holds an application of that name and
// type, that one is answered instead of a second copy, and when the name is
// taken by another type the new one gets the first free "<name> (2)",
// "<name> (3)", ... An application made this way has no program yet: it
// runs once somebody gives it one. Its "Oper" list is the operation the
// plug-in asked for ("SeqOperation") or "Execute Test", plus "Test
// Infrastructure" for types that have that test; its "Show" list holds
// every show option a converted step can carry. Of the parameters it keeps
// those that describe the application (its files and options); instrument
// settings stay with the steps. Each new application without a program is
// named in the log's "Output" tab, so nobody learns it from a failed run.
class AppCreateService final : public ServiceObject<VemoInterface::HxiAppCreate>
{
public:
    AppCreateService(DatabaseService *database, LogviewService *log)
        : ServiceObject(QStringLiteral("HxiAppCreate")), database(database), log(log)
    {
    }

    bool createApplication(const QString &pluginId, const QString &name,
                           const QMap<QString, QString> &parameters, QString &createdName,
                           QString &createdType) override;

    static QStringList showOptions();

    // the log line naming an application that needs a program
    static QString needsProgramLine(const QString &application);

private:
    DatabaseService *database;
    LogviewService *log;
};
