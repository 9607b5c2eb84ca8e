#include "appsequenceservice.h"

#include "databaseservice.h"
#include "hostproject.h"
#include "hxmjob.h"
#include "jobrunner.h"
#include "typeactionsservice.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

AppSequenceService::AppSequenceService(DatabaseService *database)
    : ServiceObject(QStringLiteral("HxiAppSequence")), database(database),
      runner(new JobRunner(this))
{
    connect(runner, &JobRunner::finished, this, &AppSequenceService::jobEnded);
    connect(runner, &JobRunner::standardOutput, this, &AppSequenceService::jobStdout);
    connect(runner, &JobRunner::standardError, this, &AppSequenceService::jobStderr);
}

AppSequenceService::~AppSequenceService() = default;

QStringList AppSequenceService::settingsList(const QString &settingsId,
                                             const QString &listName) const
{
    QString application;
    QString action;
    HostProject *project = database->project();
    if (!project || !TypeActionsService::splitSettingsId(settingsId, application, action))
        return {};
    const ProjectApplication *found = project->application(application);
    if (!found)
        return {};
    if (listName == QLatin1String("Oper"))
        return found->operations;
    if (listName == QLatin1String("Show"))
        return found->showOptions;
    return {};
}

bool AppSequenceService::openSettings(const QString &settingsId)
{
    QString application;
    QString action;
    HostProject *project = database->project();
    return project && TypeActionsService::splitSettingsId(settingsId, application, action)
           && project->application(application);
}

bool AppSequenceService::hasSettingsList(const QString &settingsId, const QString &listName)
{
    return !settingsList(settingsId, listName).isEmpty();
}

bool AppSequenceService::connectJobFinished(QObject *receiver, const char *slot)
{
    return static_cast<bool>(
        connect(this, SIGNAL(jobFinished(HxmJob*,QString,int)), receiver, slot, Qt::UniqueConnection));
}

bool AppSequenceService::connectStdout(QObject *receiver, const char *slot)
{
    return static_cast<bool>(
        connect(this, SIGNAL(jobStdout(HxmJob*,QString)), receiver, slot, Qt::UniqueConnection));
}

bool AppSequenceService::connectStderr(QObject *receiver, const char *slot)
{
    return static_cast<bool>(
        connect(this, SIGNAL(jobStderr(HxmJob*,QString)), receiver, slot, Qt::UniqueConnection));
}

bool AppSequenceService::loadSettings(const QString &settingsId, bool,
                                      QMap<QString, QString> &)
{
    // The reference host's lists do not depend on the item; they only have
    // to exist.
    return openSettings(settingsId);
}

int AppSequenceService::settingsListCount(const QString &settingsId, const QString &listName)
{
    return int(settingsList(settingsId, listName).size());
}

QString AppSequenceService::settingsListEntry(const QString &settingsId, const QString &listName,
                                              int index)
{
    return settingsList(settingsId, listName).value(index);
}

bool AppSequenceService::editSettings(const QString &, QWidget *, QMap<QString, QString> &)
{
    // The reference host has no execute-settings dialog of its own.
    return false;
}

namespace {

// The parameters travel in a small text file, one "key=value" per line in
// key order, whose path is the program's first argument (and is also in
// ORV_PARAMETERS). Line breaks inside values are written as "\n".
bool writeParameterFile(const QString &path, const QMap<QString, QString> &parameters)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        QString value = it.value();
        value.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
        file.write((it.key() + QLatin1Char('=') + value + QLatin1Char('\n')).toUtf8());
    }
    return file.commit();
}

} // namespace

