// The command catalogue: its file, its editor and its palette.

#include "commandeditordialog.h"
#include "commandslistview.h"
#include "modalanswer.h"
#include "sampleprojecthost.h"
#include "sequencecommandcatalogue.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

SequenceCommand command(const char *name, const char *line = "run.sh")
{
    SequenceCommand made;
    made.setName(QString::fromUtf8(name));
    made.setCommand(QString::fromUtf8(line));
    return made;
}

QStringList names(const SequenceCommandCatalogue &catalogue)
{
    QStringList result;
    for (const SequenceCommand &entry : catalogue.commands())
        result.append(entry.name());
    return result;
}

class CommandCatalogueTest : public ::testing::Test
{
protected:
    QString catalogueFile() { return SequenceCommandCatalogue::filePath(sample.link()); }
    void writeCatalogue(const QByteArray &xml)
    {
        sample.folder.write(QStringLiteral("startup/plugins/ORVSequencerCommands.xml"), xml);
    }
    SequenceCommandCatalogue stored()
    {
        SequenceCommandCatalogue read;
        read.load(catalogueFile());
        return read;
    }

    SampleProjectHost sample;
};

} // namespace

TEST_F(CommandCatalogueTest, TheFileIsReadLeniently)
{
    const struct
    {
        const char *xml;   // null: no file at all
        QStringList names;
        int firstFailCode;
    } cases[] = {
        {nullptr, {}, -1},
        {"<SequenceCommands><SequenceCommand", {}, -1},
        // other elements are skipped; a missing fail code reads as 0, not 1
        {"<!DOCTYPE ORVSequencerCommands><SequenceCommands>"
         "<SequenceCommand name='Zip' command='zip.sh' consoleApp='1' passExitCode='0'/>"
         "<Other name='x'/><SequenceCommand name='Backup' failExitCode='7'/></SequenceCommands>",
         {"Zip", "Backup"}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.xml ? c.xml : "no file");
        QFile::remove(catalogueFile());
        if (c.xml)
            writeCatalogue(c.xml);
        const SequenceCommandCatalogue read = stored();
        EXPECT_EQ(names(read), c.names);
        if (c.firstFailCode >= 0)
            EXPECT_EQ(read.commands().first().failExitCode(), c.firstFailCode);
    }
    // the palette shows the same commands, sorted by name
    CommandsListView palette;
    palette.setHostLink(sample.link());
    ASSERT_EQ(palette.topLevelItemCount(), 2);
    EXPECT_EQ(palette.topLevelItem(0)->text(0), QStringLiteral("Backup"));
}

TEST_F(CommandCatalogueTest, SavingWritesEveryFieldInAFixedOrder)
{
    SequenceCommand backup = command("Backup", "backup.bat");
    backup.setLaunchInDesignDir(true);
    backup.setConsoleApp(true);
    backup.setShowImmediateOutput(true);
    SequenceCommandCatalogue catalogue;
    catalogue.add(backup);
    catalogue.add(command("Tab\tand <angle> & \"quote\""));
    ASSERT_TRUE(catalogue.save(catalogueFile()));

    QFile file(catalogueFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("<!DOCTYPE ORVSequencerCommands>\n<SequenceCommands>\n <SequenceCommand name=\"Backup\" "
                                "command=\"backup.bat\" dir=\"\" launchInDesignDir=\"1\" addToLaunchMenu=\"0\" "
                                "consoleApp=\"1\" internal=\"0\" allowUserInteraction=\"0\" showImmediateOutput=\"1\" "
                                "editBeforeLaunch=\"0\" passExitCode=\"0\" failExitCode=\"1\"/>"))
        << text.toStdString();
    EXPECT_EQ(stored().commands(), catalogue.commands());

    // what XML cannot carry is left out rather than making the file unreadable
    catalogue.add(command("Bell\x07", "beep\x01.sh"));
    ASSERT_TRUE(catalogue.save(catalogueFile()));
    EXPECT_EQ(names(stored()), QStringList({"Backup", "Tab\tand <angle> & \"quote\"", "Bell"}));
    EXPECT_EQ(stored().find(QStringLiteral("Bell"))->command(), QStringLiteral("beep.sh"));
}

