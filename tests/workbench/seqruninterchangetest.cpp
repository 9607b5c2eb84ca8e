#include "benchproject.h"
#include "legacyfilebuilder.h"
#include "seqrunprocess.h"
#include "temporaryfolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class SeqrunInterchangeTest : public ::testing::Test
{
protected:
    void SetUp() override { folder.write(QStringLiteral("project/project.xml"), ProjectXml); }
    QString project() const { return folder.filePath(QStringLiteral("project")); }

    TemporaryFolder folder;
};

} // namespace

TEST_F(SeqrunInterchangeTest, ExportOverwritesOnlyWhenForced)
{
    const QString file = folder.filePath(QStringLiteral("board.seql"));
    const SeqrunResult first = seqrun({QStringLiteral("export"), project(), QStringLiteral("Board"),
                                       folder.filePath(QStringLiteral("board"))});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Exported 'Board' to ") + file));
    const QByteArray written = folder.read(QStringLiteral("board.seql"));
    EXPECT_TRUE(written.startsWith("[SEQUENCE]\nITEM1=Chain\nITEM2=IF\nITEM3=ENDIF\n"));

    folder.write(QStringLiteral("board.seql"), "keep me");
    const SeqrunResult refused =
        seqrun({QStringLiteral("export"), project(), QStringLiteral("Board"), file});
    EXPECT_EQ(refused.exitCode, 73);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force")));
    EXPECT_EQ(folder.read(QStringLiteral("board.seql")), QByteArray("keep me"));

    const SeqrunResult forced = seqrun({QStringLiteral("export"), project(), QStringLiteral("Board"),
                                        file, QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("board.seql")), written);

    const SeqrunResult missing = seqrun({QStringLiteral("export"), project(),
                                         QStringLiteral("Nowhere"), file, QStringLiteral("--force")});
    EXPECT_EQ(missing.exitCode, 66);
    EXPECT_EQ(seqrun({QStringLiteral("export"), project(), QStringLiteral("Board")}).exitCode, 64);
}

TEST_F(SeqrunInterchangeTest, ImportCreatesTheSequenceAndNamesWhatItDropped)
{
    folder.write(QStringLiteral("list.seql"),
                 "[SEQUENCE]\nITEM1=Chain\nITEM2=PAUSE\nITEM4=Widget\nITEM5=ENDIF\n"
                 "[ITEM1]\nItemType=application\nColumnOperation=Execute Test\n"
                 "[ITEM1.EXECPARAMS]\nInstrumentName=BCU-1\nUseDefaultsPod=maybe\n"
                 "[ITEM2]\nItemType=operation\nTimeOut=12345678\n"
                 "[ITEM4]\nItemType=gadget\n"   // no kind of step at all
                 "[ITEM5]\nItemType=operation\n");
    const SeqrunResult imported =
        seqrun({QStringLiteral("import"), project(), QStringLiteral("Fresh"),
                folder.filePath(QStringLiteral("list.seql"))});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains(QStringLiteral("Created sequence 'Fresh'")));
    EXPECT_TRUE(imported.out.contains(QStringLiteral("Imported 1 of 4 items into 'Fresh'")))
        << imported.out.toStdString();
    EXPECT_TRUE(imported.out.contains(QStringLiteral("3 items were dropped")));
    // The rules file beside seqrun knows the pod option; the plain text
    // names the item and the problem.
    EXPECT_TRUE(imported.err.contains(QStringLiteral(
        "ORV Sequencer 'Fresh' - 'ITEM1': 'UseDefaultsPod' value of 'maybe' is invalid"
        "(item removed from sequence)")))
        << imported.err.toStdString();
    EXPECT_FALSE(imported.err.contains(QStringLiteral("<font")));

    const SeqrunResult listed = seqrun({QStringLiteral("list"), project()});
    EXPECT_EQ(listed.out, QStringLiteral("Board\nTarget\nFresh\n"));

    const SeqrunResult missing = seqrun({QStringLiteral("import"), project(), QStringLiteral("Fresh"),
                                         folder.filePath(QStringLiteral("absent.seql"))});
    EXPECT_EQ(missing.exitCode, 66);

    // A file that is no sequence list changes nothing and says why.
    const QByteArray before = folder.read(QStringLiteral("project/project.xml"));
    const SeqrunResult notList = seqrun({QStringLiteral("import"), project(), QStringLiteral("Fresh"),
                                         project() + QStringLiteral("/project.xml")});
    EXPECT_EQ(notList.exitCode, 65);
    EXPECT_TRUE(notList.err.contains(QStringLiteral("is not a sequence list"))) << notList.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("project/project.xml")), before);
}