int AppSequenceService::execute(const QString &application, const QMap<QString, QString> &parameters,
                                bool infrastructureOnly)
{
    HostProject *project = database->project();
    const ProjectApplication *found = project ? project->application(application) : nullptr;
    if (!found)
        return 0;
    if (found->program.isEmpty()) {
        // Converted legacy sequences create applications whose program only
        // the project's owner can name; the step says what is missing.
        auto job = std::make_unique<HxmJob>();
        job->parameters = parameters;
        runner->fail(std::move(job),
                     tr("The application '%1' has no program: name its program in the project "
                        "before running it.")
                         .arg(application));
        return 1;
    }

    const QDir projectFolder(project->directory());
    const QString program = QDir::cleanPath(projectFolder.absoluteFilePath(found->program));
    const QString workFolder = found->folder.isEmpty()
                                   ? project->directory()
                                   : QDir::cleanPath(projectFolder.absoluteFilePath(found->folder));
    QString resultFolder = results.value(application).directory;
    if (resultFolder.isEmpty())
        resultFolder = projectFolder.filePath(QStringLiteral("Results/") + application);
    if (!QDir().mkpath(resultFolder))
        return 0;

    const QString baseName = QFileInfo(program).completeBaseName();
    const QString parameterFile = QDir(resultFolder).filePath(baseName + QStringLiteral(".parameters"));
    if (!writeParameterFile(parameterFile, parameters))
        return 0;

    auto job = std::make_unique<HxmJob>();
    // The job's files (truth table, diagnostics) are named after this path.
    job->applicationFilePath = QDir(resultFolder).filePath(baseName);
    job->reportMode = parameters.value(QStringLiteral("Show"));
    job->resultDirectory = resultFolder;
    job->parameters = parameters;

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORV_PARAMETERS"), parameterFile);
    environment.insert(QStringLiteral("ORV_APPLICATION"), application);
    environment.insert(QStringLiteral("ORV_RESULT_DIR"), resultFolder);
    environment.insert(QStringLiteral("ORV_TRUTH_TABLE"), job->applicationFilePath + QStringLiteral("_ttr.html"));
    environment.insert(QStringLiteral("ORV_DIAGNOSTICS"), job->applicationFilePath + QStringLiteral("_dia.html"));
    environment.insert(QStringLiteral("ORV_INFRASTRUCTURE"), infrastructureOnly ? QStringLiteral("1") : QStringLiteral("0"));

    if (!QFileInfo::exists(program)) {
        runner->fail(std::move(job),
                     tr("The program '%1' of application '%2' does not exist.").arg(program, application));
        return 1;
    }
    // Scripts in a project may have lost their execute bit on the way
    // (an archive, a copy); the shell runs them all the same.
    const QFileInfo programInfo(program);
    if (programInfo.isExecutable())
        runner->start(program, {parameterFile}, workFolder, environment, std::move(job));
    else
        runner->start(QStringLiteral("/bin/sh"), {program, parameterFile}, workFolder, environment,
                      std::move(job));
    return 1;
}

void AppSequenceService::setResultsDirectory(const QString &application, const QString &directory,
                                             int copyMode)
{
    results.insert(application, {directory, copyMode});
}

int AppSequenceService::statusIdForExitCode(int exitCode)
{
    switch (exitCode) {
    case 0:
        return 8;
    case 2:
    case 66000:
        return 11;
    case 3:
        return 10;
    case 4:
        return 0;
    default:
        return 9;
    }
}

QString AppSequenceService::statusTextForExitCode(int exitCode)
{
    switch (exitCode) {
    case 0:
        return QStringLiteral("Passed");
    case 2:
        return QStringLiteral("Error");
    case 66000:
        return QStringLiteral("Timeout");
    case 3:
        return QStringLiteral("Rejected");
    case 4:
        return QStringLiteral("Skipped");
    default:
        return QStringLiteral("Failed");
    }
}

void AppSequenceService::jobEnded(HxmJob *job, const QString &message, int exitCode)
{
    // A program that could not start or was killed has its own message.
    const int code = exitCode == JobRunner::KilledExitCode ? 2 : exitCode;
    job->statusId = statusIdForExitCode(code);
    job->message = message.isEmpty() ? statusTextForExitCode(code) : message;
    Q_EMIT jobFinished(job, job->message, code);
}
