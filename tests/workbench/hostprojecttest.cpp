#include "qstringprinter.h"
#include "hostproject.h"
#include "temporaryfolder.h"

#include <QXmlStreamWriter>

#include <gtest/gtest.h>

namespace {

const QByteArray DemoProject = R"(<?xml version="1.0" encoding="UTF-8"?>
<project name="Demo" formatIndex="1">
  <applications>
    <application name="Chain" type="Chain Integrity Test" program="apps/chain.sh" folder="apps">
      <tap>J1</tap><tap>J2</tap>
      <oper>Execute Test</oper><oper>Test Infrastructure</oper>
      <show>Status</show>
      <parameter key="Level" value="33"/>
    </application>
  </applications>
  <instruments>
    <instrument name="BCU" address="sim:1" preferred="1">
      <action>ExecReset</action>
      <parameter key="Reset.0" value="bcusim --reset"/>
    </instrument>
  </instruments>
  <plugin name="ORVSequencer"><sequence Title="A"/></plugin>
</project>
)";

} // namespace

TEST(HostProjectTest, ReadsEveryPartAndWritesItBackTheSame)
{
    TemporaryFolder folder;
    folder.write(QStringLiteral("project.xml"), DemoProject);

    HostProject project;
    ASSERT_TRUE(project.open(folder.path())) << project.errorString().toStdString();
    EXPECT_EQ(project.formatIndex, 1);
    // as cut from the file, before a DOM of it is made
    EXPECT_EQ(project.pluginXml(QStringLiteral("ORVSequencer")),
              QByteArray("<plugin name=\"ORVSequencer\"><sequence Title=\"A\"/></plugin>"));
    ASSERT_EQ(project.applications.size(), 1);
    const ProjectApplication *chain = project.application(QStringLiteral("Chain"));
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(project.application(QStringLiteral("chain")), nullptr);
    EXPECT_EQ(chain->tapConnectors, QStringList({QStringLiteral("J1"), QStringLiteral("J2")}));
    EXPECT_EQ(chain->operations.size(), 2);
    EXPECT_EQ(QStringList({project.name, chain->type, chain->parameters.value(QStringLiteral("Level")),
                           project.preferredInstrument(),
                           project.instrument(QStringLiteral("BCU"))->parameters.value(QStringLiteral("Reset.0")),
                           project.pluginElement(QStringLiteral("ORVSequencer")).firstChildElement().attribute(
                               QStringLiteral("Title"))}),
              QStringList({"Demo", "Chain Integrity Test", "33", "BCU", "bcusim --reset", "A"}));

    ASSERT_TRUE(project.save());
    HostProject again;
    ASSERT_TRUE(again.open(folder.path()));
    EXPECT_EQ(again.name, project.name);
    EXPECT_EQ(again.application(QStringLiteral("Chain"))->showOptions, chain->showOptions);
    EXPECT_EQ(again.instruments.first().actions, QStringList{QStringLiteral("ExecReset")});
    EXPECT_TRUE(again.instruments.first().preferred);
    EXPECT_EQ(again.pluginElement(QStringLiteral("ORVSequencer")).firstChildElement().tagName(),
              QStringLiteral("sequence"));

    // text XML cannot carry is refused, and the file stays as it was
    const QByteArray stored = folder.read(QStringLiteral("project.xml"));
    again.instruments.first().parameters.insert(QStringLiteral("Reset.0"), QStringLiteral("a\x01"));
    EXPECT_FALSE(again.save());
    EXPECT_TRUE(again.errorString().contains(QLatin1String("XML cannot carry"))) << again.errorString().toStdString();
    again.instruments.first().parameters.insert(QStringLiteral("Reset.0"), QString());
    again.pluginElement(QStringLiteral("ORVSequencer")).firstChildElement().setAttribute(
        QStringLiteral("Title"), QStringLiteral("b\x02"));
    EXPECT_FALSE(again.save());
    EXPECT_TRUE(again.errorString().contains(QLatin1String("\"Title\""))) << again.errorString().toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("project.xml")), stored);
    // so is what a plug-in refuses to write into the stream
    EXPECT_FALSE(again.save(QStringLiteral("ORVSequencer"), [](QXmlStreamWriter &, QString &problem) {
        problem = QStringLiteral("<as> attribute \"sa\" cannot be stored in XML");
        return false;
    }));
    EXPECT_TRUE(again.errorString().contains(QLatin1String("\"sa\""))) << again.errorString().toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("project.xml")), stored);

    QDomElement fresh = again.resetPluginElement(QStringLiteral("ORVSequencer"));
    EXPECT_TRUE(fresh.firstChildElement().isNull());
    EXPECT_TRUE(again.pluginElement(QStringLiteral("ORVSequencer")).firstChildElement().isNull());
}

