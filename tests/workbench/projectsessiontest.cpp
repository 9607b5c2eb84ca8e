#include "democopy.h"
#include "projectsession.h"
#include "seqrunprocess.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"
#include "hxisettingspage.h"

#include <QCheckBox>
#include <QFile>

#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString PluginFile = QStringLiteral(ORV_PLUGIN_FILE);

QByteArray projectWithSequences(int formatIndex, const QByteArray &pluginContent)
{
    return "<project name='Demo' formatIndex='" + QByteArray::number(formatIndex)
           + "'><applications/><instruments/>" + pluginContent + "</project>";
}

} // namespace

TEST(ProjectSessionTest, SequencesComeBackInDocumentOrderAfterASave)
{
    TemporaryFolder folder;
    folder.write(QStringLiteral("project.xml"),
                 projectWithSequences(
                     0, "<plugin name='ORVSequencer'>"
                        "<sequence Title='Zeta'><sequenceelement ItemType='3' Column.Number='1'>"
                        "<instrumentparams/></sequenceelement></sequence>"
                        "<sequence Title='Alpha'/><sequence Title='Sequence 10'/>"
                        "</plugin>"));
    WorkbenchHost host;
    {
        ProjectSession session(host, PluginFile);
        ASSERT_EQ(session.open(folder.path()), ProjectSession::Outcome::Done)
            << session.errorString().toStdString();
        EXPECT_EQ(session.sequenceTitles(),
                  QStringList({QStringLiteral("Zeta"), QStringLiteral("Alpha"),
                               QStringLiteral("Sequence 10")}));
        ASSERT_EQ(session.save(), ProjectSession::Outcome::Done);
    }
    EXPECT_EQ(host.outstandingReferences(), 0);

    // every sequence got its legacy copy beside the project
    for (const char *title : {"Zeta", "Alpha", "Sequence 10"}) {
        const QString base = QStringLiteral("Sequences/%1/%1").arg(QLatin1String(title));
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(base + QStringLiteral(".sqc")))) << title;
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(base + QStringLiteral(".sqm")))) << title;
    }
    // the plug-in wrote the steps back, numbered
    const QString saved = QString::fromUtf8(folder.read(QStringLiteral("project.xml")));
    EXPECT_TRUE(saved.contains(QLatin1String("ItemNumber=\"1\""))) << saved.toStdString();

    WorkbenchHost again;
    ProjectSession reopened(again, PluginFile);
    ASSERT_EQ(reopened.open(folder.path()), ProjectSession::Outcome::Done);
    EXPECT_EQ(reopened.sequenceTitles().size(), 3);
    EXPECT_EQ(reopened.sequenceTitles().first(), QStringLiteral("Zeta"));
}

TEST(ProjectSessionTest, TheDemoProjectIsWrittenBackByteForByte)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    QFile original(QStringLiteral(ORV_DEMO_DIR) + QStringLiteral("/project.xml"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    WorkbenchHost host;
    ProjectSession session(host, PluginFile);
    ASSERT_EQ(session.open(project), ProjectSession::Outcome::Done);
    ASSERT_EQ(session.save(), ProjectSession::Outcome::Done) << session.errorString().toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("demo/project.xml")), original.readAll());
}

TEST(ProjectSessionTest, AFailedOpenKeepsTheOpenProjectAndTheFile)
{
    TemporaryFolder good;
    good.write(QStringLiteral("project.xml"),
               projectWithSequences(1, "<plugin name='ORVSequencer' version='1.1'><as sa='S'/></plugin>"));
    TemporaryFolder bad;
    bad.write(QStringLiteral("project.xml"), "<project name='x'><applications>");
    TemporaryFolder empty;

    WorkbenchHost host;
    ProjectSession session(host, PluginFile);
    ASSERT_EQ(session.open(good.path()), ProjectSession::Outcome::Done);
    EXPECT_EQ(session.sequenceTitles(), QStringList{QStringLiteral("S")});

    EXPECT_EQ(session.open(bad.path()), ProjectSession::Outcome::DamagedProject);
    EXPECT_EQ(session.open(empty.path()), ProjectSession::Outcome::MissingProject);
    EXPECT_EQ(session.sequenceTitles(), QStringList{QStringLiteral("S")});
    EXPECT_EQ(session.project().directory(), good.path());
}

