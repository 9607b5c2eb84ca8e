// The desktop host driven as a person would: open the demo project, open a
// sequence from the tree, run it from the menu, read the log.

#include "democopy.h"
#include "logpanel.h"
#include "projecttreepanel.h"
#include "projecttreeservice.h"
#include "runrecorder.h"
#include "workbenchwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QStringList menuTexts(const WorkbenchWindow &window, const QString &title)
{
    QStringList texts;
    for (QAction *menuAction : window.menuBar()->actions()) {
        if (menuAction->text().remove(u'&') != title)
            continue;
        for (const QAction *action : menuAction->menu()->actions()) {
            if (!action->isSeparator())
                texts.append(action->text().remove(u'&'));
        }
    }
    return texts;
}

// Chooses `privilege` from the window's "User" menu.
void becomeUser(const WorkbenchWindow &window, const QString &privilege)
{
    for (QAction *menuAction : window.menuBar()->actions()) {
        if (menuAction->text().remove(u'&') != QLatin1String("User"))
            continue;
        for (QAction *action : menuAction->menu()->actions()) {
            if (action->text() == privilege)
                action->trigger();
        }
    }
}

class WorkbenchWindowTest : public DemoProjectTest
{
};

} // namespace

TEST_F(WorkbenchWindowTest, OpensAProjectAndRunsASequenceFromTheTree)
{
    WorkbenchWindow window;
    RunRecorder monitor;
    window.host().setRunMonitor(&monitor);
    ASSERT_TRUE(window.openProject(project));

    // The plug-in's sequences are in the tree and its actions in the menu.
    ProjectTreePanel &tree = window.projectTree();
    const QList<QTreeWidgetItem *> found =
        tree.findItems(QStringLiteral("Board Test"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(tree.findItems(QStringLiteral("Instrument Check"), Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
    EXPECT_TRUE(menuTexts(window, QStringLiteral("Sequence")).contains(QStringLiteral("Start Sequence")));

    // A double click opens the sequence in a tab of its own.
    tree.setCurrentItem(found.first());
    Q_EMIT tree.itemDoubleClicked(found.first(), 0);
    ASSERT_EQ(window.views().count(), 1);
    EXPECT_EQ(window.views().tabText(0), QStringLiteral("ORV Sequencer: Board Test"));

    QAction *start = window.session().action(QStringLiteral("StartSequence"));
    ASSERT_TRUE(start);
    window.session().updateActions();
    ASSERT_TRUE(start->isEnabled());
    start->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !monitor.runs.isEmpty(); }, 60000));
    EXPECT_EQ(monitor.runs.first().verdict, QStringLiteral("Passed"));
    // and recorded in the project's results, as seqrun's runs are
    EXPECT_TRUE(QFileInfo::exists(project + QStringLiteral("/results.sqlite")));
    // the sequencer's messages reach the log
    EXPECT_TRUE(window.logPanel().text(QStringLiteral("Output")).contains(QLatin1String("Board Test")));
    // a finished run is entered in the sequence's report history (the tree
    // shows changes once the event that made them is over)
    QTreeWidgetItem *history = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QList<QTreeWidgetItem *> sequence =
            tree.findItems(QStringLiteral("Board Test"), Qt::MatchExactly | Qt::MatchRecursive);
        history = sequence.size() == 1 && sequence.first()->childCount() == 1 ? sequence.first()->child(0)
                                                                               : nullptr;
        return history && history->childCount() == 1;
    }, 5000));

    // An operator gets the run actions but not the engineer's ones.
    const QStringList developerMenu = menuTexts(window, QStringLiteral("Sequence"));
    becomeUser(window, QStringLiteral("Operator"));
    const QStringList operatorMenu = menuTexts(window, QStringLiteral("Sequence"));
    EXPECT_TRUE(operatorMenu.contains(QStringLiteral("Start Sequence")));
    EXPECT_FALSE(operatorMenu.contains(QStringLiteral("Delete Sequence(s)")));
    EXPECT_TRUE(developerMenu.contains(QStringLiteral("Delete Sequence(s)")));
    window.host().setRunMonitor(nullptr);
}

