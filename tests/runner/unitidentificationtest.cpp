// Units under test one after another: serial numbers and folders that count
// up, the operator's answers, gang mode with one unit per POD TAP, and the
// unit rows the report keeps of them.

#include "runnerfixture.h"
#include "sequencersettings.h"
#include "taptext.h"
#include "unitidentificationdialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// "serial|path|taps" of every unit in the report, in report order; the
// TAP part is empty when the report names no TAPs for the unit.
QStringList unitRows(const QString &report)
{
    static const QRegularExpression row(QStringLiteral(
        "(?:<tr><td>!</td><td colspan='6'>Unit Using TAPs : ([^<]*)</td><td>[^<]*</td></tr>\r\n)?"
        "<tr><td>!</td><td colspan='6'>Unit Serial Number : ([^<]*)</td><td>[^<]*</td></tr>\r\n"
        "<tr><td>!</td><td colspan='6'>Unit Result Path : ([^<]*)</td>"));
    QStringList result;
    for (auto it = row.globalMatch(report); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result.append(QStringLiteral("%1|%2|%3")
                          .arg(match.captured(2), QFileInfo(match.captured(3)).fileName(),
                               match.captured(1)));
    }
    return result;
}

class UnitIdentificationTest : public RunnerTest
{
protected:
    // A sequence of `units` cycles whose one command writes down the serial
    // number and folder it was run for.
    SequenceBuilder unitSequence(int units)
    {
        SequenceBuilder builder(QStringLiteral("Units"));
        builder.command(QStringLiteral("log unit"),
                        QStringLiteral("echo '%sn in %b' >> '%1'").arg(folder.filePath(QStringLiteral("units.log"))));
        builder.repeat(units);
        HxSequence &sequence = builder.settings();
        sequence.setUnitIdentification(true);
        sequence.setUnitSerialNumber(QStringLiteral("SN-199"));
        sequence.setUnitFolder(QStringLiteral("Batch 07"));
        sequence.setUnitSerialNumberAutoIncrement(true);
        return builder;
    }

    QStringList loggedUnits() const
    {
        return readText(folder.filePath(QStringLiteral("units.log"))).split(u'\n', Qt::SkipEmptyParts);
    }

    QStringList captions() const
    {
        QStringList result;
        for (const ScriptedPrompt::UnitRequest &request : prompt.unitRequests)
            result.append(request.caption);
        return result;
    }
};

} // namespace

TEST(TapText, TapSetsAsDigitsAndAsOperatorText)
{
    EXPECT_EQ(TapText::maskOf(QStringLiteral("13")), 0b0101);
    EXPECT_EQ(TapText::maskOf(QStringLiteral("4")), 0b1000);
    // any other character names no TAP at all
    EXPECT_EQ(TapText::maskOf(QStringLiteral("15")), 0);
    EXPECT_EQ(TapText::maskOf(QStringLiteral("1 3")), 0);
    EXPECT_EQ(TapText::maskOf(QString()), 0);

    EXPECT_EQ(TapText::text(0b0101), QStringLiteral("1+3"));
    EXPECT_EQ(TapText::text(0b1111), QStringLiteral("1+2+3+4"));
    EXPECT_EQ(TapText::text(-1), QString());

    EXPECT_EQ(TapText::tapsInBoth(QStringLiteral("1234"), QStringLiteral("31")), (QList<int>{1, 3}));
    EXPECT_EQ(TapText::tapsInBoth(QStringLiteral("2"), QStringLiteral("13")), QList<int>());
    EXPECT_EQ(TapText::tapsInBoth(QStringLiteral("12"), QStringLiteral("0")), QList<int>());

    // connectors named after their TAP keep it; others count by position
    EXPECT_EQ(TapText::tapInformation({QStringLiteral("3"), QStringLiteral("1")}), QStringLiteral("31"));
    EXPECT_EQ(TapText::tapInformation({QStringLiteral("J1"), QStringLiteral("J2")}), QStringLiteral("12"));
    EXPECT_EQ(TapText::tapInformation({QStringLiteral("J1"), QStringLiteral("4")}), QStringLiteral("14"));
    EXPECT_EQ(TapText::tapInformation({}), QString());
}