TEST(ProjectSessionTest, OneWriterAtATimeReadersNeverWait)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    WorkbenchHost host;
    ProjectSession writer(host, PluginFile);
    ASSERT_EQ(writer.open(project), ProjectSession::Outcome::Done);
    const QString pid = QString::number(QCoreApplication::applicationPid());

    const struct
    {
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {{QStringLiteral("run"), project, QStringLiteral("Board Test")}, 75},
        {{QStringLiteral("list"), project}, 0},
        {{QStringLiteral("export"), project, QStringLiteral("Board Test"), folder.filePath(QStringLiteral("b"))}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.first().toStdString());
        const SeqrunResult run = seqrun(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (c.exitCode == 75) {
            for (const QString &holder : {QCoreApplication::applicationName(), pid, QSysInfo::machineHostName()})
                EXPECT_TRUE(run.err.contains(holder)) << run.err.toStdString();
        }
    }

    // The lock of a process that is gone is taken over.
    writer.close();
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForStarted());
    const QByteArray deadPid = QByteArray::number(gone.processId());
    gone.waitForFinished();
    QByteArray content;
    {
        QLockFile own(project + QStringLiteral("/project.xml.lock"));
        ASSERT_TRUE(own.tryLock());
        QFile file(project + QStringLiteral("/project.xml.lock"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        content = file.readAll();
    }
    content.replace(0, content.indexOf('\n'), deadPid);
    folder.write(QStringLiteral("demo/project.xml.lock"), content);
    const SeqrunResult run = seqrun({QStringLiteral("run"), project, QStringLiteral("Board Test")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(project + QStringLiteral("/project.xml.lock")));
}

TEST(SeqrunTest, InitAndListWithTheirExitCodes)
{
    TemporaryFolder folder;
    const QString project = folder.filePath(QStringLiteral("station/line 1"));

    const SeqrunResult created = seqrun({QStringLiteral("init"), project, QStringLiteral("--name"),
                                QStringLiteral("Line One")});
    EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains(QLatin1String("Line One")));

    const SeqrunResult listed = seqrun({QStringLiteral("list"), project});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QString());

    const SeqrunResult again = seqrun({QStringLiteral("init"), project});
    EXPECT_EQ(again.exitCode, 73);
    EXPECT_TRUE(again.err.contains(QLatin1String("already holds a project")));

    folder.write(QStringLiteral("broken/project.xml"), "<project");
    const struct
    {
        QStringList arguments;
        int exitCode;
        const char *says;
    } cases[] = {
        {{}, 64, "no command"},
        {{QStringLiteral("fly")}, 64, "unknown command"},
        {{QStringLiteral("list")}, 64, "one project folder"},
        {{QStringLiteral("init"), project, QStringLiteral("--colour"), QStringLiteral("red")}, 64,
         "unknown option --colour"},
        {{QStringLiteral("list"), folder.filePath(QStringLiteral("nowhere"))}, 66, "no project"},
        {{QStringLiteral("list"), folder.filePath(QStringLiteral("broken"))}, 65, "damaged"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const SeqrunResult run = seqrun(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << run.err.toStdString();
    }
}

TEST(ProjectSessionTest, TheSequencersSettingsLiveInTheHostsSettingsFile)
{
    TemporaryFolder folder;
    const QByteArray previous = qgetenv("ORV_SETTINGS_FILE");
    const QString settingsFile = folder.filePath(QStringLiteral("config/settings.xml"));
    qputenv("ORV_SETTINGS_FILE", settingsFile.toLocal8Bit());
    folder.write(QStringLiteral("project/project.xml"), projectWithSequences(0, ""));
    const QString project = folder.filePath(QStringLiteral("project"));
    auto perUnitBox = [](ProjectSession &session) {
        VemoInterface::HxiSettingsPage *page = session.settingsPage();
        return page ? page->widget()->findChild<QCheckBox *>(QStringLiteral("perUnitCheckBox")) : nullptr;
    };
    WorkbenchHost host;
    {
        // no file yet: the defaults, and nothing to complain about
        ProjectSession session(host, PluginFile);
        ASSERT_EQ(session.open(project), ProjectSession::Outcome::Done);
        EXPECT_TRUE(session.settingsWarning().isEmpty());
        // Every request for the page shows the stored values again, so the
        // page is asked for once, as a settings dialog does.
        VemoInterface::HxiSettingsPage *page = session.settingsPage();
        ASSERT_TRUE(page);
        QCheckBox *perUnit = page->widget()->findChild<QCheckBox *>(QStringLiteral("perUnitCheckBox"));
        EXPECT_FALSE(perUnit->isChecked());
        perUnit->setChecked(true);
        page->apply();
        ASSERT_EQ(session.saveSettings(), ProjectSession::Outcome::Done) << session.errorString().toStdString();
    }
    {
        ProjectSession session(host, PluginFile);
        ASSERT_EQ(session.open(project), ProjectSession::Outcome::Done);
        EXPECT_TRUE(perUnitBox(session)->isChecked());
        // saving again replaces the sequencer's element rather than adding one
        ASSERT_EQ(session.saveSettings(), ProjectSession::Outcome::Done);
        QFile file(settingsFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().count("ORVSequencerSettings"), 1);
    }
    // A damaged file is said and the defaults are used; the project opens.
    folder.write(QStringLiteral("config/settings.xml"), "<settings><plugin name='ORVSequencer'");
    {
        ProjectSession session(host, PluginFile);
        ASSERT_EQ(session.open(project), ProjectSession::Outcome::Done);
        EXPECT_TRUE(session.settingsWarning().contains(QLatin1String("damaged"))) << session.settingsWarning().toStdString();
        EXPECT_FALSE(perUnitBox(session)->isChecked());
    }
    qputenv("ORV_SETTINGS_FILE", previous);
}
