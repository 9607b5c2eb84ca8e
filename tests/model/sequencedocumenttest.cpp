#include "applicationtypes.h"
#include "databaseservice.h"
#include "executionparameters.h"
#include "hostproject.h"
#include "hxprojectversion.h"
#include "orderedxmlwriter.h"
#include "hxreport.h"
#include "hxreportlist.h"
#include "hxsequence.h"
#include "hxsequencelist.h"
#include "sequencedocument.h"
#include "workbenchhost.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

namespace {

HxSequenceItemPtr fullStep(int kind, const QString &number)
{
    auto item = std::make_shared<HxSequenceItem>();
    item->itemType = kind;
    item->commandEx = QStringLiteral("30,ding.wav");
    item->condition = 2;
    item->timeOut = 12345678;
    item->count = 3;
    item->exitCode = 66000;
    item->status = 4;
    item->type = kind == int(ItemType::Operation) ? 5 : 7;
    item->globalGang = true;
    item->hostStatusId = 11;
    item->hostStatusText = QStringLiteral("Timeout after \"30\" s");
    item->columnNumber = number;
    item->columnType = kind == int(ItemType::Application) ? QStringLiteral("NAND Programming")
                                                          : QStringLiteral("Sys");
    item->columnOperation = QStringLiteral("Test Infrastructure");
    item->columnProperty = QStringLiteral("(%1 == 1) && <2>").arg(number);
    item->columnItem = QStringLiteral("Item & <%1>").arg(number);
    item->columnShow = QStringLiteral("Diagnostics");
    item->columnStatus = QStringLiteral("Timeout");
    item->operationItemId = QStringLiteral("IF");
    item->command.setName(QStringLiteral("Power"));
    item->command.setCommand(QStringLiteral("power.sh %sn"));
    item->command.setDir(QStringLiteral("/opt/power"));
    item->command.setLaunchInDesignDir(true);
    item->command.setAddToLaunchMenu(true);
    item->command.setConsoleApp(true);
    item->command.setInternal(true);
    item->command.setAllowUserInteraction(true);
    item->command.setShowImmediateOutput(true);
    item->command.setEditBeforeLaunch(true);
    item->command.setFailExitCode(100);
    item->command.setPassExitCode(7);
    item->pauseMessageText = QStringLiteral("Insert board\nthen press Yes");
    item->pauseMessageDefaultAnswer = 1;
    item->pauseMessageAnswerNoIsPass = true;
    item->addToReport = true;
    item->passAction = QStringLiteral("Next");
    item->failAction = QStringLiteral("Redo");
    item->rejectAction = QStringLiteral("Prev");
    item->systemErrorAction = QStringLiteral("Stop");
    item->saveResultsOnFail = true;
    item->saveResultsOnPass = true;
    item->propertiesOperation = QStringLiteral("Execute Test");
    item->propertiesShow = QStringLiteral("Status");
    item->statusToSequenceStatus = true;
    item->parameters = {{QStringLiteral("Flags"), QStringLiteral("268435456")},
                        {QStringLiteral("TapInfo32.Level"), QStringLiteral("33")},
                        {QStringLiteral("InstrumentName"), QStringLiteral("Preferred")}};
    item->applicationClass = ApplicationTypes::applicationClass(item->columnType, item->columnOperation);
    return item;
}

HxSequence *fullSequence(const QString &title)
{
    auto *sequence = new HxSequence(title, QStringLiteral("every field, \"quoted\" & <marked>"));
    sequence->setRepeat(true);
    sequence->setRepeatCount(5);
    sequence->setGlobalGang(true);
    sequence->setStatusBannerApp(true);
    sequence->setStatusBannerSequence(true);
    sequence->setUnitIdentification(true);
    sequence->setUnitSerialNumber(QStringLiteral("SN-0099"));
    sequence->setUnitFolder(QStringLiteral("Batch 7"));
    sequence->setUnitSubDirMask(QStringLiteral("Unit_###"));
    sequence->setUnitSerialNumberAutoIncrement(true);
    sequence->setUnitSerialNumberManualAdjust(true);
    sequence->setUnitAutoPrompt(true);
    sequence->setUnitSubDirAutoIncrement(true);
    sequence->setUnitSubDirManualAdjust(true);
    sequence->setUnitSubDirIsSerialNumber(true);
    sequence->appendItem(fullStep(int(ItemType::Application), QStringLiteral("1")));
    sequence->appendItem(fullStep(int(ItemType::Operation), QStringLiteral("2")));
    sequence->appendItem(fullStep(int(ItemType::Command), QStringLiteral("3")));
    return sequence;
}

class SequenceDocumentTest : public ::testing::Test
{
protected:
    QDomElement saveAt(int index, HxSequenceList &sequences, HxReportList &reports)
    {
        project.formatIndex = index;
        host.setProject(&project);
        QDomElement root = document.createElement(QStringLiteral("plugin"));
        document.appendChild(root);
        SequenceDocument(host.link(), sequences, reports).save(root);
        return root;
    }

