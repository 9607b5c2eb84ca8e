// The project tree's commands: new, rename, properties and delete of
// sequences, and deleting stored reports, as a user reaches them from the
// tree's selection.

#include "hostproject.h"
#include "hxreport.h"
#include "hxsequence.h"
#include "orvsequencermaindialog.h"
#include "orvsequencerpi.h"
#include "projecttreeservice.h"
#include "sampleprojecthost.h"
#include "scriptedprompt.h"
#include "sequencersettings.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"

#include <QApplication>
#include <QTextBrowser>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class TreeCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin = std::make_unique<ORVSequencerPI>(host.link());
        for (const char *title : {"Alpha", "Beta", "Gamma"})
            plugin->sequences().append(new HxSequence(QLatin1String(title), QStringLiteral("old")));
        plugin->buildTree(QString());
    }
    void TearDown() override { plugin.reset(); }

    // Selects the tree entries of `kind` with these texts, as clicks would.
    void select(const QString &kind, const QStringList &texts)
    {
        QList<VemoInterface::HxiTreeHandle> handles;
        for (const ProjectTreeService::Entry &entry : host.projectTree().entries()) {
            if (entry.kind == kind && texts.contains(entry.text))
                handles.append(entry.handle);
        }
        host.projectTree().select(handles);
    }
    void trigger(const char *id) { plugin->action(QLatin1String(id))->trigger(); }

    // the texts of the host's tree entries of `kind`, in tree order
    QStringList treeTexts(const QString &kind)
    {
        QStringList texts;
        for (const ProjectTreeService::Entry &entry : host.projectTree().entries()) {
            if (entry.kind == kind)
                texts.append(entry.text);
        }
        return texts;
    }

    // the text of a report view the plug-in made (not docked anywhere here)
    static QTextBrowser *viewText(const char *viewName, const char *browserName)
    {
        for (QWidget *view : QApplication::topLevelWidgets()) {
            if (view->objectName() == QLatin1String(viewName))
                return view->findChild<QTextBrowser *>(QLatin1String(browserName));
        }
        return nullptr;
    }

    SampleProjectHost sample;
    TemporaryFolder &folder = sample.folder;
    HostProject &project = sample.project;
    WorkbenchHost &host = sample.host;
    ScriptedPrompt &prompt = sample.prompt;
    std::unique_ptr<ORVSequencerPI> plugin;
};

} // namespace

TEST(NextSequenceTitle, CountsOnFromTheLargestNumberedTitle)
{
    EXPECT_EQ(ORVSequencerPI::nextSequenceTitle({}), QStringLiteral("Sequence 1"));
    EXPECT_EQ(ORVSequencerPI::nextSequenceTitle({QStringLiteral("Sequence 1"), QStringLiteral("Sequence 7"),
                                                 QStringLiteral("Sequence 3a")}),
              QStringLiteral("Sequence 8"));
    EXPECT_EQ(ORVSequencerPI::nextSequenceTitle({QStringLiteral("Sequence 2"), QStringLiteral("Sequence 10")}),
              QStringLiteral("Sequence 11"));
    // neither "Sequence" alone nor another word counts
    EXPECT_EQ(ORVSequencerPI::nextSequenceTitle({QStringLiteral("Sequence"), QStringLiteral("Sequence x"),
                                                 QStringLiteral("My Sequence 5"), QStringLiteral("Sequence -4")}),
              QStringLiteral("Sequence 1"));
}

TEST_F(TreeCommandsTest, NewSequenceAsksForATitleAndOpensTheEmptySequence)
{
    prompt.titleAnswers = {{true, QString(), QStringLiteral("Fresh board")}};
    trigger("NewSequence");
    ASSERT_EQ(prompt.titleRequests.size(), 1);
    EXPECT_EQ(prompt.titleRequests.first().title, QStringLiteral("Sequence 1"));
    HxSequence *created = plugin->sequences().find(QStringLiteral("Sequence 1"));
    ASSERT_TRUE(created);
    EXPECT_EQ(created->description(), QStringLiteral("Fresh board"));
    EXPECT_TRUE(treeTexts(QStringLiteral("Sequence")).contains(QStringLiteral("Sequence 1")));
    ASSERT_EQ(plugin->windows().size(), 1);
    EXPECT_EQ(plugin->windows().first()->sequenceName(), QStringLiteral("Sequence 1"));

    // A taken title or a cancel adds nothing.
    prompt.titleAnswers = {{true, QStringLiteral("Beta"), QString()}, {false, QString(), QString()}};
    trigger("NewSequence");
    trigger("NewSequence");
    EXPECT_EQ(plugin->sequences().count(), 4);
    EXPECT_EQ(prompt.titleRequests.at(1).title, QStringLiteral("Sequence 2"));
    EXPECT_TRUE(prompt.texts().contains(QStringLiteral("A sequence 'Beta' exists already.")));
}

