#include "applicationmanager.h"

#include "hostproject.h"
#include "subscribeservice.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ApplicationManager", text);
}

const QStringList TestOperations = {QStringLiteral("Execute Test")};
const QStringList ShowOptions = {QStringLiteral("Status"), QStringLiteral("Diagnostics")};

} // namespace

QStringList ApplicationManager::types()
{
    return {
        QStringLiteral("Chain Integrity Test"),      QStringLiteral("Net Connection Test"),
        QStringLiteral("Memory Bank Test"),          QStringLiteral("AC-Coupled Net Test"),
        QStringLiteral("Inter-Board Connection Test"), QStringLiteral("Flash Connection Test"),
        QStringLiteral("Active Stimulus Test"),      QStringLiteral("Logic Cluster Test"),
        QStringLiteral("Glue Logic Check"),          QStringLiteral("Memory Device Test"),
        QStringLiteral("Pull Resistor Test"),        QStringLiteral("Scan Suite Runner"),
        QStringLiteral("Flash Device Programming"),  QStringLiteral("Flash Image Runner"),
        QStringLiteral("Fuse Map Programming"),      QStringLiteral("PLD Vector Programming"),
        QStringLiteral("Fuse Map Runner"),           QStringLiteral("PLD Vector Runner"),
        QStringLiteral("ISC Device Programming"),    QStringLiteral("Processor Image Runner"),
        QStringLiteral("Jam Script Player"),         QStringLiteral("STAPL Script Player"),
        QStringLiteral("SVF Vector Player"),         QStringLiteral("WGL Vector Player"),
        QStringLiteral("NAND Programming"),          QStringLiteral("Disk-On-Chip Programming"),
        QStringLiteral("Power Bus Programming"),     QStringLiteral("Cluster Functional Test"),
        QStringLiteral("Processor RAM Check"),
    };
}

QString ApplicationManager::typeIcon(const QString &type)
{
    QString group = QStringLiteral("test");
    if (type.isEmpty() || type.startsWith(QLatin1String("Interactive Tool")))
        group = QStringLiteral("tool");
    else if (type.endsWith(QLatin1String("Runner")))
        group = QStringLiteral("runner");
    else if (type.endsWith(QLatin1String("Programming")))
        group = QStringLiteral("programming");
    else if (type.endsWith(QLatin1String("Player")))
        group = QStringLiteral("player");
    const QString path = QStringLiteral(":/types/%1.png").arg(group);
    return QFile::exists(path) ? path : QString();
}

bool ApplicationManager::fail(const QString &message)
{
    error = message;
    return false;
}

bool ApplicationManager::refuseName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return fail(tr("An application needs a name."));
    if (name != name.trimmed())
        return fail(tr("An application's name cannot begin or end with a blank."));
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return fail(tr("An application's name cannot hold control characters."));
    }
    if (project.application(name))
        //: %1 = Application Name
        return fail(tr("The project already has an application '%1'.").arg(name));
    return true;
}

bool ApplicationManager::add(const QString &name, const QString &type)
{
    if (!refuseName(name))
        return false;
    if (!types().contains(type))
        //: %1 = Application Type
        return fail(tr("'%1' is not an application type of this host.").arg(type));
    ProjectApplication application;
    application.name = name;
    application.type = type;
    application.operations = TestOperations;
    application.showOptions = ShowOptions;
    project.applications.append(application);
    return true;
}

bool ApplicationManager::rename(const QString &oldName, const QString &newName)
{
    ProjectApplication *application = project.application(oldName);
    if (!application)
        return fail(tr("The project has no application '%1'.").arg(oldName));
    if (oldName == newName)
        return true;
    if (!refuseName(newName))
        return false;
    application->name = newName;
    if (subscriptions)
        subscriptions->applicationRenamed(oldName, newName);
    return true;
}

bool ApplicationManager::remove(const QString &name)
{
    const qsizetype removed = project.applications.removeIf(
        [&name](const ProjectApplication &application) { return application.name == name; });
    return removed > 0 || fail(tr("The project has no application '%1'.").arg(name));
}

bool ApplicationManager::setRunSettings(const QString &name, const QString &program,
                                        const QString &folder, const QStringList &taps)
{
    ProjectApplication *application = project.application(name);
    if (!application)
        return fail(tr("The project has no application '%1'.").arg(name));
    application->program = program.trimmed();
    application->folder = folder.trimmed();
    application->tapConnectors.clear();
    for (const QString &tap : taps) {
        if (!tap.trimmed().isEmpty())
            application->tapConnectors.append(tap.trimmed());
    }
    return true;
}
