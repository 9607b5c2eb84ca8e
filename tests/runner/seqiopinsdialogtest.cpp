// The I/O pins properties dialog against the reference host's instruments:
// what it shows of a step's parameters, what OK and Cancel keep, and the
// command lines it builds for the runner.

#include "qstringprinter.h"
#include "hostproject.h"
#include "modalanswer.h"
#include "seqiopinsdialog.h"
#include "temporaryfolder.h"
#include "workbenchhost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Parameters = QMap<QString, QString>;

ProjectInstrument instrument(const char *name, const char *address,
                             const QMap<QString, QString> &parameters, bool preferred = false)
{
    ProjectInstrument result;
    result.name = QLatin1String(name);
    result.address = QLatin1String(address);
    result.parameters = parameters;
    result.preferred = preferred;
    return result;
}

// A step's parameters with every I/O-pin key, the record's defaults
// overridden by `values`; an empty value removes the key. Two keys that are
// none of the dialog's business come along.
Parameters stepParameters(const QMap<QString, QString> &values)
{
    Parameters parameters = IoPinsOptions().toParameters();
    parameters.insert(QStringLiteral("Show"), QStringLiteral("Status"));
    parameters.insert(QStringLiteral("CmdLine"), QStringLiteral("-keep me"));
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value().isEmpty())
            parameters.remove(it.key());
        else
            parameters.insert(it.key(), it.value());
    }
    return parameters;
}

const QStringList OfferedLevels = {"0.0", "0.5", "0.6", "0.7", "0.8", "0.9",
                                   "1.2", "1.3", "1.5", "1.6", "1.8"};

class SeqIOPinsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.create(folder.filePath(QStringLiteral("project")), QStringLiteral("P")));
        // Each instrument names the TAP count of its own place in the list;
        // BCU-3 also carries a count under another index that must not count.
        project.instruments = {
            instrument("BCU-1", "USB0", {{"ExecBcu", "bcu"}, {"MaxTaps.0", "2"}}, true),
            instrument("BCU-2", "", {{"ExecBcu", "bcu2"}, {"MaxTaps.1", "many"}}),
            instrument("BCU-3", "LAN1", {{"ExecBcu", "bcu3"}, {"MaxTaps.0", "4"}, {"MaxTaps.2", "3"}}),
            instrument("BCU-4", "", {{"MaxTaps.3", "0"}}),
            instrument("BCU-5", "", {{"MaxTaps.4", " 7 "}}),
            instrument("BCU-6", "", {}),
        };
        host.setProject(&project);
        dialog = std::make_unique<SeqIOPinsDialog>(host.link());
    }

    void TearDown() override
    {
        dialog.reset();
        // no host service outlives the call that asked for it
        EXPECT_EQ(host.outstandingReferences(), 0);
    }

    template<class Widget>
    Widget *child(const QString &name) const
    {
        auto *widget = dialog->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    template<class Widget>
    Widget *tapChild(int tap, const char *name) const
    {
        return child<Widget>(QStringLiteral("tap%1%2").arg(tap).arg(QLatin1String(name)));
    }
    // Clicks only reach a window the platform has put up.
    void showDialog() const
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    // Near the left edge: a check box takes clicks on its box and label
    // only, not on the rest of a wide grid cell.
    void click(const char *name) const
    {
        auto *button = child<QAbstractButton>(QLatin1String(name));
        const QPoint at(qMin(8, button->width() / 2), button->height() / 2);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    }
    void type(QLineEdit *edit, const QString &text) const
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    int enabledTaps() const
    {
        int count = 0;
        for (int tap = 1; tap <= 4; ++tap)
            count += tapChild<QGroupBox>(tap, "GroupBox")->isEnabled() ? 1 : 0;
        return count;
    }

    TemporaryFolder folder;
    HostProject project;
    WorkbenchHost host;
    std::unique_ptr<SeqIOPinsDialog> dialog;
};

} // namespace

