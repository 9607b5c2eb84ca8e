#include "apldata.h"

#include "qstringprinter.h"
#include "temporaryfolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parseFile(AplData &data, const QString &path, bool strict = false)
{
    return data.parse(QFile::encodeName(path), AplData::ParseActions, strict, false);
}

} // namespace

TEST(AplDataTest, readsActionsInFileOrder)
{
    struct Case {
        const char *name;
        QByteArray content;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"CRLF line ends", "[actions]\r\naction = a\r\naction = b\r\n", {"a", "b"}},
        {"CR line ends", "[actions]\raction = a\raction = b", {"a", "b"}},
        {"byte-order mark", "\xef\xbb\xbf[actions]\naction=a\n", {"a"}},
        {"comments, blank and stray lines", "\n; x\n[actions]\n  # action = no\n\njunk\n\taction = a\n", {"a"}},
        {"names compared without case", "[ACTIONS]\nAction = a\n", {"a"}},
        {"blanks inside the header", "[ actions ]\naction = a\n", {"a"}},
        {"only the actions section counts",
         "action = a\n[actions]\naction = b\nname = c\n[other]\naction = d\n",
         {"b"}},
        {"sections may come back", "[actions]\naction = a\n[x]\n[actions]\naction = b\n", {"a", "b"}},
        {"'=' inside a name", "[actions]\naction = read(x=1)\n", {"read(x=1)"}},
        {"inner blanks kept", "[actions]\naction =  blank check  \n", {"blank check"}},
        {"UTF-8 name", "[actions]\naction = pr\xc3\xbc" "fen\n", {"pr\xc3\xbc" "fen"}},
        {"empty names skipped", "[actions]\naction =\naction = a\n", {"a"}},
        {"unclosed header ends the section", "[actions]\naction = a\n[actions\naction = b\n", {"a"}},
        {"empty file", "", {}},
    };

    TemporaryFolder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.write(QStringLiteral("app.apl"), c.content);
        AplData data;
        ASSERT_TRUE(parseFile(data, path)) << data.errorString().toStdString();
        EXPECT_EQ(toStd(data.actionNames()), c.expected);
        EXPECT_TRUE(data.errorString().isEmpty());
    }
}

TEST(AplDataTest, refusesDamagedFiles)
{
    struct Case {
        const char *name;
        QByteArray content;
        bool strict;
        const char *problem; // part of the error text besides the file name
    };
    QByteArray hugeLine = "[actions]\naction = ";
    hugeLine += QByteArray(AplData::maxLineLength + 1, 'x');
    QByteArray hugeFile;
    while (hugeFile.size() <= AplData::maxFileSize)
        hugeFile += "action = program\n";

    const std::vector<Case> cases = {
        {"zero byte", QByteArray("[actions]\naction = a\0b\n", 23), false, "offset 20"},
        {"binary junk", QByteArray("\x7f" "ELF\x02\x01\x01\x00\x00\x00", 10), false, "zero byte"},
        {"invalid UTF-8", "[actions]\naction = a\n\xff\xfe\xfd\n", false, "line 3"},
        {"huge line", hugeLine, false, "line 2"},
        {"huge file", hugeFile, false, "larger than"},
        {"strict: stray line", "[actions]\naction = a\njunk\n", true, "line 3"},
        {"strict: unclosed header", "[actions\n", true, "line 1"},
        {"strict: nameless action", "[actions]\r\naction = \r\n", true, "line 2"},
    };

    TemporaryFolder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.write(QStringLiteral("bad.apl"), c.content);
        AplData data;
        // a failure must not leave the actions of an earlier parse behind
        const QString good = folder.write(QStringLiteral("good.apl"), "[actions]\naction = a\n");
        ASSERT_TRUE(parseFile(data, good));
        EXPECT_FALSE(parseFile(data, path, c.strict));
        EXPECT_TRUE(data.actionNames().isEmpty());
        EXPECT_TRUE(data.errorString().contains(path)) << data.errorString().toStdString();
        EXPECT_TRUE(data.errorString().contains(QString::fromLatin1(c.problem))) << data.errorString().toStdString();
    }

    // The lenient reading of the strict cases still succeeds.
    const QString lenient = folder.write(QStringLiteral("lenient.apl"), "[actions]\naction = \njunk\n[x\n");
    AplData data;
    EXPECT_TRUE(parseFile(data, lenient));
}

TEST(AplDataTest, refusesWhatIsNotAFile)
{
    TemporaryFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("adir"));
    const QString app = folder.write(QStringLiteral("app.apl"), "[actions]\naction = a\n");

    struct Case {
        QString path;
        int parseType;
    };
    std::vector<Case> cases = {
        {folder.filePath(QStringLiteral("missing.apl")), AplData::ParseActions},
        {folder.filePath(QStringLiteral("adir")), AplData::ParseActions},
        {app, 0},
        {app, 4},
    };
    // a device that never ends must not be read forever
    if (QFile::exists(QStringLiteral("/dev/zero")))
        cases.push_back({QStringLiteral("/dev/zero"), AplData::ParseActions});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        AplData data;
        EXPECT_FALSE(data.parse(QFile::encodeName(c.path), c.parseType, false, false));
        EXPECT_TRUE(data.errorString().contains(c.path)) << data.errorString().toStdString();
        EXPECT_TRUE(data.actionNames().isEmpty());
    }

    AplData data;
    EXPECT_FALSE(data.parse(QByteArray(), AplData::ParseActions, false, false));
    EXPECT_FALSE(data.errorString().isEmpty());
}

// Whatever the bytes, the reader answers with either actions or an error.
TEST(AplDataTest, survivesRandomBytes)
{
    TemporaryFolder folder;
    QRandomGenerator random(1149);
    const QByteArray alphabet("[]=#;\r\n actionsACTIONS\xc3\xa4\xff", 27);
    for (int round = 0; round < 300; ++round) {
        QByteArray content(random.bounded(2000), '\0');
        const bool textLike = round % 2 == 0;
        for (char &byte : content)
            byte = textLike ? alphabet[random.bounded(alphabet.size())] : char(random.bounded(256));
        const QString path = folder.write(QStringLiteral("random.apl"), content);
        AplData data;
        if (!parseFile(data, path)) {
            EXPECT_FALSE(data.errorString().isEmpty()) << round;
            continue;
        }
        for (const QString &name : data.actionNames())
            EXPECT_FALSE(name.isEmpty()) << round;
    }
}
