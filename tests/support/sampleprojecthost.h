#pragma once

#include "hostproject.h"
#include "logviewservice.h"
#include "scriptedprompt.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"

#include <QStringList>

// The reference host with a small project of two applications and two
// instruments, a scripted prompt, and a start-up folder of its own whose
// rules file a test may write.
class SampleProjectHost
{
public:
    SampleProjectHost()
    {
        (void)project.create(folder.filePath(QStringLiteral("project")), QStringLiteral("Bench"));
        ProjectApplication chain;
        chain.name = QStringLiteral("Chain");
        chain.type = QStringLiteral("Chain Integrity Test");
        chain.operations = {QStringLiteral("Execute Test"), QStringLiteral("Test Infrastructure")};
        chain.showOptions = {QStringLiteral("Status"), QStringLiteral("Diagnostics")};
        ProjectApplication flash;
        flash.name = QStringLiteral("Flash");
        flash.type = QStringLiteral("Flash Image Runner");
        flash.operations = {QStringLiteral("Execute Test")};
        flash.showOptions = {QStringLiteral("Status")};
        project.applications = {chain, flash};

        ProjectInstrument first;
        first.name = QStringLiteral("BCU-1");
        first.actions = {QStringLiteral("ExecReset"), QStringLiteral("ExecBcu")};
        first.preferred = true;
        ProjectInstrument second;
        second.name = QStringLiteral("BCU-2");
        second.actions = {QStringLiteral("ExecReset")};
        project.instruments = {first, second};

        host.setProject(&project);
        host.setPrompt(&prompt);
        host.setValue(QStringLiteral("StartupPath"), folder.filePath(QStringLiteral("startup")));
        writeRules(DefaultRules);
    }

    static inline const QByteArray DefaultRules =
        "<ORVSequencerParamRules>"
        "<ParamRule key='InstrumentName' regexp=''/>"
        "<ParamRule key='UseDefaultsPod' regexp='yes|no'/>"
        "<ParamRule key='ProcIn0Proc' regexp='DO_[A-Z_]+'/>"
        "<ParamRule key='Part0' regexp='[0-9]+'/>"
        "</ORVSequencerParamRules>";

    void writeRules(const QByteArray &xml)
    {
        folder.write(QStringLiteral("startup/plugins/ORVSequencerParamRules.xml"), xml);
    }

    HostLink link() { return host.link(); }
    // the log's "Output" tab
    QStringList output() { return host.logview().lines(QStringLiteral("Output")); }

    TemporaryFolder folder;
    HostProject project;
    WorkbenchHost host;
    ScriptedPrompt prompt;
};
