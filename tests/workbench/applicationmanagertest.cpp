// The project's applications as the workbench's tree edits them.

#include "applicationmanager.h"
#include "hostproject.h"
#include "hxapplicationrenameevent.h"
#include "subscribeservice.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Keeps the rename events the host posts.
class RenameListener : public QObject
{
public:
    QStringList renames;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::Type(HxApplicationRenameEvent::EventType))
            return QObject::event(event);
        const auto *rename = static_cast<HxApplicationRenameEvent *>(event);
        renames.append(rename->oldName + QStringLiteral(" -> ") + rename->newName);
        return true;
    }
};

} // namespace

TEST(ApplicationManagerTest, NamesMustBeNewAndPlainAndTypesKnown)
{
    HostProject project;
    ApplicationManager manager(project);
    ASSERT_TRUE(manager.add(QStringLiteral("Chain"), QStringLiteral("Chain Integrity Test")));
    const struct
    {
        const char *name;
        const char *type;
        bool added;
    } cases[] = {
        {"Chain", "Flash Image Runner", false},      // taken
        {"chain", "Flash Image Runner", true},       // names compare case-sensitively
        {"", "Flash Image Runner", false},
        {" Flash", "Flash Image Runner", false},
        {"Fla\nsh", "Flash Image Runner", false},
        {"Probe", "Interactive Tool 1", false},      // never runs in a sequence
        {"Probe", "No Such Type", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(manager.add(QString::fromUtf8(c.name), QString::fromUtf8(c.type)), c.added);
        if (!c.added)
            EXPECT_FALSE(manager.errorString().isEmpty());
    }
    EXPECT_EQ(project.applications.size(), 2);
    EXPECT_EQ(project.application(QStringLiteral("chain"))->operations, QStringList({"Execute Test"}));
}

TEST(ApplicationManagerTest, ARenameIsAnnouncedAndRunSettingsAreKeptTrimmed)
{
    HostProject project;
    SubscribeService subscriptions;
    RenameListener listener;
    subscriptions.subscribe(&listener, HxApplicationRenameEvent::EventType);
    ApplicationManager manager(project, &subscriptions);
    ASSERT_TRUE(manager.add(QStringLiteral("Chain"), QStringLiteral("Chain Integrity Test")));
    ASSERT_TRUE(manager.add(QStringLiteral("Flash"), QStringLiteral("Flash Image Runner")));

    EXPECT_FALSE(manager.rename(QStringLiteral("Chain"), QStringLiteral("Flash")));
    EXPECT_TRUE(manager.rename(QStringLiteral("Chain"), QStringLiteral("Chain")));
    EXPECT_TRUE(manager.rename(QStringLiteral("Chain"), QStringLiteral("Scan")));
    QCoreApplication::processEvents();
    EXPECT_EQ(listener.renames, QStringList({"Chain -> Scan"}));

    ASSERT_TRUE(manager.setRunSettings(QStringLiteral("Scan"), QStringLiteral(" apps/scan.sh "),
                                       QStringLiteral("apps"), {QStringLiteral(" J1"), QString(), QStringLiteral("J2 ")}));
    const ProjectApplication *scan = project.application(QStringLiteral("Scan"));
    EXPECT_EQ(scan->program, QStringLiteral("apps/scan.sh"));
    EXPECT_EQ(scan->tapConnectors, QStringList({"J1", "J2"}));

    EXPECT_TRUE(manager.remove(QStringLiteral("Flash")));
    EXPECT_FALSE(manager.remove(QStringLiteral("Flash")));
    EXPECT_EQ(project.applications.size(), 1);
}