    // The plug-in's element as the host writes it from the DOM.
    QByteArray domBytes(int index, HxSequenceList &sequences, HxReportList &reports, QString &problem)
    {
        document = QDomDocument();
        QDomElement root = saveAt(index, sequences, reports);
        root.setAttribute(QStringLiteral("name"), QStringLiteral("ORVSequencer"));
        QByteArray bytes;
        problem.clear();
        if (!OrderedXmlWriter::toByteArray(root, bytes, problem))
            return QByteArray();
        return bytes;
    }

    // The same written straight into the host's stream.
    QByteArray streamBytes(int index, HxSequenceList &sequences, HxReportList &reports,
                           QString &problem)
    {
        project.formatIndex = index;
        host.setProject(&project);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter stream(&buffer);
        stream.setAutoFormatting(true);
        stream.setAutoFormattingIndent(2);
        stream.writeStartDocument();
        stream.writeStartElement(QStringLiteral("plugin"));
        stream.writeAttribute(QStringLiteral("name"), QStringLiteral("ORVSequencer"));
        if (!SequenceDocument(host.link(), sequences, reports).save(stream, problem))
            return QByteArray();
        stream.writeEndElement();
        stream.writeEndDocument();
        return bytes;
    }

    // Read as the host hands it over: from bytes in memory, the steps of each
    // sequence when first asked for.
    // With `depth` 2 the element is read where it stands in a larger
    // document, token by token up to its end tag.
    void loadStream(const QByteArray &bytes, HxSequenceList &sequences, HxReportList &reports,
                    int depth = 1)
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        QXmlStreamReader reader(&device);
        for (int level = 0; level < depth; ++level)
            ASSERT_TRUE(reader.readNextStartElement());
        VemoDatabase::HxProjectVersion version;
        SequenceDocument(host.link(), sequences, reports).load(reader, version);
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        if (depth > 1)
            EXPECT_TRUE(reader.isEndElement());
    }

    WorkbenchHost host;
    HostProject project;
    QDomDocument document;
};

void expectSameContent(const HxSequenceList &a, const HxReportList &aReports,
                       const HxSequenceList &b, const HxReportList &bReports)
{
    ASSERT_EQ(a.titles(), b.titles());
    for (int i = 0; i < a.count(); ++i) {
        EXPECT_EQ(a.at(i)->description(), b.at(i)->description());
        EXPECT_EQ(a.at(i)->repeatCount(), b.at(i)->repeatCount());
        EXPECT_EQ(a.at(i)->unitSubDirMask(), b.at(i)->unitSubDirMask());
        ASSERT_EQ(a.at(i)->items().size(), b.at(i)->items().size());
        for (int j = 0; j < a.at(i)->items().size(); ++j)
            EXPECT_EQ(*a.at(i)->items().at(j), *b.at(i)->items().at(j)) << i << "/" << j;
    }
    ASSERT_EQ(aReports.count(), bReports.count());
    for (int i = 0; i < aReports.count(); ++i) {
        EXPECT_EQ(aReports.at(i)->sequenceTitle, bReports.at(i)->sequenceTitle);
        EXPECT_EQ(aReports.at(i)->title, bReports.at(i)->title);
        EXPECT_EQ(aReports.at(i)->fileName, bReports.at(i)->fileName);
    }
}

} // namespace

