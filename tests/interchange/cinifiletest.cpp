#include "cinifile.h"

#include "qstringprinter.h"
#include "temporaryfolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Row = std::tuple<std::string, std::string, std::string>;

std::vector<Row> rowsOf(const CIniFile &ini)
{
    std::vector<Row> rows;
    for (const auto &entry : ini.entryList())
        rows.emplace_back(entry.section.toStdString(), entry.key.toStdString(), entry.value.toStdString());
    return rows;
}

} // namespace

TEST(CIniFileTest, readsLinesIntoEntries)
{
    struct Case {
        const char *name;
        QByteArray content;
        std::vector<Row> expected;
    };
    const std::vector<Case> cases = {
        {"inner blanks and '=' kept", "  Name = A =\tB  \n", {{"", "Name", "A =\tB"}}},
        {"entries before the first header", "a=1\n[s]\nb=2\n", {{"", "a", "1"}, {"s", "b", "2"}}},
        {"text after the closing bracket", "[Sec] trailing\nk=v\n", {{"Sec", "k", "v"}}},
        {"no closing bracket keeps trailing blanks", "[Open  \r\nk=v\r\n", {{"Open  ", "k", "v"}}},
        {"section name is not stripped", "  [ spaced ]  \nk=v\n", {{" spaced ", "k", "v"}}},
        {"second closing bracket", "[a]]\nk=v\n", {{"a", "k", "v"}}},
        {"empty section name", "[s]\na=1\n[]\nb=2\n", {{"s", "a", "1"}, {"", "b", "2"}}},
        {"header with '='", "[Sec=x]\nk=v\n", {{"Sec=x", "[Sec", "x]"}, {"Sec=x", "k", "v"}}},
        {"headers alone add nothing", "[a]\n[b]\n", {}},
        {"';' lines are keys", "[a]\n; remark = no\n;plain\n", {{"a", "; remark", "no"}, {"a", ";plain", ""}}},
        {"bracket inside a key", "x[y]=1\n", {{"", "x[y]", "1"}}},
        {"empty key and empty value", "=value\nkey=\n", {{"", "", "value"}, {"", "key", ""}}},
        {"blank lines skipped", "\n   \n\t\nk=v\n\n", {{"", "k", "v"}}},
        {"CRLF line ends", "[a]\r\nk=v\r\nbare\r\n", {{"a", "k", "v"}, {"a", "bare", ""}}},
        {"UTF-8", "[Stra\xc3\x9f" "e]\n\xc3\x84=\xe2\x82\xac\n", {{"Stra\xc3\x9f" "e", "\xc3\x84", "\xe2\x82\xac"}}},
        {"byte-order mark dropped", "\xef\xbb\xbfk=v\n", {{"", "k", "v"}}},
        {"empty file", "", {}},
    };

    TemporaryFolder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.write(QStringLiteral("read.ini"), c.content);
        CIniFile ini;
        ASSERT_TRUE(ini.load(path)) << ini.errorString().toStdString();
        EXPECT_EQ(rowsOf(ini), c.expected);
        EXPECT_TRUE(ini.errorString().isEmpty());
    }
}

TEST(CIniFileTest, writesEntriesInListOrder)
{
    struct Case {
        const char *name;
        std::vector<Row> entries; // added with setValue in this order
        QByteArray expected;
    };
    const std::vector<Case> cases = {
        {"empty document gives an empty file", {}, ""},
        {"unnamed section needs no header", {{"", "k", "v"}}, "k=v\n"},
        {"blank line before later headers", {{"", "a", "1"}, {"s", "b", "2"}}, "a=1\n\n[s]\nb=2\n"},
        {"a header at each run of a section",
         {{"s", "a", "1"}, {"t", "b", "2"}, {"s", "c", "3"}},
         "[s]\na=1\n\n[t]\nb=2\n\n[s]\nc=3\n"},
        {"unnamed section after another one", {{"s", "a", "1"}, {"", "b", "2"}}, "[s]\na=1\n\n[]\nb=2\n"},
        {"blank key writes the value alone", {{"s", "  ", "v"}, {"s", "", "w"}}, "[s]\nv\nw\n"},
        {"empty value keeps '='", {{"s", "k", ""}}, "[s]\nk=\n"},
        {"values as they are held", {{"s", "k", " a = b "}}, "[s]\nk= a = b \n"},
        {"UTF-8 without byte-order mark",
         {{"\xc3\x9f", "\xc3\xa4", "\xe2\x82\xac"}},
         "[\xc3\x9f]\n\xc3\xa4=\xe2\x82\xac\n"},
    };

    TemporaryFolder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CIniFile ini;
        ini.setFileName(folder.filePath(QStringLiteral("write.ini")));
        for (const auto &[section, key, value] : c.entries)
            ini.setValue(QString::fromStdString(section), QString::fromStdString(key), QString::fromStdString(value));
        ASSERT_TRUE(ini.save()) << ini.errorString().toStdString();
        EXPECT_EQ(folder.read(QStringLiteral("write.ini")), c.expected);
    }
}