TEST_F(TreeCommandsTest, DeletingSelectedSequencesTakesTheirWindowsAndReportsAlong)
{
    plugin->openSequenceWindow(QStringLiteral("Alpha"));
    plugin->reports().append(new HxReport(QStringLiteral("Alpha"), QStringLiteral("r1"), QStringLiteral("a.html")));
    plugin->reports().append(new HxReport(QStringLiteral("Beta"), QStringLiteral("r2"), QStringLiteral("b.html")));
    select(QStringLiteral("Sequence"), {QStringLiteral("Alpha"), QStringLiteral("Gamma")});

    // No is the answer a stray Enter gives
    trigger("DeleteSequence");
    EXPECT_EQ(plugin->sequences().count(), 3);
    EXPECT_EQ(prompt.asked.last().caption, QStringLiteral("Delete Sequence(s)?"));

    prompt.answers = {0};
    trigger("DeleteSequence");
    EXPECT_EQ(plugin->sequences().titles(), QStringList{QStringLiteral("Beta")});
    EXPECT_TRUE(plugin->windows().isEmpty());
    EXPECT_EQ(plugin->reports().count(), 1);
    EXPECT_EQ(treeTexts(QStringLiteral("Sequence")), QStringList{QStringLiteral("Beta")});
    EXPECT_EQ(treeTexts(QStringLiteral("SequenceHistoryFolder")).size(), 1);
    EXPECT_FALSE(plugin->projectTree().findSequence(QStringLiteral("Alpha")));
}

