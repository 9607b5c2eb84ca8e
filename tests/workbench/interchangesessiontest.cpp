#include "benchproject.h"
#include "hxiorvsequencer.h"
#include "legacyfilebuilder.h"
#include "logviewservice.h"
#include "mainviewservice.h"
#include "projectsession.h"
#include "projecttreeservice.h"
#include "scriptedprompt.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"

#include <QFileInfo>
#include <QPointer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QString PluginFile = QStringLiteral(ORV_PLUGIN_FILE);

class InterchangeSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.write(QStringLiteral("project/project.xml"), ProjectXml);
        host.setPrompt(&prompt);
        host.setValue(QStringLiteral("StartupPath"), folder.filePath(QStringLiteral("startup")));
        QObject::connect(&host.mainView(), &MainViewService::viewShown,
                         [this](QWidget *window) { shown = window; });
        session = std::make_unique<ProjectSession>(host, PluginFile);
        ASSERT_EQ(session->open(folder.filePath(QStringLiteral("project"))),
                  ProjectSession::Outcome::Done)
            << session->errorString().toStdString();
    }
    void TearDown() override
    {
        session.reset();
        EXPECT_EQ(host.outstandingReferences(), 0);
    }

    QStringList output() { return host.logview().lines(QStringLiteral("Output")); }
    QStringList captions() const
    {
        QStringList result;
        for (const ScriptedPrompt::Question &question : prompt.asked)
            result.append(question.caption);
        return result;
    }
    int shownSteps() const
    {
        const auto *list = shown ? shown->findChild<QTreeWidget *>(QStringLiteral("sequenceListView"))
                                 : nullptr;
        return list ? list->topLevelItemCount() : -1;
    }

    TemporaryFolder folder;
    WorkbenchHost host;
    ScriptedPrompt prompt;
    std::unique_ptr<ProjectSession> session;
    QPointer<QWidget> shown;
};

} // namespace

TEST_F(InterchangeSessionTest, ExportAndImportThroughTheActions)
{
    const QString file = folder.filePath(QStringLiteral("board.seql"));
    ASSERT_TRUE(session->selectSequence(QStringLiteral("Board")));
    prompt.fileNames = {folder.filePath(QStringLiteral("board"))};
    ASSERT_TRUE(session->triggerAction(QStringLiteral("ExportSequenceData")));
    // the chosen name gets the list's extension
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(captions(), QStringList({QStringLiteral("Choose a Sequence List file"),
                                       QStringLiteral("Sequence List Exported")}));

    prompt.asked.clear();
    ASSERT_TRUE(session->selectSequence(QStringLiteral("Target")));
    prompt.fileNames = {file};
    ASSERT_TRUE(session->triggerAction(QStringLiteral("ImportSequenceData")));
    // The import opened the sequence's window and it shows the new steps.
    EXPECT_EQ(shownSteps(), 3);
    EXPECT_TRUE(output().join(QLatin1Char('\n')).contains(
        QStringLiteral("ORV Sequencer 'Target' - Import Sequence List: \"%1\" finished").arg(file)));
}

TEST_F(InterchangeSessionTest, WithoutASelectedSequenceBothActionsFail)
{
    for (const char *action : {"ExportSequenceData", "ImportSequenceData"}) {
        prompt.asked.clear();
        host.projectTree().select({});
        ASSERT_TRUE(session->triggerAction(QLatin1String(action)));
        const QString failure = QLatin1String(action).startsWith(QLatin1String("Export"))
                                    ? QStringLiteral("Export Sequence List failed")
                                    : QStringLiteral("Import Sequence List failed");
        EXPECT_EQ(captions(), QStringList({QStringLiteral("Sequence not found"), failure})) << action;
    }
}