TEST(CIniFileTest, setValueReplacesFirstMatchAndLoadReplacesAll)
{
    TemporaryFolder folder;
    const QString path = folder.write(QStringLiteral("doc.ini"), "[s]\na=1\na=2\n\n[t]\nb=3\n");
    CIniFile ini;
    ASSERT_TRUE(ini.load(path));

    EXPECT_EQ(ini.value(QStringLiteral("s"), QStringLiteral("a")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("s"), QStringLiteral("A"), QStringLiteral("none")), QStringLiteral("none"));
    EXPECT_EQ(ini.value(QStringLiteral("t"), QStringLiteral("a"), QStringLiteral("none")), QStringLiteral("none"));

    ini.setValue(QStringLiteral("s"), QStringLiteral("a"), QStringLiteral("X"));
    ini.setValue(QStringLiteral("s"), QStringLiteral("c"), QStringLiteral("4"));
    ini.setValue(QStringLiteral("t"), QStringLiteral("b"), QStringLiteral("Y"));
    ini.setValue(QStringLiteral("S"), QStringLiteral("a"), QStringLiteral("5"));

    const std::vector<Row> expected = {
        {"s", "a", "X"}, {"s", "a", "2"}, {"t", "b", "Y"}, {"s", "c", "4"}, {"S", "a", "5"}};
    EXPECT_EQ(rowsOf(ini), expected);
    EXPECT_EQ(toStd(ini.keys(QStringLiteral("s"))), (std::vector<std::string>{"a", "a", "c"}));

    ASSERT_TRUE(ini.save());

    // The second run of "s" reads back as the same section.
    CIniFile reread;
    ASSERT_TRUE(reread.load(path));
    EXPECT_EQ(rowsOf(reread), expected);

    // A load replaces what was held, and the lookups with it: setValue must
    // find the entries that came from the file, not append twins.
    ASSERT_TRUE(reread.load(folder.write(QStringLiteral("second.ini"), "[b]\nx=3\n")));
    EXPECT_EQ(reread.value(QStringLiteral("s"), QStringLiteral("a"), QStringLiteral("-")), QStringLiteral("-"));
    EXPECT_TRUE(reread.keys(QStringLiteral("s")).isEmpty());
    reread.setValue(QStringLiteral("b"), QStringLiteral("x"), QStringLiteral("4"));
    EXPECT_EQ(rowsOf(reread), (std::vector<Row>{{"b", "x", "4"}}));
}