TEST_F(TreeCommandsTest, RenameMovesTheSequenceAndItsOpenWindowToTheNewTitle)
{
    ORVSequencerMainDialog *window = plugin->openSequenceWindow(QStringLiteral("Beta"));
    select(QStringLiteral("Sequence"), {QStringLiteral("Beta")});
    prompt.titleAnswers = {{true, QStringLiteral("Beta 2"), QString()}};
    trigger("RenameSequence");

    EXPECT_EQ(prompt.titleRequests.first().mode, 3);
    EXPECT_EQ(plugin->sequences().titles(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta 2"), QStringLiteral("Gamma")}));
    EXPECT_EQ(window->sequenceName(), QStringLiteral("Beta 2"));
    EXPECT_FALSE(treeTexts(QStringLiteral("Sequence")).contains(QStringLiteral("Beta")));
    EXPECT_TRUE(treeTexts(QStringLiteral("Sequence")).contains(QStringLiteral("Beta 2")));
    EXPECT_TRUE(plugin->projectTree().findSequence(QStringLiteral("Beta 2")));

    // onto a title that is taken: refused, nothing changes
    select(QStringLiteral("Sequence"), {QStringLiteral("Alpha")});
    prompt.titleAnswers = {{true, QStringLiteral("Gamma"), QString()}};
    trigger("RenameSequence");
    EXPECT_TRUE(plugin->sequences().find(QStringLiteral("Alpha")));
    EXPECT_EQ(plugin->sequences().count(), 3);

    // nothing selected
    host.projectTree().select({});
    trigger("RenameSequence");
    EXPECT_EQ(prompt.asked.last().text, QStringLiteral("Sequence not found"));
}

TEST_F(TreeCommandsTest, PropertiesChangeTheDescriptionOnly)
{
    ORVSequencerMainDialog *window = plugin->openSequenceWindow(QStringLiteral("Gamma"));
    select(QStringLiteral("Sequence"), {QStringLiteral("Gamma")});
    prompt.titleAnswers = {{true, QStringLiteral("Ignored"), QStringLiteral("new words")}};
    trigger("SequenceProperties");
    EXPECT_EQ(prompt.titleRequests.first().mode, 4);
    EXPECT_EQ(prompt.titleRequests.first().description, QStringLiteral("old"));
    EXPECT_EQ(plugin->sequences().find(QStringLiteral("Gamma"))->description(), QStringLiteral("new words"));
    EXPECT_EQ(window->sequenceDescription(), QStringLiteral("new words"));
    EXPECT_FALSE(plugin->sequences().find(QStringLiteral("Ignored")));
}

TEST_F(TreeCommandsTest, DeletingAReportRemovesItsFilesOnlyWhenTheSettingSaysSo)
{
    const QDir sequenceFolder(project.directory() + QStringLiteral("/Sequences/Alpha"));
    // The tree lists the stored reports whose files it finds: start it again
    // with two runs of "Alpha" on disk.
    plugin->removeObject(QStringLiteral("ClearAll"), QString());
    host.projectTree().clear();
    plugin->sequences().append(new HxSequence(QStringLiteral("Alpha"), QString()));
    for (const char *name : {"run1", "run2"}) {
        folder.write(QStringLiteral("project/Sequences/Alpha/%1.html").arg(QLatin1String(name)), "<html/>");
        folder.write(QStringLiteral("project/Sequences/Alpha/%1/out.html").arg(QLatin1String(name)), "x");
        plugin->reports().append(new HxReport(QStringLiteral("Alpha"), QLatin1String(name),
                                              QLatin1String(name) + QStringLiteral(".html")));
    }
    plugin->buildTree(QString());
    ASSERT_EQ(treeTexts(QStringLiteral("SequenceHistory")), (QStringList{QStringLiteral("run1"), QStringLiteral("run2")}));

    plugin->settings().removeReports = false;
    select(QStringLiteral("SequenceHistory"), {QStringLiteral("run1")});
    prompt.answers = {0};
    trigger("DeleteSequenceHistory");
    EXPECT_EQ(treeTexts(QStringLiteral("SequenceHistory")), QStringList{QStringLiteral("run2")});
    EXPECT_EQ(plugin->reports().count(), 1);
    EXPECT_TRUE(QFileInfo::exists(sequenceFolder.filePath(QStringLiteral("run1.html"))));

    plugin->settings().removeReports = true;
    select(QStringLiteral("SequenceHistory"), {QStringLiteral("run2")});
    prompt.answers = {0};
    trigger("DeleteSequenceHistory");
    EXPECT_EQ(plugin->reports().count(), 0);
    EXPECT_FALSE(QFileInfo::exists(sequenceFolder.filePath(QStringLiteral("run2.html"))));
    EXPECT_FALSE(QFileInfo::exists(sequenceFolder.filePath(QStringLiteral("run2"))));
    // the other run's files were never touched
    EXPECT_TRUE(QFileInfo::exists(sequenceFolder.filePath(QStringLiteral("run1/out.html"))));
}

TEST_F(TreeCommandsTest, ReportViewsShowTheLiveReportAndStoredOnes)
{
    // the live report follows the run as it grows
    plugin->showLiveReport(QStringLiteral("Alpha"), QStringLiteral("<p>first rows</p>"));
    trigger("OpenSequenceReport");
    QTextBrowser *liveText = viewText("Sequence Report", "reportTextEdit");
    ASSERT_TRUE(liveText);
    EXPECT_EQ(liveText->toPlainText(), QStringLiteral("first rows"));
    plugin->showLiveReport(QStringLiteral("Alpha"), QStringLiteral("<p>first rows</p><p>more</p>"));
    EXPECT_TRUE(liveText->toPlainText().endsWith(QLatin1String("more")));

    // a stored report is read from the sequence's folder, its lines joined
    folder.write(QStringLiteral("project/Sequences/Beta/run.html"), "<pre>stored \r\n\xc3\xa9\n</pre>");
    host.projectTree().clear();
    plugin->removeObject(QStringLiteral("ClearAll"), QString());
    plugin->sequences().append(new HxSequence(QStringLiteral("Beta"), QString()));
    plugin->reports().append(new HxReport(QStringLiteral("Beta"), QStringLiteral("2026-02-03 / 09:05:07:04"),
                                          QStringLiteral("run.html")));
    plugin->buildTree(QString());
    select(QStringLiteral("SequenceHistory"), {QStringLiteral("2026-02-03 / 09:05:07:04")});
    trigger("OpenSequenceHistory");
    QTextBrowser *historyText = viewText("Sequence History", "historyTextEdit");
    ASSERT_TRUE(historyText);
    EXPECT_EQ(historyText->toPlainText(), QStringLiteral("stored \u00e9"));

    // an entry the plug-in has no record of
    host.projectTree().select({});
    trigger("OpenSequenceHistory");
    EXPECT_EQ(prompt.asked.last().text, QStringLiteral("Report not found"));
    EXPECT_EQ(historyText->toPlainText(), QStringLiteral("stored \u00e9"));
}