TEST(HostProjectTest, ADamagedProjectIsRefusedAndChangesNothing)
{
    const struct
    {
        const char *name;
        QByteArray content;
        const char *mentions;
    } cases[] = {
        {"truncated", DemoProject.left(DemoProject.size() / 2), "damaged"},
        {"wrong root", "<sequences/>", "<sequences>"},
        {"empty", "", "damaged"},
        // a byte nobody can see in an editor is named where it stands
        {"control byte", QByteArray(DemoProject).replace("Title=\"A\"", "Title=\"\x01\""),
         "Unexpected character U+0001."},
        // the reader names the place it decoded to, not the byte
        {"not UTF-8", QByteArray(DemoProject).replace("Title=\"A\"", "Title=\"\xff\""), "(line 17, column 48)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder good;
        good.write(QStringLiteral("project.xml"), DemoProject);
        HostProject project;
        ASSERT_TRUE(project.open(good.path()));

        TemporaryFolder bad;
        const QString path = bad.write(QStringLiteral("project.xml"), c.content);
        EXPECT_FALSE(project.open(bad.path()));
        EXPECT_TRUE(project.errorString().contains(path)) << project.errorString().toStdString();
        EXPECT_TRUE(project.errorString().contains(QLatin1String(c.mentions)))
            << project.errorString().toStdString();
        // the project that was open is still the one in memory, and the bad file is untouched
        EXPECT_EQ(project.name, QStringLiteral("Demo"));
        EXPECT_EQ(project.directory(), good.path());
        EXPECT_EQ(bad.read(QStringLiteral("project.xml")), c.content);
    }

    HostProject missing;
    EXPECT_FALSE(missing.open(QStringLiteral("/nonexistent/project")));
    EXPECT_TRUE(missing.errorString().contains(QLatin1String("/nonexistent/project")));
}

TEST(HostProjectTest, CreateRefusesToOverwriteAProject)
{
    TemporaryFolder folder;
    HostProject project;
    ASSERT_TRUE(project.create(folder.filePath(QStringLiteral("new/deep")), QStringLiteral("Fresh")));
    HostProject opened;
    ASSERT_TRUE(opened.open(folder.filePath(QStringLiteral("new/deep"))));
    EXPECT_EQ(opened.name, QStringLiteral("Fresh"));
    EXPECT_TRUE(opened.applications.isEmpty());

    HostProject second;
    EXPECT_FALSE(second.create(folder.filePath(QStringLiteral("new/deep")), QStringLiteral("Other")));
    HostProject still;
    ASSERT_TRUE(still.open(folder.filePath(QStringLiteral("new/deep"))));
    EXPECT_EQ(still.name, QStringLiteral("Fresh"));
}

TEST(HostProjectTest, APlugInsElementIsHandedOnWhateverComesBeforeIt)
{
    const QByteArray element = "<plugin name='ORVSequencer'><sequence Title=\"\xc3\xa9\xf0\x9f\x98\x80 &amp; A\"/></plugin>";
    const struct
    {
        const char *name;
        QByteArray before;
    } cases[] = {
        {"plain", "<project name=\"P\">"},
        {"byte order mark", "\xEF\xBB\xBF<project name=\"P\">"},
        {"line ends and a comment", "<?xml version=\"1.0\"?>\r\n<project name=\"\xe4\xb8\xad\xf0\x9f\x98\x80\">\r\n<!-- <plugin -->\r\n  "},
        {"another encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project name=\"\xe9\">"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        folder.write(QStringLiteral("project.xml"), c.before + element + "</project>");
        HostProject project;
        ASSERT_TRUE(project.open(folder.path())) << project.errorString().toStdString();
        const QByteArray text = project.pluginXml(QStringLiteral("ORVSequencer"));
        // a UTF-8 file's element is handed on as it is in the file
        if (!c.before.contains("ISO-8859-1"))
            EXPECT_EQ(text, element);
        QDomDocument read;
        ASSERT_TRUE(read.setContent(text)) << text.toStdString();
        const QByteArray title = "\xc3\xa9\xf0\x9f\x98\x80 & A";
        EXPECT_EQ(read.documentElement().firstChildElement().attribute(QStringLiteral("Title")),
                  c.before.contains("ISO-8859-1") ? QString::fromLatin1(title) : QString::fromUtf8(title));
    }
}
