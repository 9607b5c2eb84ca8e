#include "democopy.h"
#include "seqrunprocess.h"
#include "temporaryfolder.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Texts as a person might type them: a path separator, a quote that would
// end a single-quoted link, and markup (as the project file holds them).
void makeDemoTextsHostile(const QString &project)
{
    const QByteArray markup = "&lt;b&gt;bold&lt;/b&gt; &amp; co";
    QFile file(project + QStringLiteral("/project.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray xml = file.readAll();
    file.close();
    for (const QByteArray &attribute :
         {QByteArray("Column.Item=\"Label board\""), QByteArray("Column.Property=\"Is the board seated in...\""),
          QByteArray("Description=\"Interconnect, flash and memory test of the demo board, two cycles\"")}) {
        ASSERT_TRUE(xml.contains(attribute)) << attribute.constData();
        const QByteArray name = attribute.left(attribute.indexOf('='));
        xml.replace(attribute, name + "=\"Check 5V/3V3 it&apos;s " + markup + '"');
    }
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(xml);
}

} // namespace

// Every link of every report the demo runs leave behind (run reports,
// exported and unit reports) opens a file that is there, whatever the
// step's item name holds.
TEST(ReportLinksTest, EveryLinkOfEveryDemoReportResolves)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    makeDemoTextsHostile(project);
    seqrun({QStringLiteral("run"), project, QStringLiteral("Board Test")});
    seqrun({QStringLiteral("run"), project, QStringLiteral("Instrument Check"),
            QStringLiteral("--answer"), QStringLiteral("yes")});

    const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""));
    int links = 0;
    QStringList kinds;
    QDirIterator reports(project + QStringLiteral("/Sequences"), {QStringLiteral("*.html")},
                         QDir::Files, QDirIterator::Subdirectories);
    while (reports.hasNext()) {
        const QFileInfo report(reports.next());
        QFile file(report.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        // markup typed into an item stays text
        EXPECT_FALSE(html.contains(QLatin1String("<b>bold"))) << report.filePath().toStdString();
        // every anchor's link is double-quoted
        EXPECT_EQ(html.count(QLatin1String("<a ")), html.count(href)) << report.filePath().toStdString();
        for (const QRegularExpressionMatch &link : href.globalMatch(html)) {
            const QString target = report.dir().filePath(QUrl::fromPercentEncoding(link.captured(1).toUtf8()));
            EXPECT_TRUE(QFileInfo(target).isFile())
                << report.filePath().toStdString() << " -> " << link.captured(1).toStdString();
            ++links;
            kinds.append(report.dir().dirName());
        }
    }
    // the run reports, the export and the unit reports all had links to check
    EXPECT_GT(links, 20);
    EXPECT_TRUE(kinds.contains(QStringLiteral("Export")));
    EXPECT_TRUE(kinds.contains(QStringLiteral("Board Test")));
    EXPECT_TRUE(kinds.contains(QStringLiteral("Instrument Check")));
    EXPECT_TRUE(std::any_of(kinds.cbegin(), kinds.cend(),
                            [](const QString &kind) { return kind.startsWith(QLatin1String("DB-")); }))
        << kinds.join(u' ').toStdString();
}
