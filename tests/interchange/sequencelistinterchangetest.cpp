#include "sequencelistexport.h"
#include "sequencelistimport.h"

#include "hxsequence.h"
#include "sampleprojecthost.h"
#include "sequencebuilder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Control = ControlOperations::ControlOperation;

// Every kind of step a sequence can hold, each field set to something the
// import reads back as it was.
HxSequenceItemList everyStepKind()
{
    SequenceBuilder builder(QStringLiteral("Board Test"));
    HxSequenceItem &chain = builder.application(QStringLiteral("Chain"), QString());
    chain.columnShow = QStringLiteral("Diagnostics");
    chain.failAction = QStringLiteral("Prev");
    chain.rejectAction = QStringLiteral("Redo");
    chain.systemErrorAction = QStringLiteral("Stop");
    chain.addToReport = true;
    chain.saveResultsOnFail = true;
    chain.saveResultsOnPass = true;
    chain.parameters.insert(QStringLiteral("UseDefaultsPod"), QStringLiteral("no"));
    chain.parameters.insert(QStringLiteral("Flags"), QString::number(0x10000000 | 0x400 | 0x10000));
    chain.parameters.insert(QStringLiteral("TapInfo2.Flags"), QStringLiteral("1024"));
    chain.parameters.insert(QStringLiteral("TapInfo17.Flags"), QString::number(0x1 | 0x8000));
    chain.parameters.insert(QStringLiteral("Show"), QStringLiteral("Diagnostics"));

    HxSequenceItem &pause = builder.operation(Control::Pause);
    pause.columnItem = QStringLiteral("5000,beep.wav");
    pause.timeOut = 5000;
    pause.pauseMessageText = QStringLiteral("Insert board\nthen press Yes?");
    pause.pauseMessageDefaultAnswer = 1;
    pause.pauseMessageAnswerNoIsPass = true;

    builder.label(QStringLiteral("start"));
    builder.ifStep(QStringLiteral("item = pass"));
    builder.elifStep(QStringLiteral("exit >= 3"));
    builder.elseStep();
    builder.endIfStep();
    builder.gotoStep(QStringLiteral("start"));
    builder.operation(Control::Print).columnItem.clear();
    builder.operation(Control::Export).columnItem.clear();
    builder.operation(Control::Reset, QStringLiteral("Preferred")).columnItem = QStringLiteral("Reset");
    builder.operation(Control::IoPins, QStringLiteral("BCU-1")).columnItem.clear();

    // a line break must not start a line (or a section) of its own
    HxSequenceItem &command = builder.command(
        QStringLiteral("Label board"), QStringLiteral("label.sh --serial %sn\n[SEQUENCE]\nITEM99=Print"), 0, 2);
    command.command.setDir(QStringLiteral("C:\\new\\labels\\"));
    command.command.setInternal(true);
    command.command.setLaunchInDesignDir(true);
    builder.command(QStringLiteral("Beep"), QStringLiteral("beep"), 4, 1, QStringLiteral("Force Pass"))
        .command.setConsoleApp(false);

    const std::unique_ptr<HxSequence> sequence(builder.take());
    for (const HxSequenceItemPtr &item : sequence->items())
        item->parameters.insert(QStringLiteral("Flags"), item->parameters.value(QStringLiteral("Flags"), QStringLiteral("268435456")));
    return sequence->items();
}

class SequenceListInterchangeTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return environment.folder.filePath(name); }
    QByteArray read(const QString &name) const { return environment.folder.read(name); }

    SequenceListExport::Result exportTo(const HxSequence &sequence, const QString &name)
    {
        return SequenceListExport(environment.link(), nullptr).write(sequence, path(name));
    }
    SequenceListImport::Result importFrom(const QString &title, const QString &name)
    {
        return SequenceListImport(environment.link(), nullptr).read(title, path(name));
    }

    SampleProjectHost environment;
};

} // namespace

TEST_F(SequenceListInterchangeTest, ExportImportExportGivesTheSameFileByteForByte)
{
    const HxSequence original(QStringLiteral("Board Test"), QString(), everyStepKind());
    ASSERT_EQ(exportTo(original, QStringLiteral("first.seql")), SequenceListExport::Result::Written);
    // the log tells the start and the end, the person where the file went
    const QString logged = environment.output().join(u'\n');
    for (const char *step : {"started...", "finished"})
        EXPECT_TRUE(logged.contains(QStringLiteral("ORV Sequencer 'Board Test' - Export Sequence List: \"%1\" %2</font>")
                                        .arg(QDir::toNativeSeparators(path(QStringLiteral("first.seql"))), QLatin1String(step))));
    ASSERT_EQ(environment.prompt.asked.size(), 1);
    EXPECT_EQ(environment.prompt.asked.first().text,
              QStringLiteral("Sequence List exported correctly:\n") + path(QStringLiteral("first.seql")));

    const SequenceListImport::Result imported =
        importFrom(QStringLiteral("Copy"), QStringLiteral("first.seql"));
    ASSERT_EQ(imported.outcome, SequenceListImport::Result::Outcome::Read);
    EXPECT_EQ(imported.listed, original.items().size());
    ASSERT_EQ(imported.items.size(), original.items().size()) << environment.output().join(
        QLatin1Char('\n')).toStdString();

    const HxSequence copy(QStringLiteral("Copy"), QString(), imported.items);
    ASSERT_EQ(exportTo(copy, QStringLiteral("second.seql")), SequenceListExport::Result::Written);
    EXPECT_EQ(read(QStringLiteral("second.seql")), read(QStringLiteral("first.seql")));

    // What the file holds arrives in the fields the runner reads.
    EXPECT_EQ(imported.items.at(12)->command, original.items().at(12)->command);
    EXPECT_EQ(imported.items.at(0)->parameters.value(QStringLiteral("TapInfo17.Flags")),
              QString::number(0x1 | 0x8000));
    EXPECT_EQ(imported.items.at(11)->type, 13);
}