TEST_F(SequenceDocumentTest, EveryFieldSurvivesBothPathsWhichGiveTheSameBytes)
{
    for (int index : {0, 1}) {
        SCOPED_TRACE(index);
        HxSequenceList sequences;
        HxReportList reports;
        HxSequence *full = fullSequence(QStringLiteral("Full & <\"first\">"));
        auto none = std::make_shared<HxSequenceItem>();
        none->columnItem = QStringLiteral("line one\nline two\r\n\ttabbed \u00e9\u4e2d");
        none->parameters = {{QStringLiteral("Empty"), QString()},
                            {QStringLiteral("Note"), QStringLiteral("a'b\"c<d>&e\nf")}};
        full->appendItem(none);
        sequences.append(full);
        sequences.append(new HxSequence(QStringLiteral("Empty"), QString()));
        for (int i = 0; i < 3; ++i)
            reports.append(new HxReport(full->title(), QStringLiteral("2026-02-03 / 09:05:0%1").arg(i),
                                        QStringLiteral("Full_%1.html").arg(i)));
        reports.append(new HxReport(QStringLiteral("Empty"), QStringLiteral("run\nnext"), QString()));

        QString domProblem, streamProblem;
        const QByteArray fromDom = domBytes(index, sequences, reports, domProblem);
        const QByteArray fromStream = streamBytes(index, sequences, reports, streamProblem);
        ASSERT_TRUE(domProblem.isEmpty() && streamProblem.isEmpty()) << domProblem.toStdString();
        EXPECT_EQ(fromStream, fromDom);
        EXPECT_EQ(fromDom.contains("<plugin name=\"ORVSequencer\" version="), index == 1);
        // the save numbered every step's parameters
        for (const HxSequenceItemPtr &item : full->items())
            EXPECT_EQ(item->parameters.value(QStringLiteral("ItemNumber")), item->columnNumber);

        // both readers take the same steps from it
        QDomDocument parsed;
        ASSERT_TRUE(parsed.setContent(fromDom));
        HxSequenceList domRead, streamRead;
        HxReportList domReports, streamReports;
        VemoDatabase::HxProjectVersion version;
        SequenceDocument(host.link(), domRead, domReports).load(parsed.documentElement(), version);
        loadStream(fromStream, streamRead, streamReports);
        expectSameContent(domRead, domReports, streamRead, streamReports);
        EXPECT_EQ(version.getHxpIndex(), index);
        EXPECT_EQ(host.database().lastLoadedVersion(), version.getVersion());
        const HxSequence *copy = streamRead.at(0);
        EXPECT_EQ(copy->description(), full->description());
        EXPECT_EQ(copy->repeatCount(), 5);
        EXPECT_TRUE(copy->unitSubDirIsSerialNumber());
        EXPECT_EQ(copy->unitSubDirMask(), full->unitSubDirMask());
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(*copy->items().at(i), *full->items().at(i)) << i;
        EXPECT_EQ(host.outstandingReferences(), 0);
        // a copy made before the steps were asked for shares them all the same
        HxSequenceList again;
        HxReportList againReports;
        loadStream(fromStream, again, againReports);
        const HxSequence copied(*again.at(0));
        ASSERT_EQ(copied.items().size(), 4);
        EXPECT_EQ(copied.items().first(), again.at(0)->items().first());

        // text XML cannot carry is refused by both with the same words
        none->parameters.insert(QStringLiteral("Bad"), QStringLiteral("a\x01"));
        domBytes(index, sequences, reports, domProblem);
        EXPECT_TRUE(streamBytes(index, sequences, reports, streamProblem).isEmpty());
        EXPECT_EQ(streamProblem, domProblem);
        EXPECT_TRUE(streamProblem.contains(QLatin1String("\"Bad\""))) << streamProblem.toStdString();
        none->parameters.remove(QStringLiteral("Bad"));
        none->parameters.insert(QStringLiteral("Bd\x02"), QStringLiteral("1"));
        domBytes(index, sequences, reports, domProblem);
        streamBytes(index, sequences, reports, streamProblem);
        EXPECT_EQ(streamProblem, domProblem);
        EXPECT_TRUE(streamProblem.contains(QLatin1String("name \"Bd\""))) << streamProblem.toStdString();
    }
}

