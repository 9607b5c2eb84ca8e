#include "orderedxmlwriter.h"

#include <QBuffer>
#include <QDomElement>
#include <QHash>
#include <QXmlStreamWriter>

#include <algorithm>

namespace {

// Each stored element's attributes as its format lists them, long and short
// spellings alike (an element is written in one of the two).
QHash<QString, QStringList> formatOrders()
{
    const auto names = [](std::initializer_list<const char *> list) {
        QStringList result;
        for (const char *name : list)
            result.append(QLatin1String(name));
        return result;
    };
    const QStringList sequence = names(
        {"Title", "Description", "GlobalGang", "Repeat", "RepeatCount", "StatusBannerApp",
         "StatusBannerSequence", "Uut", "UutSerNumber", "UutFolder", "UutSubDirMask",
         "UutSerialNumberAutoIncrement", "UutSerialNumberManualAdjust", "UutAutoPrompt",
         "UutSubDirAutoIncrement", "UutSubDirManualAdjust", "UutSubDirIsSerialNumber"});
    const QStringList shortSequence = names({"sa", "sb", "sc", "sd", "se", "sf", "sg", "sh", "si",
                                             "sj", "sk", "sl", "sm", "sn", "so", "sp", "sq"});
    const QStringList step = names(
        {"ItemType", "Type", "OldType", "OperationItemId", "Count", "Condition", "Status", "Exit",
         "SbarStat", "SbarText", "CommandEx", "TimeOut", "GlobalGang", "PauseMessageText",
         "PauseMessageDefaultAnswer", "PauseMessageAnswerNoIsPass", "Column.Number", "Column.Type",
         "Column.Operation", "Column.Property", "Column.Item", "Column.Show", "Column.Status",
         "Properties.AddToReport", "Properties.PassAction", "Properties.FailAction",
         "Properties.RejectAction", "Properties.SyseAction", "Properties.SaveResultsOnFail",
         "Properties.SaveResultsOnPass", "Properties.Operation", "Properties.Show",
         "Properties.StatusToSequenceStatus", "SeqCommand.Name", "SeqCommand.AddToLaunchMenu",
         "SeqCommand.AllowUserInteraction", "SeqCommand.Command", "SeqCommand.ConsoleApp",
         "SeqCommand.Dir", "SeqCommand.EditBeforeLaunch", "SeqCommand.FailExitCode",
         "SeqCommand.Internal", "SeqCommand.LaunchInDesignDir", "SeqCommand.PassExitCode",
         "SeqCommand.ShowImmediateOutput"});
    const QStringList shortStep = names(
        {"ea", "eb", "ec", "ed", "ef", "eg", "eh", "ei", "ej", "ek", "el", "em", "en", "eo", "ep",
         "eq", "ca", "cb", "cc", "cd", "ce", "cf", "cg", "pa", "pb", "pc", "pd", "pe", "pf", "pg",
         "ph", "pi", "pj", "xa", "xb", "xc", "xd", "xe", "xf", "xg", "xh", "xi", "xj", "xk", "xl"});
    return {
        {QStringLiteral("sequence"), sequence},
        {QStringLiteral("as"), shortSequence},
        {QStringLiteral("sequenceelement"), step},
        {QStringLiteral("ae"), shortStep},
        {QStringLiteral("report"), names({"seqname", "title", "filename"})},
        {QStringLiteral("ar"), names({"ra", "rb", "rc"})},
        {QStringLiteral("ORVSequencerSettings"),
         names({"saveReports", "removeReports", "defaultUnitReportsPath", "unitReportsPath",
                "perUnit", "enableGang", "gang", "gangText"})},
    };
}

// XML's name production, enough of it that nothing unreadable gets through:
// letters, "_" and ":" first; then also digits, "." and "-".
bool isXmlName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool start = c.isLetter() || c == u'_' || c == u':';
        const bool inner = start || c.isDigit() || c == u'.' || c == u'-' || c.isMark();
        if (!(i == 0 ? start : inner))
            return false;
    }
    return true;
}

} // namespace

bool OrderedXmlWriter::isName(const QString &name)
{
    return isXmlName(name);
}

QStringList OrderedXmlWriter::formatOrder(const QString &tagName)
{
    static const QHash<QString, QStringList> orders = formatOrders();
    return orders.value(tagName);
}

QStringList OrderedXmlWriter::attributeOrder(const QDomElement &element)
{
    // Walks the format's list once instead of sorting by position in it: a
    // large project writes this for every step.
    const QStringList known = formatOrder(element.tagName());
    QStringList listed;
    for (const QString &name : known) {
        if (element.hasAttribute(name))
            listed.append(name);
    }
    const QDomNamedNodeMap attributes = element.attributes();
    if (listed.size() == attributes.count())
        return listed;
    QStringList others;
    for (int i = 0; i < attributes.count(); ++i) {
        const QString name = attributes.item(i).nodeName();
        if (!known.contains(name))
            others.append(name);
    }
    std::sort(others.begin(), others.end());
    return listed + others;
}

QString OrderedXmlWriter::shown(QString name)
{
    name.removeIf([](QChar c) { return c.unicode() < 0x20; });
    return name;
}

QString OrderedXmlWriter::refusal(const QString &tagName, const QString &what)
{
    return QStringLiteral("<%1> %2 cannot be stored in XML").arg(shown(tagName), what);
}

bool OrderedXmlWriter::refuse(const QDomElement &element, const QString &what)
{
    error = refusal(element.tagName(), what);
    return false;
}

bool OrderedXmlWriter::writeElement(const QDomElement &element)
{
    // The stream drops characters XML cannot carry and says so afterwards;
    // asking after each write tells which text held them.
    if (!isXmlName(element.tagName()))
        return refuse(element, QStringLiteral("name"));
    stream.writeStartElement(element.tagName());
    for (const QString &name : attributeOrder(element)) {
        if (!isXmlName(name))
            return refuse(element, QStringLiteral("attribute name \"%1\"").arg(shown(name)));
        stream.writeAttribute(name, element.attribute(name));
        if (stream.hasError())
            return refuse(element, QStringLiteral("attribute \"%1\"").arg(shown(name)));
    }
    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isElement()) {
            if (!writeElement(child.toElement()))
                return false;
        } else if (child.isText() || child.isCDATASection()) {
            stream.writeCharacters(child.nodeValue());
            if (stream.hasError())
                return refuse(element, QStringLiteral("text"));
        }
    }
    stream.writeEndElement();
    return true;
}

bool OrderedXmlWriter::toByteArray(const QDomElement &element, QByteArray &bytes, QString &error)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter stream(&buffer);
    stream.setAutoFormatting(true);
    stream.setAutoFormattingIndent(2);
    stream.writeStartDocument();
    OrderedXmlWriter writer(stream);
    if (!writer.writeElement(element)) {
        error = writer.errorString();
        return false;
    }
    stream.writeEndDocument();
    return true;
}