TEST_F(WorkbenchWindowTest, ADamagedProjectIsRefusedAndTheOpenOneStays)
{
    folder.write(QStringLiteral("damaged/project.xml"), "<project name='Broken'><applications>");
    WorkbenchWindow window;
    ASSERT_TRUE(window.openProject(project));

    // the error box is confirmed as a person would
    QString shown;
    QTimer::singleShot(0, &window, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    EXPECT_FALSE(window.openProject(folder.filePath(QStringLiteral("damaged"))));
    EXPECT_TRUE(shown.contains(QLatin1String("project.xml"))) << shown.toStdString();
    EXPECT_FALSE(window.projectTree()
                     .findItems(QStringLiteral("Board Test"), Qt::MatchExactly | Qt::MatchRecursive)
                     .isEmpty());
}

TEST_F(WorkbenchWindowTest, TheTreesMenusFollowTheUser)
{
    WorkbenchWindow window;
    const auto treeActions = [&window] {
        QStringList ids;
        for (const ProjectTreeService::MenuEntry &entry : window.host().projectTree().menuEntries())
            ids.append(entry.actionId);
        return ids;
    };
    becomeUser(window, QStringLiteral("Operator"));
    ASSERT_TRUE(window.openProject(project));
    EXPECT_FALSE(treeActions().contains(QStringLiteral("NewSequence")));

    becomeUser(window, QStringLiteral("Developer"));
    EXPECT_TRUE(treeActions().contains(QStringLiteral("NewSequence")));
    EXPECT_EQ(treeActions().count(QStringLiteral("OpenSequence")), 1);
    EXPECT_EQ(window.projectTree()
                  .findItems(QStringLiteral("Board Test"), Qt::MatchExactly | Qt::MatchRecursive)
                  .size(),
              1);
}

TEST_F(WorkbenchWindowTest, AProjectAnotherProgramWritesOpensReadOnlyAndSaysSo)
{
    WorkbenchHost otherHost;
    ProjectSession writer(otherHost, QStringLiteral(ORV_PLUGIN_FILE));
    ASSERT_EQ(writer.open(project), ProjectSession::Outcome::Done);

    WorkbenchWindow window;
    ASSERT_TRUE(window.openProject(project));
    EXPECT_TRUE(window.session().isReadOnly());
    EXPECT_TRUE(window.windowTitle().contains(QLatin1String("read-only")));
    EXPECT_TRUE(window.logPanel().text(QStringLiteral("Output")).contains(QLatin1String("read-only")));
    EXPECT_EQ(window.session().save(), ProjectSession::Outcome::Locked);
}

TEST_F(WorkbenchWindowTest, TheSettingsDialogShowsTheSequencersPageAndStoresIt)
{
    const QByteArray previous = qgetenv("ORV_SETTINGS_FILE");
    const QString settingsFile = folder.filePath(QStringLiteral("config/settings.xml"));
    qputenv("ORV_SETTINGS_FILE", settingsFile.toLocal8Bit());
    {
        WorkbenchWindow window;
        ASSERT_TRUE(window.openProject(project));
        QAction *settings = nullptr;
        for (QAction *menu : window.menuBar()->actions()) {
            for (QAction *action : menu->menu()->actions()) {
                if (action->text().remove(u'&') == QLatin1String("Settings..."))
                    settings = action;
            }
        }
        ASSERT_TRUE(settings);
        QString tab;
        QTimer::singleShot(0, &window, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            auto *tabs = dialog->findChild<QTabWidget *>();
            tab = tabs->tabText(0);
            dialog->findChild<QCheckBox *>(QStringLiteral("removeReportCheckBox"))->setChecked(true);
            dialog->accept();
        });
        settings->trigger();
        EXPECT_EQ(tab, QStringLiteral("ORV Sequencer"));
        QFile file(settingsFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains("removeReports=\"1\""));
    }
    qputenv("ORV_SETTINGS_FILE", previous);
}