TEST_F(SeqrunInterchangeTest, ImportSqcMakesASequenceAndTheApplicationsItRuns)
{
    LegacyFileBuilder builder;
    LegacyFileBuilder::Record jam(LegacyFileBuilder::Jam);
    jam.names("/jam", "", "Erase Flash").extensionText(256, "1,");
    LegacyFileBuilder::Record endif(LegacyFileBuilder::Control);
    endif.operation(8);
    LegacyFileBuilder::Record select(LegacyFileBuilder::Control);
    select.operation(14);
    builder.windowName("Old Board").add(jam).add(endif).add(select);
    const QString file = folder.write(QStringLiteral("old.sqc"), builder.bytes());

    const SeqrunResult converted = seqrun({QStringLiteral("import-sqc"), project(), file,
                                           QStringLiteral("--instrument"), QStringLiteral("BCU-1")});
    EXPECT_EQ(converted.exitCode, 0) << converted.err.toStdString();
    EXPECT_TRUE(converted.out.contains(QStringLiteral("Created sequence 'Old Board' with 2 steps")))
        << converted.out.toStdString();
    EXPECT_TRUE(converted.out.contains(QStringLiteral("1 item was dropped")));
    EXPECT_TRUE(converted.err.contains(QStringLiteral("Incompatible 'Select Instrument' item")));
    EXPECT_TRUE(converted.err.contains(QStringLiteral("Application 'Erase Flash' was created without a program")))
        << converted.err.toStdString();
    const QString saved = QString::fromUtf8(folder.read(QStringLiteral("project/project.xml")));
    EXPECT_TRUE(saved.contains(QStringLiteral("name=\"Erase Flash\"")));

    const SeqrunResult titled = seqrun({QStringLiteral("import-sqc"), project(), file,
                                        QStringLiteral("--title"), QStringLiteral("Second Board")});
    EXPECT_EQ(titled.exitCode, 0) << titled.err.toStdString();
    EXPECT_EQ(seqrun({QStringLiteral("list"), project()}).out,
              QStringLiteral("Board\nTarget\nOld Board\nSecond Board\n"));

    // An existing sequence is replaced only when asked for.
    const QByteArray before = folder.read(QStringLiteral("project/project.xml"));
    const SeqrunResult taken = seqrun({QStringLiteral("import-sqc"), project(), file,
                                       QStringLiteral("--title"), QStringLiteral("Board")});
    EXPECT_EQ(taken.exitCode, 73);
    EXPECT_TRUE(taken.err.contains(QStringLiteral("--force"))) << taken.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("project/project.xml")), before);
    const SeqrunResult replaced = seqrun({QStringLiteral("import-sqc"), project(), file, QStringLiteral("--title"),
                                          QStringLiteral("Board"), QStringLiteral("--force")});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.contains(QStringLiteral("Replaced sequence 'Board' with 2 steps")))
        << replaced.out.toStdString();

    struct Case
    {
        const char *name;
        QStringList arguments;
        int exitCode;
    };
    const QString damaged = folder.write(QStringLiteral("damaged.sqc"), "not a sequence file");
    const Case cases[] = {
        {"unknown instrument", {QStringLiteral("import-sqc"), project(), file,
                                QStringLiteral("--instrument"), QStringLiteral("BCU-9")}, 64},
        {"damaged file", {QStringLiteral("import-sqc"), project(), damaged}, 65},
        {"missing file", {QStringLiteral("import-sqc"), project(),
                          folder.filePath(QStringLiteral("absent.sqc"))}, 66},
        {"missing project", {QStringLiteral("import-sqc"), folder.filePath(QStringLiteral("none")),
                             file}, 66},
        {"no file", {QStringLiteral("import-sqc"), project()}, 64},
    };
    for (const Case &test : cases)
        EXPECT_EQ(seqrun(test.arguments).exitCode, test.exitCode) << test.name;
}

TEST_F(SeqrunInterchangeTest, TitlesThatCannotNameAFolderAreRefusedAndStoredOnesStayInside)
{
    const QString list = folder.write(QStringLiteral("list.seql"),
                                      "[SEQUENCE]\nITEM1=ENDIF\n[ITEM1]\nItemType=operation\n");
    LegacyFileBuilder builder;
    LegacyFileBuilder::Record endif(LegacyFileBuilder::Control);
    endif.operation(8);
    const QString sqc = folder.write(QStringLiteral("old.sqc"), builder.windowName("..").add(endif).bytes());
    const QStringList refused[] = {
        {QStringLiteral("import"), project(), QStringLiteral("../../x"), list},
        {QStringLiteral("import"), project(), QStringLiteral(".."), list},
        {QStringLiteral("import-sqc"), project(), sqc, QStringLiteral("--title"), QStringLiteral("a/b")},
        {QStringLiteral("import-sqc"), project(), sqc},
    };
    for (const QStringList &arguments : refused) {
        const SeqrunResult run = seqrun(arguments);
        EXPECT_EQ(run.exitCode, 64) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String("A sequence title can't"))) << run.err.toStdString();
    }
    EXPECT_EQ(seqrun({QStringLiteral("list"), project()}).out, QStringLiteral("Board\nTarget\n"));

    // A stored title that breaks the rule still opens; its files stay below "Sequences".
    QByteArray stored = ProjectXml;
    stored.replace("</plugin>", "<sequence Title='../../escape'/></plugin>");
    folder.write(QStringLiteral("project/project.xml"), stored);
    const SeqrunResult imported = seqrun({QStringLiteral("import"), project(), QStringLiteral("../../escape"), list});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(project() + QStringLiteral("/Sequences/_.._escape/_.._escape.sqc")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({QStringLiteral("list.seql"), QStringLiteral("old.sqc"), QStringLiteral("project")}));
}
