#include "appcreateservice.h"

#include "databaseservice.h"
#include "hostproject.h"
#include "logviewservice.h"
#include "typeactionsservice.h"

namespace {

const QString SeqOperation = QStringLiteral("SeqOperation");
const QString ExecuteTest = QStringLiteral("Execute Test");
const QString TestInfrastructure = QStringLiteral("Test Infrastructure");

// The outcomes the sequencer forces itself; they never belong in the list.
bool isForcedOperation(const QString &operation)
{
    return operation == QLatin1String("Force Pass") || operation == QLatin1String("Force Fail")
           || operation == QLatin1String("Skip Operation");
}

// What describes the application itself: its files and options. The
// instrument settings and the operation belong to each step that runs it.
QMap<QString, QString> applicationParameters(const QMap<QString, QString> &parameters)
{
    static const QStringList stepKeys = {
        SeqOperation,          QStringLiteral("Flags"),     QStringLiteral("TckSrc"),
        QStringLiteral("TckkHz"), QStringLiteral("Level"),  QStringLiteral("Threshold"),
        QStringLiteral("TapSState"), QStringLiteral("TapEState"), QStringLiteral("Gang"),
        QStringLiteral("Show"), QStringLiteral("InstrumentName"),
    };
    QMap<QString, QString> kept;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        if (!stepKeys.contains(it.key()) && !it.key().startsWith(QLatin1String("TapInfo")))
            kept.insert(it.key(), it.value());
    }
    return kept;
}

void addOperation(ProjectApplication &application, const QString &operation)
{
    if (!operation.isEmpty() && !isForcedOperation(operation)
        && !application.operations.contains(operation))
        application.operations.append(operation);
}

} // namespace

QStringList AppCreateService::showOptions()
{
    return {QStringLiteral("Status"),
            QStringLiteral("Report"),
            QStringLiteral("Diagnostics"),
            QStringLiteral("Diagnostics on Fail"),
            QStringLiteral("All vectors, All nets"),
            QStringLiteral("Failing vectors, All nets"),
            QStringLiteral("All vectors, Failing nets"),
            QStringLiteral("Failing vectors, Failing nets")};
}

bool AppCreateService::createApplication(const QString &pluginId, const QString &name,
                                         const QMap<QString, QString> &parameters,
                                         QString &createdName, QString &createdType)
{
    HostProject *project = database->project();
    const QString wanted = name.trimmed();
    if (!project || pluginId.isEmpty() || wanted.isEmpty())
        return false;
    const QString operation = parameters.value(SeqOperation);

    if (ProjectApplication *existing = project->application(wanted);
        existing && existing->type == pluginId) {
        addOperation(*existing, operation);
        createdName = existing->name;
        createdType = existing->type;
        return true;
    }

    QString unique = wanted;
    for (int suffix = 2; project->application(unique); ++suffix)
        unique = QStringLiteral("%1 (%2)").arg(wanted).arg(suffix);

    ProjectApplication application;
    application.name = unique;
    application.type = pluginId;
    application.parameters = applicationParameters(parameters);
    addOperation(application, operation);
    if (application.operations.isEmpty())
        application.operations.append(ExecuteTest);
    TypeActionsService types(database);
    if (types.supportsAction(pluginId, QStringLiteral("Infra")))
        addOperation(application, TestInfrastructure);
    application.showOptions = showOptions();
    project->applications.append(application);
    if (log)
        log->appendLine(QStringLiteral("Output"), needsProgramLine(application.name));

    createdName = application.name;
    createdType = application.type;
    return true;
}

QString AppCreateService::needsProgramLine(const QString &application)
{
    return QObject::tr("Application '%1' was created without a program: name its program in the "
                       "project before the sequence runs it.")
        .arg(application);
}
