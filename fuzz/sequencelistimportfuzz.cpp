// Feeds arbitrary bytes to the sequence list import the way a ".seql" file
// would reach it: read as an INI document, every item rebuilt and checked
// against a small project of the reference host. The items that pass are
// written out again and read back: the second reading must keep every one
// of them, since what the import let in must be what an export writes. They
// are also stored as a project stores them, as XML text read back.
#include "cinifile.h"
#include "hostproject.h"
#include "importvalidator.h"
#include "logviewservice.h"
#include "sequencelistimport.h"
#include "sequencelistwriter.h"
#include "storedroundtrip.h"
#include "unattendedprompt.h"
#include "workbenchhost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct Environment
{
    Environment()
    {
        (void)project.create(folder.filePath(QStringLiteral("project")), QStringLiteral("Fuzz"));
        ProjectApplication chain;
        chain.name = QStringLiteral("Chain");
        chain.type = QStringLiteral("Chain Integrity Test");
        chain.operations = {QStringLiteral("Execute Test"), QStringLiteral("Test Infrastructure")};
        chain.showOptions = {QStringLiteral("Status"), QStringLiteral("Diagnostics")};
        project.applications = {chain};
        ProjectInstrument instrument;
        instrument.name = QStringLiteral("BCU-1");
        instrument.actions = {QStringLiteral("ExecReset"), QStringLiteral("ExecBcu")};
        instrument.preferred = true;
        project.instruments = {instrument};
        host.setProject(&project);
        host.setPrompt(&prompt);
        host.setValue(QStringLiteral("StartupPath"), folder.path());
        QDir().mkpath(folder.filePath(QStringLiteral("plugins")));
        QFile rules(folder.filePath(QStringLiteral("plugins/ORVSequencerParamRules.xml")));
        if (rules.open(QIODevice::WriteOnly)) {
            rules.write("<r><ParamRule key='InstrumentName' regexp=''/>"
                        "<ParamRule key='UseDefaultsPod' regexp='yes|no'/>"
                        "<ParamRule key='ProcIn0Proc' regexp='DO_[A-Z]+'/></r>");
        }
    }

    QTemporaryDir folder;
    HostProject project;
    WorkbenchHost host;
    UnattendedPrompt prompt;
};

Environment *environment = nullptr;

HxSequenceItemList importFile(const QString &fileName)
{
    CIniFile document;
    if (!document.load(fileName))
        return {};
    ImportValidator validator(environment->host.link(), QStringLiteral("Fuzz"));
    return SequenceListImport::validItems(document, validator);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    environment = new Environment;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = environment->folder.filePath(QStringLiteral("input.seql"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const HxSequenceItemList items = importFile(input);

    CIniFile written;
    SequenceListWriter::writeAll(written, items);
    written.setFileName(environment->folder.filePath(QStringLiteral("written.seql")));
    if (!written.save())
        std::abort();
    const HxSequenceItemList again = importFile(written.fileName());
    if (again.size() != items.size())
        std::abort();
    HxSequenceList stored;
    stored.append(new HxSequence(QStringLiteral("Fuzz"), QString(), items));
    storeAndReadBack(stored);

    environment->host.logview().clear();
    return 0;
}
