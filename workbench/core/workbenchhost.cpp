#include "workbenchhost.h"

#include "appcreateservice.h"
#include "appsequenceservice.h"
#include "databaseservice.h"
#include "hostproject.h"
#include "hxiprompt.h"
#include "instrumentservice.h"
#include "instrumentvalueservice.h"
#include "logviewservice.h"
#include "mainprocessservice.h"
#include "mainservice.h"
#include "mainviewservice.h"
#include "parametercheckservice.h"
#include "projecttreeservice.h"
#include "subscribeservice.h"
#include "typeactionsservice.h"
#include "typeinfoservice.h"
#include "processadvservice.h"

#include <QCoreApplication>

using namespace VemoInterface;

WorkbenchHost::WorkbenchHost()
    : main(std::make_unique<MainService>()),
      log(std::make_unique<LogviewService>()),
      data(std::make_unique<DatabaseService>()),
      typeActions(std::make_unique<TypeActionsService>(data.get())),
      typeInfo(std::make_unique<TypeInfoService>()),
      processAdv(std::make_unique<ProcessAdvService>()),
      appSequenceService(std::make_unique<AppSequenceService>(data.get())),
      tree(std::make_unique<ProjectTreeService>()),
      view(std::make_unique<MainViewService>()),
      subscribe(std::make_unique<SubscribeService>()),
      process(std::make_unique<MainProcessService>()),
      appCreate(std::make_unique<AppCreateService>(data.get(), log.get())),
      instrument(std::make_unique<InstrumentService>(data.get())),
      instrumentValue(std::make_unique<InstrumentValueService>(data.get())),
      parameterCheck(std::make_unique<ParameterCheckService>())
{
    process->addJobSource(appSequenceService->jobs());
    main->setValue(QStringLiteral("StartupPath"), QCoreApplication::applicationDirPath());
    // The reference host has no log-in of its own: the system user works
    // with full rights until the host is told otherwise.
    main->setValue(QStringLiteral("UserLogin"), qEnvironmentVariable("USER"));
    main->setValue(QStringLiteral("UserPrivilege"), QStringLiteral("Developer"));
}

WorkbenchHost::~WorkbenchHost() = default;

HxiResult WorkbenchHost::createProc(void *moduleManager, const QString &interfaceName,
                                    void **result, const QString &providerName)
{
    auto *host = static_cast<WorkbenchHost *>(moduleManager);
    if (!host)
        return HxiNotAvailable;
    return host->createInterface(interfaceName, result, providerName);
}

HxiResult WorkbenchHost::createInterface(const QString &interfaceName, void **result,
                                         const QString &providerName)
{
    if (!result)
        return HxiNotAvailable;
    // Every application type of this host runs through the same service, so
    // the provider only matters for the application-sequence interface.
    if (interfaceName == appSequenceService->serviceName)
        return data->project() ? appSequenceService->queryInterface(interfaceName, result)
                               : HxiNotAvailable;
    if (!providerName.isEmpty())
        return HxiNotAvailable;

    if (interfaceName == QLatin1String("HxiRunMonitor"))
        return runMonitor ? runMonitor->queryInterface(interfaceName, result) : HxiNotAvailable;
    if (interfaceName == QLatin1String("HxiPrompt"))
        return promptService ? promptService->queryInterface(interfaceName, result)
                             : HxiNotAvailable;
    if (interfaceName == main->serviceName)
        return main->queryInterface(interfaceName, result);
    if (interfaceName == log->serviceName)
        return log->queryInterface(interfaceName, result);
    if (interfaceName == tree->serviceName)
        return tree->queryInterface(interfaceName, result);
    if (interfaceName == view->serviceName)
        return view->queryInterface(interfaceName, result);
    if (interfaceName == subscribe->serviceName)
        return subscribe->queryInterface(interfaceName, result);
    if (interfaceName == process->serviceName)
        return process->queryInterface(interfaceName, result);
    if (interfaceName == typeInfo->serviceName)
        return typeInfo->queryInterface(interfaceName, result);
    if (interfaceName == processAdv->serviceName)
        return processAdv->queryInterface(interfaceName, result);
    if (interfaceName == QLatin1String("HxiMainProcess"))
        return process->plainInterface()->queryInterface(interfaceName, result);
    if (interfaceName == QLatin1String("HxiMainJob"))
        return process->jobInterface()->queryInterface(interfaceName, result);
    if (!data->project())
        return HxiNotAvailable;   // the rest needs an open project
    if (interfaceName == data->serviceName)
        return data->queryInterface(interfaceName, result);
    if (interfaceName == typeActions->serviceName)
        return typeActions->queryInterface(interfaceName, result);
    if (interfaceName == appCreate->serviceName)
        return appCreate->queryInterface(interfaceName, result);
    if (interfaceName == instrument->serviceName)
        return instrument->queryInterface(interfaceName, result);
    if (interfaceName == instrumentValue->serviceName)
        return instrumentValue->queryInterface(interfaceName, result);
    if (interfaceName == parameterCheck->serviceName)
        return parameterCheck->queryInterface(interfaceName, result);
    return HxiNotAvailable;
}

void WorkbenchHost::setValue(const QString &key, const QString &value)
{
    main->setValue(key, value);
}

QString WorkbenchHost::value(const QString &key) const
{
    return main->value(key);
}

void WorkbenchHost::setProject(HostProject *project)
{
    data->setProject(project);
}

HostProject *WorkbenchHost::project() const
{
    return data->project();
}

int WorkbenchHost::outstandingReferences() const
{
    return main->referenceCount() + log->referenceCount() + data->referenceCount()
           + data->applicationSetReferences() + typeActions->referenceCount() + typeInfo->referenceCount() + processAdv->referenceCount()
           + appSequenceService->referenceCount() + tree->referenceCount()
           + view->referenceCount() + subscribe->referenceCount() + process->referenceCountAll()
           + appCreate->referenceCount() + instrument->referenceCount()
           + instrumentValue->referenceCount() + parameterCheck->referenceCount();
}