TEST_F(InterchangeSessionTest, AnImportReplacesTheStepsOfAnOpenWindow)
{
    folder.write(QStringLiteral("list.seql"),
                 "[SEQUENCE]\nITEM1=ENDIF\nITEM2=Ghost\n"
                 "[ITEM1]\nItemType=operation\n"
                 "[ITEM2]\nItemType=application\nColumnOperation=Execute Test\n");
    ASSERT_TRUE(session->selectSequence(QStringLiteral("Board")));
    ASSERT_TRUE(session->triggerAction(QStringLiteral("OpenSequence")));
    ASSERT_EQ(shownSteps(), 3);
    prompt.fileNames = {folder.filePath(QStringLiteral("list.seql"))};
    ASSERT_TRUE(session->triggerAction(QStringLiteral("ImportSequenceData")));
    EXPECT_EQ(shownSteps(), 1);
    int removed = 0;
    for (const QString &line : output())
        removed += line.contains(QStringLiteral("Application 'Ghost' not found in current project"));
    EXPECT_EQ(removed, 1);
}

TEST_F(InterchangeSessionTest, ALegacyFileBecomesANewSequenceWithItsApplications)
{
    LegacyFileBuilder builder;
    LegacyFileBuilder::Record jam(LegacyFileBuilder::Jam);
    jam.names("/jam", "", "Erase Flash").extensionText(256, "1,");
    LegacyFileBuilder::Record pause(LegacyFileBuilder::Control);
    pause.names("", "Insert the board", "").extensionText(0, "0,");
    LegacyFileBuilder::Record select(LegacyFileBuilder::Control);
    select.operation(14);
    builder.windowName("Old Board").add(jam).add(pause).add(select);
    const QString file = folder.write(QStringLiteral("old.sqc"), builder.bytes());

    prompt.titleAnswers = {{true, QString(), QStringLiteral("converted"), QStringLiteral("BCU-1")}};
    ASSERT_NE(session->sequencer(), nullptr);
    EXPECT_TRUE(session->sequencer()->importLegacySequence(nullptr, file));
    ASSERT_EQ(prompt.titleRequests.size(), 1);
    EXPECT_EQ(prompt.titleRequests.first().mode, 2);
    EXPECT_EQ(prompt.titleRequests.first().title, QStringLiteral("Old Board"));
    EXPECT_TRUE(session->sequenceTitles().contains(QStringLiteral("Old Board")));
    EXPECT_EQ(shownSteps(), 2);
    ASSERT_NE(session->project().application(QStringLiteral("Erase Flash")), nullptr);

    ASSERT_EQ(session->save(), ProjectSession::Outcome::Done);
    const QString saved = QString::fromUtf8(folder.read(QStringLiteral("project/project.xml")));
    EXPECT_TRUE(saved.contains(QStringLiteral("InstrumentName=\"BCU-1\""))) << saved.toStdString();
}

TEST_F(InterchangeSessionTest, ALegacyImportEndsWithoutASequenceWhenTheFileOrTheTitleFails)
{
    const QString damaged = folder.write(QStringLiteral("damaged.sqc"), "not a sequence file");
    EXPECT_FALSE(session->sequencer()->importLegacySequence(nullptr, damaged));
    EXPECT_EQ(captions(), QStringList({QStringLiteral("Loading Sequence...")}));
    EXPECT_TRUE(prompt.titleRequests.isEmpty());

    const QString file = folder.write(QStringLiteral("old.sqc"),
                                      LegacyFileBuilder().windowName("Old Board").bytes());
    prompt.titleAnswers = {{false, QString(), QString(), QString()}};
    EXPECT_FALSE(session->sequencer()->importLegacySequence(nullptr, file));
    EXPECT_FALSE(session->sequenceTitles().contains(QStringLiteral("Old Board")));

    // A title the project already has takes over that sequence once the
    // person agrees.
    for (const int answer : {1, 0}) {
        prompt.titleAnswers = {{true, QStringLiteral("Target"), QString(), QString()}};
        prompt.answers = {answer};
        EXPECT_EQ(session->sequencer()->importLegacySequence(nullptr, file), answer == 0);
        EXPECT_EQ(captions().last(), QStringLiteral("Sequence already exists"));
        EXPECT_EQ(session->sequenceTitles().count(QStringLiteral("Target")), 1);
    }
}
