#pragma once

#include "hostlink.h"
#include "hxiunknown.h"

#include <QObject>
#include <QString>

#include <memory>

namespace VemoInterface {
class HxiPrompt;
}
class AppCreateService;
class AppSequenceService;
class DatabaseService;
class InstrumentService;
class InstrumentValueService;
class ParameterCheckService;
class HostProject;
class LogviewService;
class MainProcessService;
class MainService;
class MainViewService;
class ProjectTreeService;
class SubscribeService;
class TypeActionsService;
class TypeInfoService;
class ProcessAdvService;

// The reference host: answers the plug-in's requests for services by name
// from the open project folder and its own state.
class WorkbenchHost : public QObject
{
    Q_OBJECT

public:
    WorkbenchHost();
    ~WorkbenchHost() override;

    // The creation procedure handed to plug-ins; `moduleManager` is the host.
    static VemoInterface::HxiResult createProc(void *moduleManager, const QString &interfaceName,
                                               void **result, const QString &providerName);
    VemoInterface::HxiResult createInterface(const QString &interfaceName, void **result,
                                             const QString &providerName);
    HostLink link() { return HostLink(&WorkbenchHost::createProc, this); }

    // A prompt service for hosts without a person in front of them; the
    // host does not own it. Null: the plug-in shows its own dialogs.
    void setPrompt(VemoInterface::HxiPrompt *prompt) { promptService = prompt; }
    // A run monitor for hosts that follow runs without a window; the host
    // does not own it.
    void setRunMonitor(VemoInterface::HxiUnknown *monitor) { runMonitor = monitor; }

    // Values of "HxiMain".
    void setValue(const QString &key, const QString &value);
    QString value(const QString &key) const;

    // The open project; services that need one are absent without it.
    void setProject(HostProject *project);
    HostProject *project() const;

    MainService &mainService() { return *main; }
    LogviewService &logview() { return *log; }
    DatabaseService &database() { return *data; }
    ProjectTreeService &projectTree() { return *tree; }
    MainViewService &mainView() { return *view; }
    SubscribeService &subscriptions() { return *subscribe; }
    AppSequenceService &appSequence() { return *appSequenceService; }
    MainProcessService &processes() { return *process; }

    // References the plug-in still holds on host services; 0 whenever the
    // plug-in is between calls.
    int outstandingReferences() const;

private:
    std::unique_ptr<MainService> main;
    std::unique_ptr<LogviewService> log;
    std::unique_ptr<DatabaseService> data;
    std::unique_ptr<TypeActionsService> typeActions;
    std::unique_ptr<TypeInfoService> typeInfo;
    std::unique_ptr<ProcessAdvService> processAdv;
    std::unique_ptr<AppSequenceService> appSequenceService;
    std::unique_ptr<ProjectTreeService> tree;
    std::unique_ptr<MainViewService> view;
    std::unique_ptr<SubscribeService> subscribe;
    std::unique_ptr<MainProcessService> process;
    std::unique_ptr<AppCreateService> appCreate;
    std::unique_ptr<InstrumentService> instrument;
    std::unique_ptr<InstrumentValueService> instrumentValue;
    std::unique_ptr<ParameterCheckService> parameterCheck;
    VemoInterface::HxiPrompt *promptService = nullptr;
    VemoInterface::HxiUnknown *runMonitor = nullptr;
};
