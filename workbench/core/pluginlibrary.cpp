#include "pluginlibrary.h"

#include <QCoreApplication>
#include <QDir>

using namespace VemoInterface;

namespace {

using InstallCreateHook = void *(*)(void *, CreateProc);
using GetFactory = HxiClassFactory *(*)();

} // namespace

QString PluginLibrary::defaultFileName()
{
    const QString configured = qEnvironmentVariable("ORV_SEQUENCER_PLUGIN");
    if (!configured.isEmpty())
        return configured;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libORVSequencer.so"));
}

PluginLibrary::PluginLibrary(const QString &fileName) : library(fileName)
{
}

PluginLibrary::~PluginLibrary()
{
    // The plug-in object may still hold Qt objects with code in the
    // library, so the library stays mapped until the process ends.
}

bool PluginLibrary::load(CreateProc createProc, void *moduleManager)
{
    if (factory)
        return true;
    if (!library.load()) {
        error = QObject::tr("Cannot load the sequencer library '%1': %2")
                    .arg(library.fileName(), library.errorString());
        return false;
    }
    const auto installHook =
        reinterpret_cast<InstallCreateHook>(library.resolve("__HxiInstallCreateHook__"));
    const auto getFactory = reinterpret_cast<GetFactory>(library.resolve("getFactory"));
    if (!installHook || !getFactory) {
        error = QObject::tr("'%1' is not a sequencer library: it lacks the entry points "
                            "__HxiInstallCreateHook__ and getFactory.")
                    .arg(library.fileName());
        return false;
    }
    installHook(moduleManager, createProc);
    factory = getFactory();
    if (!factory) {
        error = QObject::tr("The sequencer library '%1' could not create its class factory.")
                    .arg(library.fileName());
        return false;
    }
    return true;
}
