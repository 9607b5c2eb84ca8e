#include "hxiactions.h"
#include "hxiproject.h"
#include "hxisettings.h"
#include "mainviewservice.h"
#include "pluginlibrary.h"
#include "workbenchhost.h"

#include <QDomDocument>
#include <QLibrary>

#include <gtest/gtest.h>

using namespace VemoInterface;

namespace {

const QString PluginFile = QStringLiteral(ORV_PLUGIN_FILE);

// The library is mapped once per process, like a host does; every test
// works with factories of its own.
HxiClassFactory *newFactory(WorkbenchHost &host)
{
    QLibrary library(PluginFile);
    using InstallCreateHook = void *(*)(void *, CreateProc);
    using GetFactory = HxiClassFactory *(*)();
    auto install = reinterpret_cast<InstallCreateHook>(library.resolve("__HxiInstallCreateHook__"));
    auto getFactory = reinterpret_cast<GetFactory>(library.resolve("getFactory"));
    if (!install || !getFactory)
        return nullptr;
    EXPECT_EQ(install(&host, &WorkbenchHost::createProc), &host);
    return getFactory();
}

} // namespace

TEST(PluginLibraryTest, LoadsThroughItsEntryPointsAndAnswersByName)
{
    WorkbenchHost host;
    PluginLibrary plugin(PluginFile);
    ASSERT_TRUE(plugin.load(&WorkbenchHost::createProc, &host)) << plugin.errorString().toStdString();

    const char *const names[] = {"HxiActions",  "HxiStartup",      "HxiDatabasePersist",
                                 "HxiProject",  "HxiArchive",      "HxiSettings",
                                 "HxiORVSequencer", "HxiDatabasePersistStream"};
    QList<void *> pointers;
    for (const char *name : names) {
        void *pointer = nullptr;
        EXPECT_EQ(plugin.classFactory()->createInstance(QLatin1String(name), &pointer), HxiOk) << name;
        EXPECT_NE(pointer, nullptr) << name;
        EXPECT_FALSE(pointers.contains(pointer)) << name;
        pointers.append(pointer);
    }
    // the same object answers every request: one listener at the host
    EXPECT_EQ(host.mainView().activationListenerCount(), 1);

    void *untouched = &host;
    EXPECT_EQ(plugin.classFactory()->createInstance(QStringLiteral("hxiactions"), &untouched),
              HxiNotAvailable);
    EXPECT_EQ(untouched, nullptr);   // createInstance clears the result first
    void *queried = &host;
    auto *actions = static_cast<HxiActions *>(pointers.at(0));
    EXPECT_EQ(actions->queryInterface(QStringLiteral("HxiActions "), &queried), HxiNotAvailable);
    EXPECT_EQ(queried, &host);       // queryInterface leaves it alone
    EXPECT_EQ(plugin.classFactory()->queryInterface(QStringLiteral("HxiActions"), &queried),
              HxiNotAvailable);

    EXPECT_NE(actions->action(QStringLiteral("OpenSequence")), nullptr);
    EXPECT_EQ(actions->createWindow(QStringLiteral("Something Else")), nullptr);

    // a reference taken for each name, each given back: the object goes away
    for (int i = 0; i < int(std::size(names)); ++i)
        actions->release();
    EXPECT_EQ(host.mainView().activationListenerCount(), 1);   // the count it was born with
    actions->release();
    EXPECT_EQ(host.mainView().activationListenerCount(), 0);
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST(PluginLibraryTest, TheApplicationInterfacesAreExportedForOtherModulesToImplement)
{
    QLibrary library(PluginFile);
    for (const char *name : {"10HxiAppExec", "14HxiAppSequence", "9HxiAppGen"}) {
        const QByteArray mangled(name);
        // the virtual table, the default and copy constructors, the assignment
        for (const QByteArray &symbol : {"_ZTV" + mangled, "_ZN" + mangled + "C1Ev",
                                         "_ZN" + mangled + "C1ERKS_", "_ZN" + mangled + "aSERKS_"})
            EXPECT_NE(library.resolve(symbol.constData()), nullptr) << symbol.constData();
    }
}

TEST(PluginLibraryTest, AnObjectLivesWhileReferencedAndEachFactoryMakesItsOwn)
{
    WorkbenchHost host;
    HxiClassFactory *factory = newFactory(host);
    ASSERT_NE(factory, nullptr);

    HxiProject *project = nullptr;
    ASSERT_EQ(factory->createInstance(QStringLiteral("HxiProject"), reinterpret_cast<void **>(&project)),
              HxiOk);
    project->release();
    EXPECT_EQ(host.mainView().activationListenerCount(), 1);
    EXPECT_TRUE(project->buildTree(QString()));   // still alive: the creation count remains

    // a second request reaches the same object
    HxiSettings *settings = nullptr;
    ASSERT_EQ(factory->createInstance(QStringLiteral("HxiSettings"), reinterpret_cast<void **>(&settings)),
              HxiOk);
    EXPECT_EQ(host.mainView().activationListenerCount(), 1);
    QDomDocument document;
    QDomElement parent = document.createElement(QStringLiteral("settings"));
    EXPECT_TRUE(settings->saveSettings(parent));
    EXPECT_EQ(parent.firstChildElement().attribute(QStringLiteral("saveReports")),
              QStringLiteral("1"));
    settings->release();
    project->release();
    EXPECT_EQ(host.mainView().activationListenerCount(), 0);

    // once it is gone, the factory makes a new one; another factory makes its own
    HxiActions *actions = nullptr;
    ASSERT_EQ(factory->createInstance(QStringLiteral("HxiActions"), reinterpret_cast<void **>(&actions)),
              HxiOk);
    EXPECT_EQ(host.mainView().activationListenerCount(), 1);
    HxiClassFactory *second = newFactory(host);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, factory);
    HxiActions *other = nullptr;
    ASSERT_EQ(second->createInstance(QStringLiteral("HxiActions"), reinterpret_cast<void **>(&other)), HxiOk);
    EXPECT_NE(other, actions);
    EXPECT_EQ(host.mainView().activationListenerCount(), 2);
    for (HxiActions *made : {actions, other}) {
        made->release();
        made->release();
    }
    EXPECT_EQ(host.mainView().activationListenerCount(), 0);
    EXPECT_EQ(host.outstandingReferences(), 0);
}

TEST(PluginLibraryTest, AMissingLibraryIsReportedByName)
{
    WorkbenchHost host;
    PluginLibrary plugin(QStringLiteral("/nonexistent/libORVSequencer.so"));
    EXPECT_FALSE(plugin.load(&WorkbenchHost::createProc, &host));
    EXPECT_TRUE(plugin.errorString().contains(QLatin1String("/nonexistent/libORVSequencer.so")));
    EXPECT_FALSE(plugin.isLoaded());
}