TEST_F(UnitIdentificationTest, EachCycleTestsTheNextSerialNumber)
{
    SequenceBuilder builder = unitSequence(3);
    builder.settings().setUnitSerialNumber(QStringLiteral("SN-998"));
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_TRUE(run(window));

    // Nobody is asked: the stored serial is the first unit's, and the
    // count rolls over without growing the text.
    EXPECT_TRUE(prompt.unitRequests.isEmpty());
    EXPECT_EQ(loggedUnits(), (QStringList{QStringLiteral("SN-998 in Batch 07"),
                                          QStringLiteral("SN-999 in Batch 07"),
                                          QStringLiteral("SN-000 in Batch 07")}));
    EXPECT_EQ(unitRows(window->report().reportText()),
              (QStringList{QStringLiteral("SN-998|Batch 07|"), QStringLiteral("SN-999|Batch 07|"),
                           QStringLiteral("SN-000|Batch 07|")}));
    EXPECT_EQ(window->form().serNumberLineEdit->text(), QStringLiteral("SN-000"));

    // The window stores the last unit's serial number with the sequence.
    HxSequence *stored = plugin->sequences().find(QStringLiteral("Units"));
    window->writeSequence(stored);
    EXPECT_EQ(stored->unitSerialNumber(), QStringLiteral("SN-000"));
    EXPECT_TRUE(stored->unitSerialNumberAutoIncrement());
}

TEST_F(UnitIdentificationTest, PerUnitReportsHoldOnlyTheirOwnUnit)
{
    plugin->settings().perUnit = true;
    SequenceBuilder builder = unitSequence(3);
    builder.settings().setUnitSubDirIsSerialNumber(true);
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_TRUE(run(window));

    const QString reports = sequenceFolder(QStringLiteral("Units")) + QStringLiteral("/UnitReports/");
    const QString first = readText(reports + QStringLiteral("SN-199/SN-199.html"));
    const QString third = readText(reports + QStringLiteral("SN-201/SN-199 - SN-201.html"));
    EXPECT_EQ(unitRows(first), QStringList{QStringLiteral("SN-199|SN-199|")});
    EXPECT_EQ(unitRows(third), QStringList{QStringLiteral("SN-201|SN-201|")});
    EXPECT_EQ(third.count(QLatin1String("<b>log unit</b>")), 1);
}

TEST_F(UnitIdentificationTest, TheOperatorConfirmsEachUnitAndCountingGoesOnFromWhatWasTyped)
{
    SequenceBuilder builder = unitSequence(3);
    HxSequence &sequence = builder.settings();
    sequence.setUnitAutoPrompt(true);
    sequence.setUnitSubDirAutoIncrement(true);
    sequence.setUnitSubDirMask(QStringLiteral("Lot 1"));
    ORVSequencerMainDialog *window = open(builder);
    // the first unit as proposed, the second retyped, the third as proposed
    prompt.unitAnswers = {{}, {true, QStringLiteral("SN-500"), QString()}, {}};
    ASSERT_TRUE(run(window));

    ASSERT_EQ(prompt.unitRequests.size(), 3);
    EXPECT_EQ(captions(), QStringList(3, QStringLiteral("Unit Identification - POD TAPs: 1")));
    // proposals: the unit after the last one, folder and mask alike
    EXPECT_EQ(prompt.unitRequests.at(0).serialNumber, QStringLiteral("SN-200"));
    EXPECT_EQ(prompt.unitRequests.at(0).folder, QStringLiteral("Batch 08"));
    EXPECT_EQ(prompt.unitRequests.at(1).serialNumber, QStringLiteral("SN-201"));
    EXPECT_EQ(prompt.unitRequests.at(2).serialNumber, QStringLiteral("SN-501"));
    EXPECT_EQ(loggedUnits(), (QStringList{QStringLiteral("SN-200 in Batch 08"),
                                          QStringLiteral("SN-500 in Batch 09"),
                                          QStringLiteral("SN-501 in Batch 10")}));
}