TEST_F(SequenceDocumentTest, ShortNamesLeaveDefaultsOutLongNamesWriteEverything)
{
    HxSequenceList sequences;
    HxReportList reports;
    auto *sequence = new HxSequence(QStringLiteral("Only a title"), QString());
    sequence->setRepeatCount(-1);
    auto step = std::make_shared<HxSequenceItem>();
    step->type = -1;
    step->count = -1;
    step->parameters = {{QStringLiteral("Empty"), QString()}};
    sequence->appendItem(step);
    sequences.append(sequence);

    const QDomElement shortRoot = saveAt(1, sequences, reports);
    const QDomElement shortSequence = shortRoot.firstChildElement(QStringLiteral("as"));
    EXPECT_EQ(shortSequence.attributes().count(), 1);
    EXPECT_EQ(shortSequence.attribute(QStringLiteral("sa")), QStringLiteral("Only a title"));
    const QDomElement shortStep = shortSequence.firstChildElement(QStringLiteral("ae"));
    EXPECT_FALSE(shortStep.hasAttribute(QStringLiteral("eb")));   // Type -1 is left out
    EXPECT_EQ(shortStep.attribute(QStringLiteral("ef")), QStringLiteral("-1"));   // Count is kept
    EXPECT_EQ(shortStep.attribute(QStringLiteral("xk")), QString());   // pass code 0 left out
    EXPECT_EQ(shortStep.attribute(QStringLiteral("xh")), QStringLiteral("1"));
    const QDomElement shortParameters = shortStep.firstChildElement(QStringLiteral("ai"));
    EXPECT_FALSE(shortParameters.hasAttribute(QStringLiteral("Empty")));
    EXPECT_EQ(shortParameters.attribute(QStringLiteral("ItemNumber")), QString());

    document = QDomDocument();
    const QDomElement longRoot = saveAt(0, sequences, reports);
    const QDomElement longSequence = longRoot.firstChildElement(QStringLiteral("sequence"));
    EXPECT_EQ(longSequence.attributes().count(), 17);
    EXPECT_EQ(longSequence.attribute(QStringLiteral("RepeatCount")), QStringLiteral("-1"));
    const QDomElement longStep = longSequence.firstChildElement(QStringLiteral("sequenceelement"));
    EXPECT_EQ(longStep.attributes().count(), 45);
    // the project writer knows every attribute, in the order of the format
    EXPECT_EQ(OrderedXmlWriter::attributeOrder(longSequence), OrderedXmlWriter::formatOrder(QStringLiteral("sequence")));
    EXPECT_EQ(OrderedXmlWriter::attributeOrder(longStep), OrderedXmlWriter::formatOrder(QStringLiteral("sequenceelement")));
    EXPECT_EQ(longStep.attribute(QStringLiteral("OldType")), QStringLiteral("-1"));
    EXPECT_EQ(longStep.attribute(QStringLiteral("Type")), QStringLiteral("-1"));
    EXPECT_EQ(longStep.attribute(QStringLiteral("Condition")), QStringLiteral("0"));
    EXPECT_EQ(longStep.attribute(QStringLiteral("GlobalGang")), QStringLiteral("0"));
    const QDomElement longParameters = longStep.firstChildElement(QStringLiteral("instrumentparams"));
    EXPECT_TRUE(longParameters.hasAttribute(QStringLiteral("Empty")));
    EXPECT_TRUE(longParameters.hasAttribute(QStringLiteral("ItemNumber")));
}