TEST_F(SeqIOPinsDialogTest, ParametersGoThroughTheWidgetsAndBackUnchanged)
{
    struct Case
    {
        const char *name;
        QMap<QString, QString> values;
        QString instrumentText;
        QStringList levelTexts;
        QString levelText;
    };
    QStringList withLevel33 = OfferedLevels;
    withLevel33.append(QStringLiteral("3.3"));
    QStringList withLevel10 = OfferedLevels;
    withLevel10.insert(6, QStringLiteral("1.0"));
    const Case cases[] = {
        {"a listed instrument, a level the list lacks, a threshold below -1, both switches, "
         "spare flag bits, levels per TAP and patterns with bit 31",
         {{"InstrumentName", "BCU-2"}, {"Flags", "4026564640"}, {"Level", "33"},
          {"Threshold", "-7"}, {"IoPinNoReset", "1"}, {"IoPinNoSetup", "1"},
          {"TapInfo1.Flags", "3072"}, {"TapInfo1.IoPinWCtrl", "15"}, {"TapInfo1.IoPinWData", "5"},
          {"TapInfo2.Flags", "12288"}, {"TapInfo2.IoPinRCtrl", "-1"},
          {"TapInfo2.IoPinRData", "-2147483648"}, {"TapInfo2.IoTimeoutMs", "2500"},
          {"TapInfo2.Level", "25"}, {"TapInfo2.Threshold", "12"},
          {"TapInfo3.Flags", "14336"}, {"TapInfo3.IoPinWCtrl", "305419896"},
          {"TapInfo3.IoPinWData", "-4"}, {"TapInfo3.IoTimeoutMs", "0"},
          {"TapInfo4.Flags", "8192"}, {"TapInfo4.IoTimeoutMs", "-1"}},
         "BCU-2", withLevel33, "3.3"},
        {"the preferred instrument, an offered level and a threshold of its own",
         {{"InstrumentName", "Preferred"}, {"Level", "18"}, {"Threshold", "9"},
          {"IoPinNoSetup", "1"}, {"TapInfo4.Flags", "4096"}},
         "Preferred (BCU-1)", OfferedLevels, "1.8"},
        {"an instrument the project lost and a level between the offered ones",
         {{"InstrumentName", "Old BCU"}, {"Level", "10"}, {"Threshold", "0"}},
         "Old BCU", withLevel10, "1.0"},
    };
    showDialog();
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        const Parameters parameters = stepParameters(test.values);
        dialog->loadParameters(parameters);
        EXPECT_EQ(child<QComboBox>("instrumentComboBox")->currentText(), test.instrumentText);
        EXPECT_EQ(itemTexts(child<QComboBox>("levelComboBox")), test.levelTexts);
        EXPECT_EQ(child<QComboBox>("levelComboBox")->currentText(), test.levelText);

        click("okButton");
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        Parameters stored = stepParameters({});
        dialog->storeParameters(stored);
        EXPECT_EQ(stored, parameters);
        EXPECT_EQ(dialog->options(), IoPinsOptions::fromParameters(parameters));
        showDialog();
    }

    // What the first case shows, field by field: a swap of two widgets would
    // survive the round trip but not this.
    dialog->loadParameters(stepParameters(cases[0].values));
    EXPECT_EQ(child<QDoubleSpinBox>("thresholdSpinBox")->text(), QStringLiteral("Half level"));
    EXPECT_TRUE(child<QCheckBox>("noResetCheckBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("noSetupCheckBox")->isChecked());
    EXPECT_FALSE(child<QComboBox>("levelComboBox")->isEnabled()) << "no reset sets no level";
    EXPECT_EQ(tapChild<QLineEdit>(1, "WriteControlLineEdit")->text(), QStringLiteral("0xF"));
    EXPECT_EQ(tapChild<QLineEdit>(1, "WriteDataLineEdit")->text(), QStringLiteral("0x5"));
    EXPECT_EQ(tapChild<QLineEdit>(2, "ReadMaskLineEdit")->text(), QStringLiteral("0xFFFFFFFF"));
    EXPECT_EQ(tapChild<QLineEdit>(2, "ReadDataLineEdit")->text(), QStringLiteral("0x80000000"));
    EXPECT_EQ(tapChild<QSpinBox>(2, "TimeoutSpinBox")->value(), 2500);
    EXPECT_EQ(tapChild<QLineEdit>(3, "WriteControlLineEdit")->text(), QStringLiteral("0x12345678"));
    EXPECT_EQ(tapChild<QLineEdit>(3, "WriteDataLineEdit")->text(), QStringLiteral("0xFFFFFFFC"));
    const bool checks[4][3] = {{true, false, false}, {false, true, true},
                               {true, true, true}, {false, false, true}};
    for (int tap = 1; tap <= 4; ++tap) {
        EXPECT_EQ(tapChild<QCheckBox>(tap, "WriteCheckBox")->isChecked(), checks[tap - 1][0]) << tap;
        EXPECT_EQ(tapChild<QCheckBox>(tap, "ReadCheckBox")->isChecked(), checks[tap - 1][1]) << tap;
        EXPECT_EQ(tapChild<QCheckBox>(tap, "MatchCheckBox")->isChecked(), checks[tap - 1][2]) << tap;
    }
}

TEST_F(SeqIOPinsDialogTest, OkTakesWhatWasEditedAndCancelKeepsTheOptions)
{
    const Parameters parameters = stepParameters(
        {{"InstrumentName", "BCU-3"}, {"Level", "12"}, {"TapInfo1.Flags", "2048"},
         {"TapInfo1.IoPinWCtrl", "3"}});
    dialog->loadParameters(parameters);
    const IoPinsOptions loaded = dialog->options();

    const auto edit = [this] {
        child<QComboBox>("instrumentComboBox")->setCurrentIndex(0);
        auto *level = child<QComboBox>("levelComboBox");
        level->setCurrentIndex(level->findText(QStringLiteral("1.5")));
        child<QDoubleSpinBox>("thresholdSpinBox")->setValue(0.7);
        click("noSetupCheckBox");
        // the preferred BCU-1 has two TAPs
        click("tap1WriteCheckBox");
        click("tap1ReadCheckBox");
        click("tap1MatchCheckBox");
        type(tapChild<QLineEdit>(1, "ReadMaskLineEdit"), QStringLiteral("ff"));
        type(tapChild<QLineEdit>(1, "ReadDataLineEdit"), QStringLiteral("0x80000001"));
        tapChild<QSpinBox>(1, "TimeoutSpinBox")->setValue(2500);
        click("tap2WriteCheckBox");
        type(tapChild<QLineEdit>(2, "WriteControlLineEdit"), QStringLiteral("0x0f"));
        type(tapChild<QLineEdit>(2, "WriteDataLineEdit"), QStringLiteral("a5"));
    };

    showDialog();
    edit();
    click("cancelButton");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->options(), loaded);
    Parameters stored = stepParameters({});
    dialog->storeParameters(stored);
    EXPECT_EQ(stored, parameters);
    // opened again, it shows the options rather than the dropped edits
    EXPECT_EQ(child<QComboBox>("instrumentComboBox")->currentText(), QStringLiteral("BCU-3"));
    EXPECT_EQ(child<QComboBox>("levelComboBox")->currentText(), QStringLiteral("1.2"));
    EXPECT_FALSE(tapChild<QCheckBox>(1, "ReadCheckBox")->isChecked());

    showDialog();
    edit();
    click("okButton");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    IoPinsOptions expected = loaded;
    expected.instrumentName = QStringLiteral("Preferred");
    expected.level = 15;
    expected.threshold = 7;
    expected.noSetup = true;
    expected.tap(1).setOperation(IoPinsTap::WriteBit, false);
    expected.tap(1).setOperation(IoPinsTap::ReadBit | IoPinsTap::MatchBit, true);
    expected.tap(1).readMask = 0xff;
    expected.tap(1).readData = qint32(0x80000001u);
    expected.tap(1).timeoutMs = 2500;
    expected.tap(2).setOperation(IoPinsTap::WriteBit, true);
    expected.tap(2).writeControl = 0x0f;
    expected.tap(2).writeData = 0xa5;
    EXPECT_EQ(dialog->options(), expected);
}