TEST_F(SequenceListInterchangeTest, AnExportThatCannotWriteFailsAndLeavesNoFile)
{
    const HxSequence sequence(QStringLiteral("Board Test"), QString(), everyStepKind());
    EXPECT_EQ(exportTo(sequence, QStringLiteral("missing/folder/out.seql")),
              SequenceListExport::Result::Failed);
    EXPECT_TRUE(environment.output().last().contains(QStringLiteral("\" failed")));
    EXPECT_TRUE(environment.prompt.asked.isEmpty());
}

TEST_F(SequenceListInterchangeTest, TheChosenFileGetsItsExtensionAndAnOverwriteIsAsked)
{
    environment.folder.write(QStringLiteral("taken.seql"), "[SEQUENCE]\n");
    struct Case
    {
        const char *name;
        QString answer;
        QList<int> buttons;      // answers to the overwrite question
        QString expected;
        int questions;
    };
    const std::vector<Case> cases = {
        {"cancelled", QString(), {}, QString(), 0},
        {"capital extension kept", path(QStringLiteral("NEW.SEQL")), {},
         path(QStringLiteral("NEW.SEQL")), 0},
        {"other extension kept in front", path(QStringLiteral("new.txt")), {},
         path(QStringLiteral("new.txt.seql")), 0},
        {"overwrite agreed", path(QStringLiteral("taken")), {0}, path(QStringLiteral("taken.seql")), 1},
        {"overwrite declined", path(QStringLiteral("taken.seql")), {1}, QString(), 1},
    };
    for (const Case &test : cases) {
        environment.prompt.asked.clear();
        environment.prompt.fileNames = QStringList{test.answer};
        environment.prompt.answers = test.buttons;
        const QString chosen = SequenceListExport(environment.link(), nullptr)
                                   .chooseFile(QStringLiteral("Board Test"),
                                               environment.project.directory());
        EXPECT_EQ(chosen, test.expected) << test.name;
        // the file request, then any question
        ASSERT_EQ(environment.prompt.asked.size(), 1 + test.questions) << test.name;
        if (test.questions) {
            EXPECT_TRUE(environment.prompt.asked.at(1).text.contains(
                QDir::toNativeSeparators(path(QStringLiteral("taken.seql")))));
        }
    }
}

TEST_F(SequenceListInterchangeTest, AFileThatIsNoUsableSequenceListChangesNothing)
{
    QByteArray utf16;
    for (const char c : QByteArray("[SEQUENCE]\nITEM1=ENDIF\n"))
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    const struct
    {
        const char *name;
        QByteArray content;   // null: no file at all
    } cases[] = {
        {"absent", QByteArray()},
        {"empty", ""},
        {"text", "Dear operator,\nplease keep the fixture clean.\n"},
        {"utf-16", "\xff\xfe" + utf16},
        {"project file", "<?xml version=\"1.0\"?>\n<project name=\"Demo\" formatIndex=\"0\"/>\n"},
        {"every item refused", "[SEQUENCE]\nITEM1=Ghost\n[ITEM1]\nItemType=application\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        environment.prompt.asked.clear();
        if (!c.content.isNull())
            environment.folder.write(QStringLiteral("in.seql"), c.content);
        const SequenceListImport::Result result = importFrom(QStringLiteral("Board"), QStringLiteral("in.seql"));
        EXPECT_EQ(result.outcome, SequenceListImport::Result::Outcome::Unreadable);
        EXPECT_TRUE(result.items.isEmpty());
        ASSERT_EQ(environment.prompt.asked.size(), 1);
        EXPECT_EQ(environment.prompt.asked.first().caption, QStringLiteral("Import Sequence List"));
        EXPECT_TRUE(environment.output().last().contains(QStringLiteral("\" failed")));
    }
}

TEST_F(SequenceListInterchangeTest, WhatAProjectCannotStoreIsRemovedAndNamedAndOldBytesAreRead)
{
    environment.folder.write(QStringLiteral("odd.seql"),
                             "[SEQUENCE]\nITEM1=LABEL\n"
                             "[ITEM1]\nItemType=operation\nColumnProperty=a\x01" "b\xfc\x80\n"
                             "[ITEM1.EXECPARAMS]\nMy Key=1\nNote=x\x02y\n");
    const SequenceListImport::Result result = importFrom(QStringLiteral("Board"), QStringLiteral("odd.seql"));
    ASSERT_EQ(result.items.size(), 1) << environment.output().join(QLatin1Char('\n')).toStdString();
    const HxSequenceItem &label = *result.items.first();
    EXPECT_EQ(label.columnProperty, QStringLiteral("ab\u00fc\u20ac"));
    EXPECT_FALSE(label.parameters.contains(QStringLiteral("My Key")));
    EXPECT_EQ(label.parameters.value(QStringLiteral("Note")), QStringLiteral("xy"));
    const QString log = environment.output().join(QLatin1Char('\n'));
    for (const char *named : {"'ITEM1': 'ColumnProperty' value held characters", "'ITEM1': 'My Key' value",
                              "'ITEM1': 'Note' value", "(characters removed)", "read as Windows-1252"})
        EXPECT_TRUE(log.contains(QLatin1String(named))) << named;
}
