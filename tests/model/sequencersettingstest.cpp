#include "qstringprinter.h"
#include "sequencersettings.h"

#include <QDomDocument>

#include <gtest/gtest.h>

TEST(SequencerSettingsTest, GangListFollowsTheTapMasks)
{
    EXPECT_EQ(SequencerSettings::gangList(),
              QStringList({"1", "2", "12", "3", "13", "23", "123", "4", "14", "24", "124", "34",
                           "134", "234", "1234"}));
}

TEST(SequencerSettingsTest, SavesEveryAttributeAndReadsThemBack)
{
    SequencerSettings settings;
    settings.saveReports = false;
    settings.removeReports = true;
    settings.defaultUnitReportsPath = false;
    settings.unitReportsPath = QStringLiteral("/data/units & more");
    settings.perUnit = true;
    settings.enableGang = true;
    settings.gang = QStringLiteral("10");
    settings.gangText = QStringLiteral("124");
    settings.saveResultFiles = true;
    settings.resultsDatabase = QStringLiteral("postgresql://line@db:5432/results");
    settings.redoLimit = 7;

    QDomDocument document;
    QDomElement parent = document.createElement(QStringLiteral("host"));
    document.appendChild(parent);
    settings.save(parent);

    const QDomElement element = parent.firstChildElement();
    EXPECT_EQ(element.tagName(), QStringLiteral("ORVSequencerSettings"));
    EXPECT_EQ(element.attribute(QStringLiteral("saveReports")), QStringLiteral("0"));
    EXPECT_EQ(element.attribute(QStringLiteral("removeReports")), QStringLiteral("1"));

    SequencerSettings loaded;
    loaded.load(parent);
    EXPECT_EQ(QList<bool>({loaded.saveReports, loaded.removeReports, loaded.defaultUnitReportsPath, loaded.perUnit,
                           loaded.enableGang, loaded.saveResultFiles}),
              QList<bool>({false, true, false, true, true, true}));
    EXPECT_EQ(QStringList({loaded.unitReportsPath, loaded.gang, loaded.gangText, loaded.resultsDatabase}),
              QStringList({settings.unitReportsPath, "10", "124", settings.resultsDatabase}));
    EXPECT_EQ(loaded.redoLimit, 7);
}

TEST(SequencerSettingsTest, LoadingIsForgivingAboutWhatItFinds)
{
    QDomDocument document;
    ASSERT_TRUE(document.setContent(QStringLiteral(
        "<host><other saveReports='0'/>"
        "<deep><ORVSequencerSettings saveReports='2' perUnit='yes' enableGang='-1' gang='7' "
        "unknown='x'/></deep>"
        "<ORVSequencerSettings saveReports='0'/></host>")));
    QDomElement parent = document.documentElement();

    SequencerSettings settings;
    settings.removeReports = true;   // not in the element: must stay
    settings.load(parent);
    EXPECT_TRUE(settings.saveReports);    // "2" is a number other than 0; first element wins
    EXPECT_FALSE(settings.perUnit);       // "yes" is not a number
    EXPECT_TRUE(settings.enableGang);
    EXPECT_EQ(settings.gang, QStringLiteral("7"));
    EXPECT_EQ(settings.gangText, QStringLiteral("0"));
    EXPECT_TRUE(settings.removeReports);

    QDomDocument empty;
    QDomElement nothing = empty.createElement(QStringLiteral("host"));
    SequencerSettings untouched;
    untouched.saveReports = false;
    untouched.load(nothing);
    EXPECT_FALSE(untouched.saveReports);
    EXPECT_TRUE(untouched.defaultUnitReportsPath);
}