TEST_F(CommandCatalogueTest, TheEditorAddsEditsAndRefusesATakenName)
{
    writeCatalogue("<SequenceCommands><SequenceCommand name='Backup'/><SequenceCommand name='Zip'/></SequenceCommands>");
    CommandsListView palette;
    palette.setHostLink(sample.link());

    const auto addThroughEditor = [&](const QString &name) {
        whenShown([name](QWidget *dialog) {
            auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("nameLineEdit"));
            auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("okButton"));
            EXPECT_FALSE(ok->isEnabled());   // no name yet
            QTest::keyClicks(nameEdit, name);
            ok->click();
            if (dialog->isVisible())   // refused: the person gives up
                dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        });
        palette.addCommand();
    };
    // names compare case-sensitively
    addThroughEditor(QStringLiteral("Backup"));
    EXPECT_EQ(sample.prompt.texts(), QStringList({"Backup already exists, please choose a different name"}));
    addThroughEditor(QStringLiteral("backup"));
    EXPECT_EQ(names(stored()), QStringList({"Backup", "Zip", "backup"}));
    EXPECT_EQ(palette.topLevelItemCount(), 3);

    // an edited entry keeps its locked name and moves to the end
    whenShown([](QWidget *dialog) {
        auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("nameLineEdit"));
        EXPECT_FALSE(nameEdit->isEnabled());
        dialog->findChild<QLineEdit *>(QStringLiteral("commandLineEdit"))->setText(QStringLiteral("backup.sh"));
        dialog->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    });
    palette.slotDoubleClicked(palette.findItems(QStringLiteral("Backup"), Qt::MatchExactly).first());
    EXPECT_EQ(names(stored()), QStringList({"Zip", "backup", "Backup"}));
    EXPECT_EQ(stored().find(QStringLiteral("Backup"))->command(), QStringLiteral("backup.sh"));

    // Delete removes the row and rewrites the file without asking
    palette.setCurrentItem(palette.findItems(QStringLiteral("Zip"), Qt::MatchExactly).first());
    QTest::keyClick(&palette, Qt::Key_Delete);
    EXPECT_EQ(names(stored()), QStringList({"backup", "Backup"}));
    EXPECT_EQ(palette.topLevelItemCount(), 2);
}

TEST_F(CommandCatalogueTest, TheProjectDirectoryToggleAndWhatADragCarries)
{
    CommandEditorDialog editor(sample.link(), nullptr);
    editor.setMode(CommandEditorDialog::EditStepCommand);
    SequenceCommand listed = command("Flash tool", "flash.sh");
    listed.setAddToLaunchMenu(true);
    listed.setEditBeforeLaunch(true);
    listed.setInternal(true);
    listed.setFailExitCode(7);
    editor.load(listed);
    auto *directory = editor.findChild<QLineEdit *>(QStringLiteral("dirLineEdit"));
    auto *inProject = editor.findChild<QCheckBox *>(QStringLiteral("launchDesignDirCheckBox"));
    inProject->setChecked(true);
    EXPECT_EQ(directory->text(), QDir::toNativeSeparators(sample.project.directory()));
    inProject->setChecked(false);
    EXPECT_TRUE(directory->text().isEmpty());
    editor.findChild<QGroupBox *>(QStringLiteral("consoleButtonGroup"))->setChecked(true);

    // what the editor and a palette drag give back: only the fields they carry
    const SequenceCommand edited = editor.command();
    std::unique_ptr<QMimeData> drag(CommandsListView::dragData(listed));
    SequenceCommand dropped;
    ASSERT_TRUE(CommandsListView::readDragData(drag.get(), dropped));
    const struct
    {
        const char *what;
        SequenceCommand got;
        bool console, immediate;
    } cases[] = {{"editor", edited, true, true}, {"drag", dropped, false, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got.name(), QStringLiteral("Flash tool"));
        EXPECT_EQ(c.got.command(), QStringLiteral("flash.sh"));
        EXPECT_TRUE(c.got.internal());
        EXPECT_EQ(c.got.failExitCode(), 7);
        EXPECT_EQ(c.got.consoleApp(), c.console);
        EXPECT_EQ(c.got.showImmediateOutput(), c.immediate);
        EXPECT_FALSE(c.got.addToLaunchMenu());
        EXPECT_FALSE(c.got.editBeforeLaunch());
    }
}