TEST_F(SeqIOPinsDialogTest, TheInstrumentsTapCountLimitsTheTapsThatCanBeEdited)
{
    struct Case
    {
        const char *instrument;
        int taps;
    };
    const Case cases[] = {
        {"Preferred", 2},   // BCU-1, the preferred one
        {"BCU-2", 4},       // a count that is no number
        {"BCU-3", 3},       // its own index, not another
        {"BCU-4", 1},       // at least one
        {"BCU-5", 4},       // at most four
        {"Old BCU", 4},     // an instrument the host does not know
        {"BCU-6", 4},       // no count
    };
    for (const Case &test : cases) {
        dialog->loadParameters(stepParameters({{"InstrumentName", test.instrument}}));
        EXPECT_EQ(enabledTaps(), test.taps) << test.instrument;
        EXPECT_TRUE(tapChild<QGroupBox>(1, "GroupBox")->isEnabled()) << test.instrument;
    }

    // picking another instrument in the list follows at once
    auto *combo = child<QComboBox>("instrumentComboBox");
    EXPECT_EQ(itemTexts(combo), QStringList({"Preferred (BCU-1)", "BCU-1", "BCU-2", "BCU-3",
                                             "BCU-4", "BCU-5", "BCU-6"}));
    combo->setCurrentIndex(combo->findText(QStringLiteral("BCU-4")));
    EXPECT_EQ(enabledTaps(), 1);
    combo->setCurrentIndex(0);
    EXPECT_EQ(enabledTaps(), 2);
}

