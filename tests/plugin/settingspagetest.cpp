// The sequencer's page in the host's settings dialog.

#include "qstringprinter.h"
#include "modalanswer.h"
#include "orvsequencerpi.h"
#include "orvsequencersettingsdialog.h"
#include "sequencersettings.h"
#include "workbenchhost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

TEST(SettingsPageTest, ApplyStoresTheWidgetsAndCancelKeepsTheRecord)
{
    WorkbenchHost host;
    ORVSequencerPI plugin(host.link());
    VemoInterface::HxiSettingsPage *page = plugin.settingsPage();
    ASSERT_TRUE(page);
    QWidget *widget = page->widget();
    ASSERT_EQ(child<QComboBox>(widget, "gangComboBox")->count(), 15);

    // gang off with entry 10 chosen: the entry is kept, its TAPs are not
    child<QComboBox>(widget, "gangComboBox")->setCurrentIndex(10);
    child<QCheckBox>(widget, "perUnitCheckBox")->setChecked(true);
    child<QRadioButton>(widget, "pathRadioButton")->setChecked(true);
    child<QLineEdit>(widget, "pathLineEdit")->setText(QStringLiteral("/data/units"));
    child<QCheckBox>(widget, "resultFilesCheckBox")->setChecked(true);
    child<QLineEdit>(widget, "resultsServerLineEdit")->setText(QStringLiteral(" postgresql://line@db/results "));
    child<QSpinBox>(widget, "redoLimitSpinBox")->setValue(7);
    EXPECT_EQ(child<QLabel>(widget, "gangTextLabel")->text(), QStringLiteral("none"));
    page->apply();
    const SequencerSettings &stored = plugin.settings();
    // the server is stored trimmed
    EXPECT_EQ(QStringList({stored.resultsDatabase, stored.gang, stored.gangText, stored.unitReportsPath}),
              QStringList({"postgresql://line@db/results", "10", "0", "/data/units"}));
    EXPECT_EQ(QList<bool>({stored.saveResultFiles, stored.perUnit, stored.defaultUnitReportsPath}),
              QList<bool>({true, true, false}));
    EXPECT_EQ(stored.redoLimit, 7);

    // gang on with entry 14: all four TAPs
    EXPECT_EQ(plugin.settingsPage(), page);
    child<QCheckBox>(widget, "gangCheckBox")->setChecked(true);
    child<QComboBox>(widget, "gangComboBox")->setCurrentIndex(14);
    Q_EMIT child<QComboBox>(widget, "gangComboBox")->activated(14);
    EXPECT_EQ(child<QLabel>(widget, "gangTextLabel")->text(), QStringLiteral("TAP1 + TAP2 + TAP3 + TAP4"));
    page->apply();
    EXPECT_TRUE(plugin.settings().enableGang);
    EXPECT_EQ(plugin.settings().gangText, QStringLiteral("1234"));

    // a cancelled change is gone the next time the page is shown
    child<QCheckBox>(widget, "saveReportsCheckBox")->setChecked(false);
    page->cancel();
    EXPECT_TRUE(plugin.settings().saveReports);
    plugin.settingsPage();
    EXPECT_TRUE(child<QCheckBox>(widget, "saveReportsCheckBox")->isChecked());
    EXPECT_TRUE(child<QLineEdit>(widget, "pathLineEdit")->isEnabled());
    child<QRadioButton>(widget, "defaultPathRadioButton")->setChecked(true);
    EXPECT_FALSE(child<QLineEdit>(widget, "pathLineEdit")->isEnabled());
}

TEST(SettingsPageTest, DefaultsResetTheGangOnlyForADeveloper)
{
    WorkbenchHost host;
    SequencerSettings record;
    record.saveReports = false;
    record.enableGang = true;
    record.gang = QStringLiteral("4");
    record.gangText = QStringLiteral("13");

    host.setValue(QStringLiteral("UserPrivilege"), QStringLiteral("Operator"));
    ORVSequencerSettingsDialog operatorPage(host.link(), &record);
    EXPECT_TRUE(child<QGroupBox>(&operatorPage, "gangButtonGroup")->isHidden());
    child<QPushButton>(&operatorPage, "defaultButton")->click();
    EXPECT_TRUE(operatorPage.workingCopy().saveReports);
    EXPECT_TRUE(operatorPage.workingCopy().enableGang);
    operatorPage.apply();
    EXPECT_EQ(record.gangText, QStringLiteral("13"));
    EXPECT_TRUE(record.saveReports);

    host.setValue(QStringLiteral("UserPrivilege"), QStringLiteral("Developer"));
    ORVSequencerSettingsDialog developerPage(host.link(), &record);
    EXPECT_FALSE(child<QGroupBox>(&developerPage, "gangButtonGroup")->isHidden());
    child<QPushButton>(&developerPage, "defaultButton")->click();
    // the record changes only on apply
    EXPECT_TRUE(record.enableGang);
    developerPage.apply();
    EXPECT_FALSE(record.enableGang);
    EXPECT_EQ(record.gang, QStringLiteral("0"));
    EXPECT_EQ(record.gangText, QStringLiteral("0"));
}