TEST_F(UnitIdentificationTest, ARefusedUnitEndsTheRunBeforeItsSteps)
{
    SequenceBuilder builder = unitSequence(3);
    builder.settings().setUnitAutoPrompt(true);
    ORVSequencerMainDialog *window = open(builder);
    prompt.unitAnswers = {{}, {false, QString(), QString()}};
    ASSERT_TRUE(run(window));

    EXPECT_EQ(loggedUnits(), QStringList{QStringLiteral("SN-200 in Batch 07")});
    EXPECT_EQ(monitor.runs.last().end, HxiRunMonitor::Cancelled);
    EXPECT_FALSE(plugin->runningWindow());
    // the window is ready for the next run
    EXPECT_TRUE(window->form().startSequenceButton->isEnabled());
    EXPECT_TRUE(window->form().unitIdentGroupBox->isEnabled());

    // A blank serial number identifies nothing either.
    prompt.unitRequests.clear();
    prompt.unitAnswers = {{true, QStringLiteral("  "), QString()}};
    ASSERT_TRUE(run(window));
    EXPECT_EQ(prompt.unitRequests.size(), 1);
    EXPECT_EQ(loggedUnits().size(), 1);
}

TEST_F(UnitIdentificationTest, GangModeAsksForOneUnitPerTapOfTheTestAndTheGang)
{
    addApplication(QStringLiteral("Flash"), Pass, QStringLiteral("Flash Image Runner"));
    // the test application keeps the parameters it was given
    addApplication(QStringLiteral("Chain"),
                   QStringLiteral("grep -E '^(Gang|Flags|UnitIdentSN)=' \"$1\" >> '%1'\nexit 0\n")
                       .arg(folder.filePath(QStringLiteral("chain.params"))));
    project.application(QStringLiteral("Flash"))->tapConnectors = {QStringLiteral("2")};
    project.application(QStringLiteral("Chain"))->tapConnectors = {QStringLiteral("1"), QStringLiteral("2"),
                                                                  QStringLiteral("3")};
    plugin->settings().enableGang = true;
    plugin->settings().gangText = QStringLiteral("13");
    plugin->settings().gang = QStringLiteral("4");

    SequenceBuilder builder = unitSequence(2);
    // a runner type does not decide the TAPs; the first test does
    builder.application(QStringLiteral("Flash"), QStringLiteral("Flash Image Runner"));
    builder.application(QStringLiteral("Chain"), ChainType).parameters.insert(QStringLiteral("Flags"),
                                                                            QStringLiteral("1029"));
    HxSequence &sequence = builder.settings();
    sequence.setUnitAutoPrompt(true);
    sequence.setGlobalGang(true);
    sequence.setUnitSerialNumber(QStringLiteral("SN-100"));
    ORVSequencerMainDialog *window = open(builder);
    ASSERT_TRUE(run(window));

    EXPECT_EQ(window->tapInformation(), QStringLiteral("123"));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Unit Identification - POD TAPs: 1"),
                                       QStringLiteral("Unit Identification - POD TAPs: 3"),
                                       QStringLiteral("Unit Identification - POD TAPs: 1"),
                                       QStringLiteral("Unit Identification - POD TAPs: 3")}));
    // every TAP's unit gets the next number, across the cycles as well
    EXPECT_EQ(unitRows(window->report().reportText()),
              (QStringList{QStringLiteral("SN-101|Batch 07|1"), QStringLiteral("SN-102|Batch 07|3"),
                           QStringLiteral("SN-103|Batch 07|1"), QStringLiteral("SN-104|Batch 07|3")}));
    EXPECT_EQ(monitor.runs.last().end, HxiRunMonitor::Completed);
    // Applications test the whole gang: the gang entry and the gang flag
    // are passed on, with the last unit named.
    EXPECT_EQ(readText(folder.filePath(QStringLiteral("chain.params"))).split(u'\n', Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("Flags=1029"), QStringLiteral("Gang=4"), QStringLiteral("UnitIdentSN=SN-102"),
                           QStringLiteral("Flags=1029"), QStringLiteral("Gang=4"), QStringLiteral("UnitIdentSN=SN-104")}));

    // Without gang mode on the sequence the gang flag is taken away.
    window->form().globalGangCheckBox->setChecked(false);
    QFile::remove(folder.filePath(QStringLiteral("chain.params")));
    prompt.unitRequests.clear();
    ASSERT_TRUE(run(window));
    EXPECT_EQ(captions(), QStringList(2, QStringLiteral("Unit Identification - POD TAPs: 1")));
    EXPECT_TRUE(readText(folder.filePath(QStringLiteral("chain.params"))).startsWith(QLatin1String("Flags=5\nGang=0\n")));
    window->form().globalGangCheckBox->setChecked(true);

    // A refused TAP still lets the operator see the rest of the gang, then
    // ends the run.
    prompt.unitRequests.clear();
    prompt.unitAnswers = {{false, QString(), QString()}, {}};
    ASSERT_TRUE(run(window));
    EXPECT_EQ(captions().size(), 2);
    EXPECT_EQ(monitor.runs.last().end, HxiRunMonitor::Cancelled);

    // A gang without a TAP of the test has no unit: the run does not start.
    plugin->settings().gangText = QStringLiteral("4");
    prompt.unitRequests.clear();
    const qsizetype runs = monitor.runs.size();
    const int reports = plugin->reports().count();
    window->slotStartSequence();
    EXPECT_TRUE(prompt.unitRequests.isEmpty());
    EXPECT_EQ(plugin->runningWindow(), nullptr);
    EXPECT_EQ(plugin->reports().count(), reports);
    ASSERT_EQ(monitor.runs.size(), runs + 1);
    EXPECT_EQ(monitor.runs.last().end, HxiRunMonitor::Cancelled);
    EXPECT_TRUE(prompt.texts().last().contains(QLatin1String("gang (TAPs 4) and the application 'Chain' (TAPs 1+2+3)")))
        << prompt.texts().last().toStdString();
    EXPECT_TRUE(window->form().startSequenceButton->isEnabled());
}