TEST_F(SeqIOPinsDialogTest, CommandLinesUseTheResolvedInstrumentWithoutShowingTheDialog)
{
    // every TAP writes control 15 and data 5
    Parameters writeAll = {{"Flags", "32768"}};
    for (int tap = 1; tap <= 4; ++tap) {
        writeAll.insert(QStringLiteral("TapInfo%1.Flags").arg(tap), QStringLiteral("2048"));
        writeAll.insert(QStringLiteral("TapInfo%1.IoPinWCtrl").arg(tap), QStringLiteral("15"));
        writeAll.insert(QStringLiteral("TapInfo%1.IoPinWData").arg(tap), QStringLiteral("5"));
    }
    const auto with = [&writeAll](const QMap<QString, QString> &values) {
        Parameters parameters = writeAll;
        parameters.insert(values);
        return stepParameters(parameters);
    };
    struct Case
    {
        const char *name;
        Parameters parameters;
        IoPinsOperation operation;
        QString expected;
    };
    const Case cases[] = {
        {"Preferred: the preferred instrument's program and address",
         with({{"InstrumentName", "Preferred"}}), IoPinsOperation::Write,
         "bcu -M -aUSB0 -uo15,5"},
        {"a step that never chose an instrument takes the preferred one",
         with({{"InstrumentName", ""}}), IoPinsOperation::Write, "bcu -M -aUSB0 -uo15,5"},
        {"a named instrument, switches, a level with half of it as threshold",
         with({{"InstrumentName", "BCU-3"}, {"Flags", "268468224"}, {"Level", "18"},
               {"IoPinNoSetup", "1"}, {"TapInfo2.IoPinWData", "6"}}),
         IoPinsOperation::Write, "bcu3 -M -aLAN1 -ns -L18,9 -uo15,5,134 -uo15,6,2"},
        {"an instrument without an address gets no -a",
         with({{"InstrumentName", "BCU-2"}, {"IoPinNoReset", "1"}}), IoPinsOperation::Write,
         "bcu2 -M -nr -uo15,5"},
        {"an instrument the host does not list", with({{"InstrumentName", "Old BCU"}}),
         IoPinsOperation::Write, ""},
        {"an instrument without a program", with({{"InstrumentName", "BCU-6"}}),
         IoPinsOperation::Write, ""},
    };
    for (const Case &test : cases) {
        dialog->loadParameters(test.parameters);
        EXPECT_EQ(dialog->buildCommandLine(test.operation), test.expected) << test.name;
    }
    EXPECT_FALSE(dialog->isVisible());

    // without a preferred instrument, "Preferred" names none
    dialog->loadParameters(with({{"InstrumentName", "Preferred"}}));
    ASSERT_FALSE(dialog->buildCommandLines().isEmpty());
    project.instruments.first().preferred = false;
    EXPECT_TRUE(dialog->buildCommandLines().isEmpty());
    // and a host without instruments gives no commands at all
    SeqIOPinsDialog alone{HostLink()};
    alone.setOptions(dialog->options());
    EXPECT_TRUE(alone.buildCommandLines().isEmpty());

    // the results are read from the run folder's result file
    folder.write(QStringLiteral("run/iopins.dat"), "iodata2=0x5\n");
    EXPECT_EQ(dialog->readResults(folder.filePath(QStringLiteral("run"))).dataText(2), QStringLiteral("0b0101"));
}
