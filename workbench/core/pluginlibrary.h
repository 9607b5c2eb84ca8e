#pragma once

#include "hxiclassfactory.h"

#include <QLibrary>
#include <QString>

// The sequencer library as a foreign host sees it: loaded at run time and
// reached only through its exported entry points.
class PluginLibrary
{
public:
    // The library the hosts use: $ORV_SEQUENCER_PLUGIN when set, else the
    // one beside the running program.
    static QString defaultFileName();

    explicit PluginLibrary(const QString &fileName = defaultFileName());
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    // Loads the library, installs the host's creation procedure and asks
    // for a class factory.
    [[nodiscard]] bool load(VemoInterface::CreateProc createProc, void *moduleManager);
    bool isLoaded() const { return factory != nullptr; }
    QString errorString() const { return error; }
    QString fileName() const { return library.fileName(); }

    // An interface of the plug-in object by name, holding one reference;
    // null when the plug-in does not offer it.
    template<class Interface>
    Interface *create(const QString &interfaceName)
    {
        void *result = nullptr;
        if (!factory || factory->createInstance(interfaceName, &result) != VemoInterface::HxiOk)
            return nullptr;
        return static_cast<Interface *>(result);
    }

    VemoInterface::HxiClassFactory *classFactory() const { return factory; }

private:
    QLibrary library;
    VemoInterface::HxiClassFactory *factory = nullptr;
    QString error;
};