TEST_F(UnitIdentificationTest, SetupTakesTheEngineersOptionsAndTexts)
{
    SequenceBuilder builder = unitSequence(1);
    ORVSequencerMainDialog *window = open(builder);
    UnitIdentificationDialog &dialog = window->unitIdentificationDialog();
    auto *sn = dialog.findChild<QLineEdit *>(QStringLiteral("snLineEdit"));
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("nameLineEdit"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));

    // Driven as an engineer would: the dialog is modal, so the clicks come
    // once it shows.
    QTimer::singleShot(0, &dialog, [&] {
        dialog.findChild<QRadioButton *>(QStringLiteral("snManualAdjustRadioButton"))->click();
        dialog.findChild<QPushButton *>(QStringLiteral("snRightPushButton"))->click();
        dialog.findChild<QPushButton *>(QStringLiteral("snRightPushButton"))->click();
        dialog.findChild<QCheckBox *>(QStringLiteral("isSnCheckBox"))->click();
        EXPECT_EQ(name->text(), sn->text());
        name->setText(QStringLiteral("a/b"));   // read-only for the user, but not for code
        sn->setText(QStringLiteral("SN-300"));
        EXPECT_EQ(name->text(), QStringLiteral("SN-300"));
        ok->click();
    });
    // the host's prompt answers units, not the engineer's setup
    host.setPrompt(nullptr);
    window->on_unitIdentSetupPushButton_clicked();
    host.setPrompt(&prompt);

    EXPECT_EQ(window->form().serNumberLineEdit->text(), QStringLiteral("SN-300"));
    EXPECT_EQ(window->form().folderLineEdit->text(), QStringLiteral("SN-300"));
    EXPECT_TRUE(dialog.options().serialManualAdjust);
    EXPECT_FALSE(dialog.options().serialAutoIncrement);
    EXPECT_TRUE(dialog.options().subDirIsSerialNumber);

    // A cancelled setup changes nothing.
    QTimer::singleShot(0, &dialog, [&] {
        dialog.findChild<QCheckBox *>(QStringLiteral("autoPromptCheckBox"))->click();
        sn->setText(QStringLiteral("SN-999"));
        dialog.findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
    });
    host.setPrompt(nullptr);
    window->on_unitIdentSetupPushButton_clicked();
    host.setPrompt(&prompt);
    EXPECT_EQ(window->form().serNumberLineEdit->text(), QStringLiteral("SN-300"));
    EXPECT_FALSE(dialog.options().autoPrompt);

    // An unusable folder name keeps OK disabled.
    dialog.findChild<QCheckBox *>(QStringLiteral("isSnCheckBox"))->setChecked(false);
    name->setText(QStringLiteral("../other"));
    EXPECT_FALSE(ok->isEnabled());
    name->setText(QStringLiteral("Batch 1"));
    EXPECT_TRUE(ok->isEnabled());
}