TEST_F(SequenceDocumentTest, ReadingIsTolerantOfWhatItDoesNotKnow)
{
    const QString text = QStringLiteral(
        "<plugin>"
        "<!-- <sequence Title='commented'/> --><?note </plugin>?>"
        "<sequence Title='A' Description='a > b /' RepeatCount='x12' Repeat='yes' Uut='2'>"
        "  <![CDATA[</sequence></plugin>]]>"
        "  <sequenceelement Status='abc' Type='-1' OldType='99' Column.Type='Sys'"
        "                   Column.Operation='Execute Command' Count='-1'>"
        "    <instrumentparams Level='33' TapInfo2.Level='0' TapInfo2.Signals='4'"
        "                      TapInfo2.UseGang='0' TapInfo02.Level='0'/>"
        "    <instrumentparams Level='99'/>"
        "  </sequenceelement>"
        "  <sequenceelement Column.Item='no\r\nkind\ta\rb\nc&#13;&#10;&#9;d&amp;&lt;&gt;&quot;&apos;&#x4e2d;\u00e9'/>"
        "  <unknown/>"
        "</sequence>"
        "<as sa='short names are another format'/>"
        "<report seqname='A' title='first' filename='a1.html'/>"
        "<report seqname='Gone' title='orphan' filename='g.html'/>"
        "<report seqname='A' title='second' filename='a2.html'/>"
        "</plugin>");
    QDomDocument source;
    ASSERT_TRUE(source.setContent(text));
    HxSequenceList sequences;
    HxReportList reports;
    sequences.append(new HxSequence(QStringLiteral("replaced by the load"), QString()));
    // a name no project file can hold, which the parser may still let through
    source.documentElement().firstChildElement().firstChildElement().firstChildElement().setAttribute(
        QString::fromUtf16(u"Thr\0eshold", 10), QStringLiteral("1"));
    VemoDatabase::HxProjectVersion version;
    SequenceDocument(host.link(), sequences, reports).load(source.documentElement(), version);

    ASSERT_EQ(sequences.titles(), QStringList{QStringLiteral("A")});
    const HxSequence *a = sequences.at(0);
    EXPECT_EQ(a->repeatCount(), 0);
    EXPECT_FALSE(a->repeat());
    EXPECT_TRUE(a->unitIdentification());
    ASSERT_EQ(a->items().size(), 2);
    const HxSequenceItem &first = *a->items().at(0);
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.type, -1);
    EXPECT_EQ(first.count, -1);
    EXPECT_EQ(first.applicationClass, 0);   // from "Sys", not from the stored 99
    // A TAP record field at 0 is left out; other zeros stay.
    EXPECT_EQ(first.parameters,
              ExecutionParameters::Parameters({{QStringLiteral("Level"), QStringLiteral("33")},
                                               {QStringLiteral("TapInfo2.Signals"), QStringLiteral("4")},
                                               {QStringLiteral("TapInfo2.UseGang"), QStringLiteral("0")},
                                               {QStringLiteral("TapInfo02.Level"), QStringLiteral("0")}}));
    EXPECT_EQ(a->items().at(1)->kind(), ItemType::None);
    EXPECT_EQ(a->items().at(1)->columnItem, QStringLiteral("no kind a b c\r\n\td&<>\"'\u4e2d\u00e9"));
    ASSERT_EQ(reports.count(), 2);
    EXPECT_EQ(reports.at(0)->title, QStringLiteral("first"));
    EXPECT_EQ(reports.at(1)->title, QStringLiteral("second"));

    // the stream reader is as tolerant
    HxSequenceList streamed;
    HxReportList streamedReports;
    loadStream(text.toUtf8(), streamed, streamedReports);
    expectSameContent(sequences, reports, streamed, streamedReports);
    EXPECT_EQ(streamed.at(0)->description(), QStringLiteral("a > b /"));
    HxSequenceList inProject;
    HxReportList inProjectReports;
    loadStream("<project>" + text.toUtf8() + "</project>", inProject, inProjectReports, 2);
    expectSameContent(sequences, reports, inProject, inProjectReports);
}