// A path that is missing, a folder or empty: load keeps the entries it
// had, save leaves the target alone, and both name the path.
TEST(CIniFileTest, unusablePathsReportAndChangeNothing)
{
    TemporaryFolder folder;
    const QString good = folder.write(QStringLiteral("good.ini"), "[s]\nk=v\n");
    QDir(folder.path()).mkdir(QStringLiteral("adir"));
    folder.write(QStringLiteral("adir/inside.txt"), "keep");

    const QStringList paths = {
        folder.filePath(QStringLiteral("no/such/folder/out.ini")),
        folder.filePath(QStringLiteral("adir")),
        QString(),
    };
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        CIniFile ini;
        ASSERT_TRUE(ini.load(good));
        EXPECT_FALSE(ini.load(path));
        EXPECT_TRUE(ini.errorString().contains(path) && !ini.errorString().isEmpty())
            << ini.errorString().toStdString();
        EXPECT_EQ(rowsOf(ini), (std::vector<Row>{{"s", "k", "v"}}));
        EXPECT_EQ(ini.value(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("v"));
        // The name is remembered all the same, so a missing file can be created.
        EXPECT_EQ(ini.fileName(), path);
        EXPECT_FALSE(ini.save());
        EXPECT_TRUE(ini.errorString().contains(path) && !ini.errorString().isEmpty())
            << ini.errorString().toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("adir/inside.txt")), QByteArray("keep"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({QStringLiteral("good.ini")}));

    CIniFile ini;
    EXPECT_FALSE(ini.load(folder.filePath(QStringLiteral("new.ini"))));
    ini.setValue(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(folder.read(QStringLiteral("new.ini")), QByteArray("[s]\nk=v\n"));
}

// Lookups go through indexes; a plain walk of the list is the reference
// they must agree with after any mix of loads and sets.
TEST(CIniFileTest, lookupsAgreeWithLinearSearch)
{
    TemporaryFolder folder;
    QRandomGenerator random(20240611);
    const auto pick = [&](int count, char letter) {
        return QString(QChar(letter)) + QString::number(random.bounded(count));
    };

    // Sections grow past the size that setValue searches in place; the
    // last sets come after the last load, before any lookup.
    CIniFile ini;
    ini.setFileName(folder.filePath(QStringLiteral("mixed.ini")));
    const auto setSome = [&] {
        for (int i = 0; i < 300; ++i)
            ini.setValue(pick(6, 's'), pick(100, 'k'), QString::number(random.bounded(1000)));
    };
    for (int round = 0; round < 4; ++round) {
        setSome();
        ASSERT_TRUE(ini.save());
        // Duplicates only arise from files; add some by hand.
        QFile file(ini.fileName());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("\n[s1]\nk1=dup\nk2=dup\n");
        file.close();
        ASSERT_TRUE(ini.load(ini.fileName()));
    }
    setSome();

    for (int s = 0; s < 7; ++s) {
        const QString section = QStringLiteral("s%1").arg(s);
        QStringList expectedKeys;
        for (const auto &entry : ini.entryList()) {
            if (entry.section == section)
                expectedKeys.append(entry.key);
        }
        EXPECT_EQ(ini.keys(section), expectedKeys) << section.toStdString();

        for (int k = 0; k < 101; ++k) {
            const QString key = QStringLiteral("k%1").arg(k);
            QString expected = QStringLiteral("<none>");
            for (const auto &entry : ini.entryList()) {
                if (entry.section == section && entry.key == key) {
                    expected = entry.value;
                    break;
                }
            }
            EXPECT_EQ(ini.value(section, key, QStringLiteral("<none>")), expected)
                << section.toStdString() << "/" << key.toStdString();
        }
    }
}

TEST(CSortedIniPtrListTest, compareItemsBySectionThenKey)
{
    struct Case {
        QString firstSection, firstKey, secondSection, secondKey;
        int expected;
    };
    const std::vector<Case> cases = {
        {"s", "k", "s", "k", 0}, {"z", "a", "a", "z", 1}, {"s", "a", "s", "b", -1},
        {"a", "k", "B", "k", 1}, // with case: 'B' sorts before 'a'
        {"s", "ab", "s", "abc", -1},
        {"", "k", "s", "", -1},
        // code units, not code points: U+10000 is stored as D800 DC00
        {QString::fromUcs4(U"\U00010000"), "k", QString(QChar(0xFFFF)), "k", -1},
    };
    for (const Case &c : cases) {
        const CIniData first(c.firstSection, c.firstKey, QStringLiteral("1"));
        const CIniData second(c.secondSection, c.secondKey, QStringLiteral("2"));
        EXPECT_EQ(CSortedIniPtrList::compareItems(first, second), c.expected)
            << c.firstSection.toStdString() << "/" << c.firstKey.toStdString() << " vs "
            << c.secondSection.toStdString() << "/" << c.secondKey.toStdString();
        EXPECT_EQ(CSortedIniPtrList::compareItems(second, first), -c.expected);
    }
}