TEST_F(SequenceDocumentTest, ADocumentOfOneIndexReadAsTheOtherHasNoSequences)
{
    HxSequenceList sequences;
    HxReportList reports;
    sequences.append(fullSequence(QStringLiteral("Full")));
    QDomElement root = saveAt(1, sequences, reports);
    root.removeAttribute(QStringLiteral("version"));
    HxSequenceList loaded;
    VemoDatabase::HxProjectVersion version;
    SequenceDocument(host.link(), loaded, reports).load(root, version);
    EXPECT_TRUE(loaded.isEmpty());

    document = QDomDocument();
    QDomElement longRoot = saveAt(0, sequences, reports);
    longRoot.setAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    SequenceDocument(host.link(), loaded, reports).load(longRoot, version);
    EXPECT_TRUE(loaded.isEmpty());
}

TEST_F(SequenceDocumentTest, ImagePathsFollowTheArchiveRules)
{
    ProjectApplication flash;
    flash.name = QStringLiteral("Flash");
    flash.type = QStringLiteral("Flash Image Runner");
    flash.folder = QStringLiteral("apps/flash");
    project.applications = {flash};
    HostProject where;
    // an application folder needs a project folder to be relative to
    ASSERT_TRUE(where.create(QDir::temp().filePath(QStringLiteral("orv-doc-test-%1")
                                                       .arg(QCoreApplication::applicationPid())),
                             QStringLiteral("P")));
    where.applications = project.applications;
    project = where;

    auto step = std::make_shared<HxSequenceItem>();
    step->itemType = int(ItemType::Application);
    step->columnItem = QStringLiteral("Flash");
    const QString inside = project.directory() + QStringLiteral("/apps/flash/img/u12.bin");
    step->parameters = {{QStringLiteral("ImageFileName"), inside},
                        {QStringLiteral("ImageLoadFileName"), QStringLiteral("/elsewhere/u13.bin")},
                        {QStringLiteral("ImageSaveFileName"), QStringLiteral("rel/u14.bin")},
                        {QStringLiteral("JamFileName"), inside}};
    auto *sequence = new HxSequence(QStringLiteral("S"), QString());
    sequence->appendItem(step);
    HxSequenceList sequences;
    sequences.append(sequence);
    HxReportList reports;

    host.setValue(QStringLiteral("SaveAsFromArchiver"), QStringLiteral("new"));
    const QDomElement archived = saveAt(0, sequences, reports)
                                     .firstChildElement()
                                     .firstChildElement()
                                     .firstChildElement(QStringLiteral("instrumentparams"));
    EXPECT_EQ(archived.attribute(QStringLiteral("ImageFileName")), QStringLiteral("img/u12.bin"));
    EXPECT_EQ(archived.attribute(QStringLiteral("ImageLoadFileName")), QStringLiteral("u13.bin"));
    EXPECT_EQ(archived.attribute(QStringLiteral("ImageSaveFileName")), QStringLiteral("rel/u14.bin"));
    EXPECT_EQ(archived.attribute(QStringLiteral("JamFileName")), inside);   // not an image key

    document = QDomDocument();
    host.setValue(QStringLiteral("SaveAsFromArchiver"), QStringLiteral("old"));
    const QDomElement restored = saveAt(0, sequences, reports)
                                     .firstChildElement()
                                     .firstChildElement()
                                     .firstChildElement(QStringLiteral("instrumentparams"));
    EXPECT_EQ(restored.attribute(QStringLiteral("ImageSaveFileName")),
              project.directory() + QStringLiteral("/apps/flash/rel/u14.bin"));
    QDir(project.directory()).removeRecursively();
}
