#include "sequencedocument.h"

#include "applicationtypes.h"
#include "executionparameters.h"
#include "hostservice.h"
#include "hxfile.h"
#include "hxiappsequence.h"
#include "hxidatabase.h"
#include "hximain.h"
#include "hxipath.h"
#include "hxiprojectapplications.h"
#include "readeroffsets.h"
#include "sharedtexts.h"
#include "hxprojectversion.h"
#include "hxreport.h"
#include "hxreportlist.h"
#include "hxsequence.h"
#include "hxsequencelist.h"
#include "orderedxmlwriter.h"

#include <QBuffer>
#include <QDir>
#include <QDomElement>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

using namespace VemoInterface;
using VemoDatabase::HxApplication;

namespace {

struct ElementNames
{
    QString sequence, step, parameters, report;
};

ElementNames elementNames(int index)
{
    if (index > 0)
        return {QStringLiteral("as"), QStringLiteral("ae"), QStringLiteral("ai"), QStringLiteral("ar")};
    return {QStringLiteral("sequence"), QStringLiteral("sequenceelement"),
            QStringLiteral("instrumentparams"), QStringLiteral("report")};
}

bool isImageKey(const QString &key)
{
    return key == QLatin1String("ImageFileName") || key == QLatin1String("ImageLoadFileName")
           || key == QLatin1String("ImageSaveFileName");
}

// Attribute names, and the values of flags and small numbers, as strings
// made once: a large project writes and reads each of them once per step,
// and the attributes of a document written this way all share one copy of
// each instead of holding their own.
const QString &sharedText(const char *text)
{
    static std::unordered_map<const char *, QString> texts;
    auto found = texts.find(text);
    if (found == texts.end())
        found = texts.emplace(text, QString::fromLatin1(text)).first;
    return found->second;
}

QString numberText(qlonglong value)
{
    static const std::array<QString, 18> small = [] {
        std::array<QString, 18> texts;
        for (int i = 0; i < int(texts.size()); ++i)
            texts[size_t(i)] = QString::number(i - 1);
        return texts;
    }();
    if (value >= -1 && value < qlonglong(small.size()) - 1)
        return small[size_t(value + 1)];
    return QString::number(value);
}

// Sets attributes on a DOM element.
class DomSink
{
public:
    explicit DomSink(QDomElement &element) : element(element) {}
    void attribute(const QString &name, const QString &value) { element.setAttribute(name, value); }
    void namedAttribute(const QString &name, const QString &value) { attribute(name, value); }

private:
    QDomElement &element;
};

// Writes attributes into the open start tag of a stream, in the order they
// come, and keeps the first that XML cannot carry: the same refusal the
// host's ordered writer gives for a DOM.
class StreamSink
{
public:
    StreamSink(QXmlStreamWriter &stream, QString &problem) : stream(stream), problem(problem) {}

    void start(const QString &tag)
    {
        stream.writeStartElement(tag);
        currentTag = tag;
    }
    void attribute(const QString &name, const QString &value)
    {
        if (!problem.isEmpty())
            return;
        if (!OrderedXmlWriter::isName(name)) {
            problem = OrderedXmlWriter::refusal(currentTag, QStringLiteral("attribute name \"%1\"")
                                                                .arg(OrderedXmlWriter::shown(name)));
            return;
        }
        namedAttribute(name, value);
    }
    // An attribute under one of the format's own names, which are XML names.
    void namedAttribute(const QString &name, const QString &value)
    {
        if (!problem.isEmpty())
            return;
        stream.writeAttribute(name, value);
        if (stream.hasError())
            problem = OrderedXmlWriter::refusal(currentTag, QStringLiteral("attribute \"%1\"")
                                                                .arg(OrderedXmlWriter::shown(name)));
    }
    void end() { stream.writeEndElement(); }
    bool failed() const { return !problem.isEmpty(); }

private:
    QXmlStreamWriter &stream;
    QString &problem;
    QString currentTag;
};

// Writes attributes under the name of the format index. With long names
// every attribute is written; with short names only what differs from its
// default, each number under its own rule.
template<typename Sink>
class AttributeWriter
{
public:
    AttributeWriter(Sink &sink, int index) : sink(sink), index(index) {}

    void text(const char *longName, const char *shortName, const QString &value)
    {
        if (index == 0 || !value.isEmpty())
            sink.namedAttribute(name(longName, shortName), value);
    }
    void flag(const char *longName, const char *shortName, bool value)
    {
        if (index == 0 || value)
            sink.namedAttribute(name(longName, shortName), numberText(value ? 1 : 0));
    }
    void numberIfPositive(const char *longName, const char *shortName, qlonglong value)
    {
        if (index == 0 || value > 0)
            sink.namedAttribute(name(longName, shortName), numberText(value));
    }
    void numberIfNotZero(const char *longName, const char *shortName, qlonglong value)
    {
        if (index == 0 || value != 0)
            sink.namedAttribute(name(longName, shortName), numberText(value));
    }

private:
    const QString &name(const char *longName, const char *shortName) const
    {
        return sharedText(index > 0 ? shortName : longName);
    }

    Sink &sink;
    int index;
};

// Reads a DOM element's attributes.
class DomSource
{
public:
    explicit DomSource(const QDomElement &element) : element(element) {}
    QString value(const QString &name) { return element.attribute(name); }

private:
    const QDomElement &element;
};

// Reads the attributes of the start tag a stream stands on. The names are
// asked for in about the order they are written, so each search starts
// where the last one ended.
class StreamSource
{
public:
    StreamSource(const QXmlStreamAttributes &attributes, SharedTexts &shared)
        : attributes(attributes), shared(shared)
    {
    }
    QString value(const QString &name)
    {
        const qsizetype count = attributes.size();
        for (qsizetype step = 0; step < count; ++step) {
            const qsizetype i = (next + step) % count;
            if (attributes.at(i).qualifiedName() == name) {
                next = i + 1;
                return shared(attributes.at(i).value());
            }
        }
        return QString();
    }

private:
    const QXmlStreamAttributes &attributes;
    SharedTexts &shared;
    qsizetype next = 0;
};

template<typename Source>
class AttributeReader
{
public:
    AttributeReader(Source &source, int index) : source(source), index(index) {}

    QString text(const char *longName, const char *shortName) const
    {
        return source.value(sharedText(index > 0 ? shortName : longName));
    }
    // anything that is not a decimal integer reads as 0
    qlonglong number(const char *longName, const char *shortName) const
    {
        bool ok = false;
        const qlonglong value = text(longName, shortName).toLongLong(&ok, 10);
        return ok ? value : 0;
    }
    int integer(const char *longName, const char *shortName) const
    {
        const qlonglong value = number(longName, shortName);
        return value < INT_MIN || value > INT_MAX ? 0 : int(value);
    }
    bool flag(const char *longName, const char *shortName) const
    {
        return number(longName, shortName) != 0;
    }

private:
    Source &source;
    int index;
};

template<typename Sink>
void writeSequenceAttributes(Sink &sink, const HxSequence &sequence, int index)
{
    AttributeWriter<Sink> w(sink, index);
    w.text("Title", "sa", sequence.title());
    w.text("Description", "sb", sequence.description());
    w.flag("GlobalGang", "sc", sequence.globalGang());
    w.flag("Repeat", "sd", sequence.repeat());
    w.numberIfPositive("RepeatCount", "se", sequence.repeatCount());
    w.flag("StatusBannerApp", "sf", sequence.statusBannerApp());
    w.flag("StatusBannerSequence", "sg", sequence.statusBannerSequence());
    w.flag("Uut", "sh", sequence.unitIdentification());
    w.text("UutSerNumber", "si", sequence.unitSerialNumber());
    w.text("UutFolder", "sj", sequence.unitFolder());
    w.text("UutSubDirMask", "sk", sequence.unitSubDirMask());
    w.flag("UutSerialNumberAutoIncrement", "sl", sequence.unitSerialNumberAutoIncrement());
    w.flag("UutSerialNumberManualAdjust", "sm", sequence.unitSerialNumberManualAdjust());
    w.flag("UutAutoPrompt", "sn", sequence.unitAutoPrompt());
    w.flag("UutSubDirAutoIncrement", "so", sequence.unitSubDirAutoIncrement());
    w.flag("UutSubDirManualAdjust", "sp", sequence.unitSubDirManualAdjust());
    w.flag("UutSubDirIsSerialNumber", "sq", sequence.unitSubDirIsSerialNumber());
}

template<typename Source>
void readSequenceAttributes(Source &source, HxSequence &sequence, int index)
{
    const AttributeReader<Source> r(source, index);
    sequence.setGlobalGang(r.flag("GlobalGang", "sc"));
    sequence.setRepeat(r.flag("Repeat", "sd"));
    sequence.setRepeatCount(r.integer("RepeatCount", "se"));
    sequence.setStatusBannerApp(r.flag("StatusBannerApp", "sf"));
    sequence.setStatusBannerSequence(r.flag("StatusBannerSequence", "sg"));
    sequence.setUnitIdentification(r.flag("Uut", "sh"));
    sequence.setUnitSerialNumber(r.text("UutSerNumber", "si"));
    sequence.setUnitFolder(r.text("UutFolder", "sj"));
    sequence.setUnitSubDirMask(r.text("UutSubDirMask", "sk"));
    sequence.setUnitSerialNumberAutoIncrement(r.flag("UutSerialNumberAutoIncrement", "sl"));
    sequence.setUnitSerialNumberManualAdjust(r.flag("UutSerialNumberManualAdjust", "sm"));
    sequence.setUnitAutoPrompt(r.flag("UutAutoPrompt", "sn"));
    sequence.setUnitSubDirAutoIncrement(r.flag("UutSubDirAutoIncrement", "so"));
    sequence.setUnitSubDirManualAdjust(r.flag("UutSubDirManualAdjust", "sp"));
    sequence.setUnitSubDirIsSerialNumber(r.flag("UutSubDirIsSerialNumber", "sq"));
}

template<typename Sink>
void writeStepAttributes(Sink &sink, const HxSequenceItem &item, int index)
{
    AttributeWriter<Sink> w(sink, index);
    w.numberIfPositive("ItemType", "ea", item.itemType);
    w.numberIfPositive("Type", "eb", item.type);
    w.numberIfNotZero("OldType", "ec",
                      ApplicationTypes::applicationClass(item.columnType, item.columnOperation));
    w.text("OperationItemId", "ed", item.operationItemId);
    w.numberIfNotZero("Count", "ef", item.count);
    w.numberIfNotZero("Condition", "eg", item.condition);
    w.numberIfNotZero("Status", "eh", item.status);
    w.numberIfNotZero("Exit", "ei", item.exitCode);
    w.numberIfNotZero("SbarStat", "ej", item.hostStatusId);
    w.text("SbarText", "ek", item.hostStatusText);
    w.text("CommandEx", "el", item.commandEx);
    w.numberIfNotZero("TimeOut", "em", item.timeOut);
    w.flag("GlobalGang", "en", item.globalGang);
    w.text("PauseMessageText", "eo", item.pauseMessageText);
    w.numberIfNotZero("PauseMessageDefaultAnswer", "ep", item.pauseMessageDefaultAnswer);
    w.flag("PauseMessageAnswerNoIsPass", "eq", item.pauseMessageAnswerNoIsPass);
    w.text("Column.Number", "ca", item.columnNumber);
    w.text("Column.Type", "cb", item.columnType);
    w.text("Column.Operation", "cc", item.columnOperation);
    w.text("Column.Property", "cd", item.columnProperty);
    w.text("Column.Item", "ce", item.columnItem);
    w.text("Column.Show", "cf", item.columnShow);
    w.text("Column.Status", "cg", item.columnStatus);
    w.flag("Properties.AddToReport", "pa", item.addToReport);
    w.text("Properties.PassAction", "pb", item.passAction);
    w.text("Properties.FailAction", "pc", item.failAction);
    w.text("Properties.RejectAction", "pd", item.rejectAction);
    w.text("Properties.SyseAction", "pe", item.systemErrorAction);
    w.flag("Properties.SaveResultsOnFail", "pf", item.saveResultsOnFail);
    w.flag("Properties.SaveResultsOnPass", "pg", item.saveResultsOnPass);
    w.text("Properties.Operation", "ph", item.propertiesOperation);
    w.text("Properties.Show", "pi", item.propertiesShow);
    w.flag("Properties.StatusToSequenceStatus", "pj", item.statusToSequenceStatus);
    const SequenceCommand &command = item.command;
    w.text("SeqCommand.Name", "xa", command.name());
    w.flag("SeqCommand.AddToLaunchMenu", "xb", command.addToLaunchMenu());
    w.flag("SeqCommand.AllowUserInteraction", "xc", command.allowUserInteraction());
    w.text("SeqCommand.Command", "xd", command.command());
    w.flag("SeqCommand.ConsoleApp", "xe", command.consoleApp());
    w.text("SeqCommand.Dir", "xf", command.dir());
    w.flag("SeqCommand.EditBeforeLaunch", "xg", command.editBeforeLaunch());
    w.numberIfPositive("SeqCommand.FailExitCode", "xh", command.failExitCode());
    w.flag("SeqCommand.Internal", "xi", command.internal());
    w.flag("SeqCommand.LaunchInDesignDir", "xj", command.launchInDesignDir());
    w.numberIfPositive("SeqCommand.PassExitCode", "xk", command.passExitCode());
    w.flag("SeqCommand.ShowImmediateOutput", "xl", command.showImmediateOutput());
}

template<typename Source>
void readStepAttributes(Source &source, HxSequenceItem &item, int index)
{
    const AttributeReader<Source> r(source, index);
    item.itemType = r.integer("ItemType", "ea");
    item.type = r.integer("Type", "eb");
    item.columnType = r.text("Column.Type", "cb");
    item.columnOperation = r.text("Column.Operation", "cc");
    // the stored class is never trusted: it follows from type and operation
    item.applicationClass = ApplicationTypes::applicationClass(item.columnType, item.columnOperation);
    item.operationItemId = r.text("OperationItemId", "ed");
    item.count = r.integer("Count", "ef");
    item.condition = r.integer("Condition", "eg");
    item.status = r.integer("Status", "eh");
    item.exitCode = r.integer("Exit", "ei");
    item.hostStatusId = r.integer("SbarStat", "ej");
    item.hostStatusText = r.text("SbarText", "ek");
    item.commandEx = r.text("CommandEx", "el");
    item.timeOut = r.integer("TimeOut", "em");
    item.globalGang = r.flag("GlobalGang", "en");
    item.pauseMessageText = r.text("PauseMessageText", "eo");
    item.pauseMessageDefaultAnswer = r.integer("PauseMessageDefaultAnswer", "ep");
    item.pauseMessageAnswerNoIsPass = r.flag("PauseMessageAnswerNoIsPass", "eq");
    item.columnNumber = r.text("Column.Number", "ca");
    item.columnProperty = r.text("Column.Property", "cd");
    item.columnItem = r.text("Column.Item", "ce");
    item.columnShow = r.text("Column.Show", "cf");
    item.columnStatus = r.text("Column.Status", "cg");
    item.addToReport = r.flag("Properties.AddToReport", "pa");
    item.passAction = r.text("Properties.PassAction", "pb");
    item.failAction = r.text("Properties.FailAction", "pc");
    item.rejectAction = r.text("Properties.RejectAction", "pd");
    item.systemErrorAction = r.text("Properties.SyseAction", "pe");
    item.saveResultsOnFail = r.flag("Properties.SaveResultsOnFail", "pf");
    item.saveResultsOnPass = r.flag("Properties.SaveResultsOnPass", "pg");
    item.propertiesOperation = r.text("Properties.Operation", "ph");
    item.propertiesShow = r.text("Properties.Show", "pi");
    item.statusToSequenceStatus = r.flag("Properties.StatusToSequenceStatus", "pj");
    SequenceCommand &command = item.command;
    command.setName(r.text("SeqCommand.Name", "xa"));
    command.setAddToLaunchMenu(r.flag("SeqCommand.AddToLaunchMenu", "xb"));
    command.setAllowUserInteraction(r.flag("SeqCommand.AllowUserInteraction", "xc"));
    command.setCommand(r.text("SeqCommand.Command", "xd"));
    command.setConsoleApp(r.flag("SeqCommand.ConsoleApp", "xe"));
    command.setDir(r.text("SeqCommand.Dir", "xf"));
    command.setEditBeforeLaunch(r.flag("SeqCommand.EditBeforeLaunch", "xg"));
    command.setFailExitCode(r.integer("SeqCommand.FailExitCode", "xh"));
    command.setInternal(r.flag("SeqCommand.Internal", "xi"));
    command.setLaunchInDesignDir(r.flag("SeqCommand.LaunchInDesignDir", "xj"));
    command.setPassExitCode(r.integer("SeqCommand.PassExitCode", "xk"));
    command.setShowImmediateOutput(r.flag("SeqCommand.ShowImmediateOutput", "xl"));
}

std::optional<HxApplication> projectApplication(HxiDatabase *database, const QString &name)
{
    if (!database)
        return std::nullopt;
    HxiProjectApplications *applications = database->applications();
    if (!applications)
        return std::nullopt;
    std::optional<HxApplication> application = applications->application(name);
    applications->release();
    return application;
}

// Image files travel with an archive relative to their application.
QString imagePathForSave(const QString &value, const HxApplication &application,
                         const QString &archiveMode)
{
    if (archiveMode == QLatin1String("new")) {
        const QString absolute = application.convertFileNameRelativeApplicationPathToAbsolutePath(value);
        const QString relative = application.convertFileNameAtArchiveToRelativeApplicationPath(absolute);
        if (!relative.isEmpty() && QDir::isRelativePath(relative))
            return relative;
        if (QDir::isAbsolutePath(value)) {
            QString rest;
            if (HxFile_stripPathFromFileName(value, application.folder(), rest))
                return rest;
            return QFileInfo(value).fileName();
        }
        return value;
    }
    if (archiveMode == QLatin1String("old"))
        return application.convertFileNameRelativeApplicationPathToAbsolutePath(value);
    return value;
}

QString imagePathForLoad(const QString &value, const HostLink &link)
{
    QString path = value;
    if (QDir::isAbsolutePath(path)) {
        HostService<HxiPath> expander(link, QStringLiteral("HxiPath"));
        if (expander) {
            const QString expanded = expander->absolutePath(path);
            if (!expanded.isEmpty())
                path = QDir::toNativeSeparators(QDir::cleanPath(expanded));
        }
    }
    // An archive of the old kind stored image files two folders above the
    // sequence; a path the host rewrote to a relative one points there.
    if (path != value && QDir::isRelativePath(path))
        return QDir::toNativeSeparators(QDir::cleanPath(QStringLiteral("../../") + path));
    return path;
}

// Brings a step's parameters up to date before they are written: types
// driven by a cluster command line keep derived entries in them, which
// their module renews; every step carries its number.
void prepareParametersForSave(const HostLink &link, HxSequenceItem &item)
{
    if (item.kind() == ItemType::Application && ApplicationTypes::usesCmdLineG1(item.columnType)) {
        HostService<HxiAppSequence> module(link, QStringLiteral("HxiAppSequence"), item.columnType);
        if (module) {
            const bool infrastructure = item.columnOperation == ApplicationTypes::TestInfrastructure;
            module->prepareParametersForSave(item.columnItem, item.columnItem, infrastructure,
                                             item.parameters);
            item.parameters.insert(QStringLiteral("ItemNumber"), item.columnNumber);
            module->completeParametersForSave(item.columnItem, item.columnItem, infrastructure,
                                              item.parameters);
        }
    }
    item.parameters.insert(QStringLiteral("ItemNumber"), item.columnNumber);
}

template<typename Sink>
void writeParameters(Sink &sink, const HxSequenceItem &item,
                     const std::optional<HxApplication> &application, const QString &archiveMode,
                     int index)
{
    for (auto it = item.parameters.cbegin(); it != item.parameters.cend(); ++it) {
        QString value = it.value();
        if (application && isImageKey(it.key()))
            value = imagePathForSave(value, *application, archiveMode);
        if (index == 0 || !value.isEmpty())
            sink.attribute(it.key(), value);
    }
}

template<typename Sink>
void writeReportAttributes(Sink &sink, const HxReport &report, int index)
{
    AttributeWriter<Sink> w(sink, index);
    w.text("seqname", "ra", report.sequenceTitle);
    w.text("title", "rb", report.title);
    w.text("filename", "rc", report.fileName);
}

// One parameter as read, unless it is left out.
void readParameter(HxSequenceItem &item, const QString &name, QString value, bool convertImages,
                   const HostLink &link)
{
    // The parser lets odd names through (a NUL, say); kept, they would make
    // the project impossible to save.
    if (!OrderedXmlWriter::isName(name))
        return;
    if (convertImages && isImageKey(name))
        value = imagePathForLoad(value, link);
    // Projects written before steps left out TAP fields at 0 hold all 352
    // of them.
    if (!ExecutionParameters::isDefaultTapInfo(name, value))
        item.parameters.insert(name, value);
}

// What a save needs besides the sequences: the format, the archive mode
// and the project the legacy copies belong to.
struct SaveContext
{
    explicit SaveContext(const HostLink &link) : database(link, QStringLiteral("HxiDatabase")) {}

    HostService<HxiDatabase> database;
    int index = 0;
    QString version;
    QString archiveMode;
    QString projectFolder;
    QString projectText;
};

} // namespace

QString SequenceDocument::formatIndex(int &index) const
{
    index = 0;
    HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
    if (!database)
        return QString();
    return database->formatVersion(index);
}

namespace {

std::unique_ptr<SaveContext> saveContext(const SequenceDocument &document, const HostLink &link)
{
    auto context = std::make_unique<SaveContext>(link);
    context->version = document.formatIndex(context->index);
    context->archiveMode = link.mainValue(QStringLiteral("SaveAsFromArchiver"));
    if (context->database) {
        context->projectFolder = context->database->projectDirectory();
        context->projectText = context->database->projectName();
    }
    return context;
}

std::optional<HxApplication> prepareStep(const HostLink &link, const SaveContext &context,
                                         HxSequenceItem &item)
{
    prepareParametersForSave(link, item);
    return projectApplication(context.database.get(), item.columnItem);
}

// The steps of the sequence element the reader stands in, up to its end.
HxSequenceItemList readSteps(QXmlStreamReader &reader, int index, SharedTexts &shared,
                             bool convertImages, const HostLink &link)
{
    const ElementNames names = elementNames(index);
    HxSequenceItemList items;
    while (reader.readNextStartElement()) {
        if (reader.qualifiedName() != names.step) {
            reader.skipCurrentElement();
            continue;
        }
        auto item = std::make_shared<HxSequenceItem>();
        {
            const QXmlStreamAttributes attributes = reader.attributes();
            StreamSource source(attributes, shared);
            readStepAttributes(source, *item, index);
        }
        bool parametersRead = false;
        while (reader.readNextStartElement()) {
            // only the first parameters element counts
            if (!parametersRead && reader.qualifiedName() == names.parameters) {
                parametersRead = true;
                const QXmlStreamAttributes attributes = reader.attributes();
                for (const QXmlStreamAttribute &attribute : attributes)
                    readParameter(*item, shared(attribute.qualifiedName()),
                                  shared(attribute.value()), convertImages, link);
            }
            reader.skipCurrentElement();
        }
        items.append(item);
    }
    return items;
}

// Where the elements of a document read from bytes start: the reader counts
// characters (UTF-16 units of the decoded text), the document is UTF-8.
class ElementStarts
{
public:
    explicit ElementStarts(const QByteArray &bytes) : offsets(bytes), bytes(offsets.data()) {}

    // The byte at which the element named `tag`, whose start tag the reader
    // read from character `offset` on, starts; -1 when it is not there.
    qsizetype startOf(qint64 offset, QStringView tag)
    {
        const qsizetype at = offsets.tagAt(offset);
        const QByteArray start = '<' + tag.toUtf8();
        const qsizetype after = at + start.size();
        if (after >= bytes.size() || QByteArrayView(bytes).sliced(at, start.size()) != start)
            return -1;
        const char next = bytes.at(after);
        const bool endsName = next == ' ' || next == '\t' || next == '\r' || next == '\n'
                              || next == '/' || next == '>';
        return endsName ? at : -1;
    }

private:
    ReaderOffsets offsets;

public:
    const QByteArray &bytes;
};

// The children of a document's root element, found by reading only its
// markup. The host hands over an element it found well-formed, so its
// steps need not be read token by token just to be passed over.
struct ChildElement
{
    QByteArrayView name;
    qsizetype start = 0;    // the "<" of its start tag
    qsizetype tagEnd = 0;   // the byte after the start tag's ">"
    bool empty = false;     // "<name .../>"
};

// The byte after `end`, searched from `at`; -1 when it is not there.
qsizetype pastText(QByteArrayView data, qsizetype at, QByteArrayView end)
{
    const qsizetype found = data.indexOf(end, at);
    return found < 0 ? -1 : found + end.size();
}

// The byte after the ">" of the tag whose "<" is at `at`: a ">" in a quoted
// attribute value does not end it.
qsizetype pastTag(QByteArrayView data, qsizetype at)
{
    const char *bytes = data.data();
    for (qsizetype i = at + 1; i < data.size(); ++i) {
        const char c = bytes[i];
        if (c == '>')
            return i + 1;
        if (c == '"' || c == '\'') {
            const void *close = std::memchr(bytes + i + 1, c, size_t(data.size() - i - 1));
            if (!close)
                return -1;
            i = static_cast<const char *>(close) - bytes;
        }
    }
    return -1;
}

// What the markup at `at` is, and where it ends: a comment, a processing
// instruction or CDATA is passed over whole.
enum class Markup { Passed, StartTag, EndTag, Unknown };
Markup markupAt(QByteArrayView data, qsizetype at, qsizetype &next)
{
    const QByteArrayView rest = data.sliced(at);
    if (rest.startsWith("<!--")) {
        next = pastText(data, at + 4, "-->");
        return Markup::Passed;
    }
    if (rest.startsWith("<![CDATA[")) {
        next = pastText(data, at + 9, "]]>");
        return Markup::Passed;
    }
    if (rest.startsWith("<?")) {
        next = pastText(data, at + 2, "?>");
        return Markup::Passed;
    }
    if (rest.startsWith("<!"))
        return Markup::Unknown;
    next = pastTag(data, at);
    return rest.startsWith("</") ? Markup::EndTag : Markup::StartTag;
}

// The markup at the next "<" from `at` on: `at` moves to that "<", `next`
// past the markup's end. Unknown when there is none or it does not end.
Markup nextMarkup(QByteArrayView data, qsizetype &at, qsizetype &next)
{
    const void *open = std::memchr(data.data() + at, '<', size_t(data.size() - at));
    if (!open)
        return Markup::Unknown;
    at = static_cast<const char *>(open) - data.data();
    const Markup markup = markupAt(data, at, next);
    return next < 0 ? Markup::Unknown : markup;
}

bool endsName(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

QByteArrayView tagName(QByteArrayView data, qsizetype at, qsizetype tagEnd)
{
    qsizetype end = at + 1;
    while (end < tagEnd && !endsName(data.at(end)))
        ++end;
    return data.sliced(at + 1, end - at - 1);
}

// The root's children in order; none when markup other than elements,
// comments, CDATA and processing instructions shows up or the root does
// not end.
std::optional<QList<ChildElement>> rootChildren(QByteArrayView data, QByteArrayView rootName)
{
    QList<ChildElement> children;
    int depth = 0;
    qsizetype at = 0;
    while (at < data.size()) {
        qsizetype next = -1;
        const Markup markup = nextMarkup(data, at, next);
        if (markup == Markup::Unknown)
            return std::nullopt;
        if (markup == Markup::EndTag && --depth == 0)
            return children;
        if (markup == Markup::StartTag) {
            const bool empty = data.at(next - 2) == '/';
            if (depth == 0 && tagName(data, at, next) != rootName)
                return std::nullopt;
            if (depth == 1)
                children.append({tagName(data, at, next), at, next, empty});
            if (depth == 0 && empty)
                return children;
            if (!empty)
                ++depth;
        }
        at = next;
    }
    return std::nullopt;
}

// A reader standing on `child`'s start tag, read on its own as an empty
// element: the attributes without the content.
class StartTagReader
{
public:
    StartTagReader(const QByteArray &bytes, const ChildElement &child)
        : tag(bytes.sliced(child.start, child.tagEnd - child.start))
    {
        if (!child.empty)
            tag.insert(tag.size() - 1, '/');
        reader.addData(tag);
        reader.readNextStartElement();
    }
    QXmlStreamReader &operator*() { return reader; }

private:
    QByteArray tag;
    QXmlStreamReader reader;
};

// A start tag's attributes as the reader gives them: character and entity
// references replaced, white space in a value read as a space, namespace
// declarations left out. False on anything else.
class TagAttributes
{
public:
    explicit TagAttributes(QByteArrayView data) : data(data) {}

    bool read(qsizetype at, qsizetype tagEnd, QXmlStreamAttributes &attributes)
    {
        attributes.clear();
        qsizetype i = at + 1 + tagName(data, at, tagEnd).size();
        while (true) {
            i = pastSpace(i, tagEnd);
            if (i >= tagEnd || data.at(i) == '/' || data.at(i) == '>')
                return true;
            qsizetype nameEnd = i;
            while (nameEnd < tagEnd && !endsName(data.at(nameEnd)) && data.at(nameEnd) != '=')
                ++nameEnd;
            const QByteArrayView name = data.sliced(i, nameEnd - i);
            i = pastSpace(nameEnd, tagEnd);
            if (i >= tagEnd || data.at(i) != '=')
                return false;
            i = pastSpace(i + 1, tagEnd);
            if (i >= tagEnd || (data.at(i) != '"' && data.at(i) != '\''))
                return false;
            const qsizetype close = data.indexOf(data.at(i), i + 1);
            if (close < 0 || close >= tagEnd)
                return false;
            const QByteArrayView raw = data.sliced(i + 1, close - i - 1);
            i = close + 1;
            if (name == "xmlns" || name.startsWith("xmlns:"))
                continue;
            QString value;
            if (!decode(raw, value))
                return false;
            attributes.append(QXmlStreamAttribute(nameText(name, attributes.size()), value));
        }
    }

private:
    qsizetype pastSpace(qsizetype i, qsizetype end) const
    {
        while (i < end && isSpace(data.at(i)))
            ++i;
        return i;
    }

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool changesOnReading(char c) { return c == '&' || c == '\t' || c == '\r' || c == '\n'; }

    // The names repeat from step to step, mostly in the same places: each
    // is decoded once and first looked for where it stood last time.
    QString nameText(QByteArrayView name, qsizetype place)
    {
        if (place < lastNames.size() && lastNames.at(place).first == name)
            return lastNames.at(place).second;
        const std::string_view key(name.data(), size_t(name.size()));
        auto found = names.find(key);
        if (found == names.end())
            found = names.emplace(key, QString::fromUtf8(name)).first;
        if (place >= lastNames.size())
            lastNames.resize(place + 1);
        lastNames[place] = {name, found->second};
        return found->second;
    }

    bool decode(QByteArrayView raw, QString &value)
    {
        qsizetype plain = 0;
        while (plain < raw.size() && !changesOnReading(raw.at(plain)))
            ++plain;
        if (plain == raw.size()) {
            value = QString::fromUtf8(raw);
            return true;
        }
        QByteArray bytes = raw.first(plain).toByteArray();
        for (qsizetype i = plain; i < raw.size(); ++i) {
            const char c = raw.at(i);
            if (c == '\r') {
                // a line end "\r\n" or a lone "\r" is one line end, read as a space
                if (i + 1 < raw.size() && raw.at(i + 1) == '\n')
                    ++i;
                bytes += ' ';
            } else if (c == '\n' || c == '\t') {
                bytes += ' ';
            } else if (c == '&') {
                const qsizetype end = raw.indexOf(';', i);
                if (end < 0 || !appendReference(raw.sliced(i + 1, end - i - 1), bytes))
                    return false;
                i = end;
            } else {
                bytes += c;
            }
        }
        value = QString::fromUtf8(bytes);
        return true;
    }

    static bool appendReference(QByteArrayView name, QByteArray &bytes)
    {
        static const std::array<std::pair<const char *, char>, 5> entities = {
            {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}}};
        for (const auto &[entity, character] : entities) {
            if (name == entity) {
                bytes += character;
                return true;
            }
        }
        if (!name.startsWith('#') || name.size() < 2)
            return false;
        bool ok = false;
        const uint code = name.at(1) == 'x' ? name.sliced(2).toUInt(&ok, 16)
                                              : name.sliced(1).toUInt(&ok, 10);
        // the characters XML can carry
        const bool allowed = code == 0x9 || code == 0xA || code == 0xD
                             || (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD)
                             || (code >= 0x10000 && code <= 0x10FFFF);
        if (!ok || !allowed)
            return false;
        const char32_t character = code;
        bytes += QString::fromUcs4(&character, 1).toUtf8();
        return true;
    }

    QByteArrayView data;
    std::unordered_map<std::string_view, QString> names;
    QList<std::pair<QByteArrayView, QString>> lastNames;
};

// The steps of the sequence element at byte `start`, read from the markup
// of bytes the host found well-formed, as readSteps reads them; nothing
// when markup turns up that it does not know.
std::optional<HxSequenceItemList> readStepsFromBytes(QByteArrayView data, qsizetype start, int index,
                                                     SharedTexts &shared, const HostLink &link)
{
    const ElementNames names = elementNames(index);
    const QByteArray stepTag = names.step.toUtf8();
    const QByteArray parametersTag = names.parameters.toUtf8();
    TagAttributes tags(data);
    QXmlStreamAttributes attributes;
    HxSequenceItemList items;
    HxSequenceItem *step = nullptr;    // the step whose content is being read
    bool parametersRead = false;
    int depth = 0;
    qsizetype at = start;
    while (at < data.size()) {
        qsizetype next = -1;
        const Markup markup = nextMarkup(data, at, next);
        if (markup == Markup::Unknown)
            return std::nullopt;
        if (markup == Markup::EndTag) {
            if (--depth == 0)
                return items;
            if (depth == 1)
                step = nullptr;
        } else if (markup == Markup::StartTag) {
            const bool empty = data.at(next - 2) == '/';
            const QByteArrayView name = tagName(data, at, next);
            if (depth == 0 && empty)
                return items;
            if (depth == 1 && name == stepTag) {
                auto item = std::make_shared<HxSequenceItem>();
                if (!tags.read(at, next, attributes))
                    return std::nullopt;
                StreamSource source(attributes, shared);
                readStepAttributes(source, *item, index);
                items.append(item);
                step = empty ? nullptr : item.get();
                parametersRead = false;
            } else if (depth == 2 && step && !parametersRead && name == parametersTag) {
                parametersRead = true;
                if (!tags.read(at, next, attributes))
                    return std::nullopt;
                for (const QXmlStreamAttribute &attribute : std::as_const(attributes))
                    readParameter(*step, shared(attribute.qualifiedName()), shared(attribute.value()),
                                  false, link);
            }
            if (!empty)
                ++depth;
        }
        at = next;
    }
    return std::nullopt;
}

// A sequence's own attributes, the reader standing on its start tag.
HxSequence *readSequenceHead(QXmlStreamReader &reader, int index, SharedTexts &shared)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    StreamSource source(attributes, shared);
    const AttributeReader<StreamSource> r(source, index);
    auto *sequence = new HxSequence(r.text("Title", "sa"), r.text("Description", "sb"));
    readSequenceAttributes(source, *sequence, index);
    return sequence;
}

// The steps of the sequence element at byte `start` of `bytes`, read when
// first asked for; the sequence holds the bytes until then.
void readStepsLater(HxSequence &sequence, const QByteArray &bytes, qsizetype start, int index,
                    const std::shared_ptr<SharedTexts> &shared, const HostLink &link)
{
    sequence.setPendingSteps([bytes, start, index, shared, link] {
        if (std::optional<HxSequenceItemList> items =
                readStepsFromBytes(bytes, start, index, *shared, link))
            return *std::move(items);
        QBuffer device;
        device.setData(QByteArray::fromRawData(bytes.constData() + start, bytes.size() - start));
        device.open(QIODevice::ReadOnly);
        QXmlStreamReader stepReader(&device);
        if (!stepReader.readNextStartElement())
            return HxSequenceItemList();
        return readSteps(stepReader, index, *shared, false, link);
    });
}

// A sequence element, the reader standing on its start tag. With `starts`
// its steps are read when first asked for, from the document's bytes,
// which the sequence holds until then; otherwise now.
HxSequence *readSequence(QXmlStreamReader &reader, qint64 offset, ElementStarts *starts, int index,
                         const std::shared_ptr<SharedTexts> &shared, bool convertImages,
                         const HostLink &link)
{
    HxSequence *sequence = readSequenceHead(reader, index, *shared);
    const qsizetype start = starts ? starts->startOf(offset, reader.qualifiedName()) : -1;
    if (start < 0) {
        sequence->setItems(readSteps(reader, index, *shared, convertImages, link));
        return sequence;
    }
    reader.skipCurrentElement();
    readStepsLater(*sequence, starts->bytes, start, index, shared, link);
    return sequence;
}

void writeLegacyCopy(const SequenceDocument::LegacyCopyWriter &writer, const SaveContext &context,
                     const HxSequence &sequence)
{
    if (context.database && writer)
        writer(sequence, context.projectFolder, context.projectText);
}

} // namespace

void SequenceDocument::save(QDomElement &root)
{
    const std::unique_ptr<SaveContext> context = saveContext(*this, link);
    const int index = context->index;
    if (index > 0)
        root.setAttribute(QStringLiteral("version"), context->version);
    const ElementNames names = elementNames(index);
    QDomDocument document = root.ownerDocument();

    for (HxSequence *sequence : sequences) {
        QDomElement sequenceElement = document.createElement(names.sequence);
        root.appendChild(sequenceElement);
        DomSink sequenceSink(sequenceElement);
        writeSequenceAttributes(sequenceSink, *sequence, index);

        for (const HxSequenceItemPtr &item : sequence->items()) {
            QDomElement stepElement = document.createElement(names.step);
            sequenceElement.appendChild(stepElement);
            DomSink stepSink(stepElement);
            writeStepAttributes(stepSink, *item, index);
            const std::optional<HxApplication> application = prepareStep(link, *context, *item);
            QDomElement parameterElement = document.createElement(names.parameters);
            stepElement.appendChild(parameterElement);
            DomSink parameterSink(parameterElement);
            writeParameters(parameterSink, *item, application, context->archiveMode, index);
        }
        writeLegacyCopy(legacyCopyWriter, *context, *sequence);
    }

    for (const HxReport *report : reports) {
        QDomElement reportElement = document.createElement(names.report);
        root.appendChild(reportElement);
        DomSink reportSink(reportElement);
        writeReportAttributes(reportSink, *report, index);
    }
}

bool SequenceDocument::save(QXmlStreamWriter &stream, QString &problem)
{
    problem.clear();
    const std::unique_ptr<SaveContext> context = saveContext(*this, link);
    const int index = context->index;
    if (index > 0)
        stream.writeAttribute(QStringLiteral("version"), context->version);
    const ElementNames names = elementNames(index);
    StreamSink sink(stream, problem);

    for (HxSequence *sequence : sequences) {
        sink.start(names.sequence);
        writeSequenceAttributes(sink, *sequence, index);
        for (const HxSequenceItemPtr &item : sequence->items()) {
            sink.start(names.step);
            writeStepAttributes(sink, *item, index);
            const std::optional<HxApplication> application = prepareStep(link, *context, *item);
            sink.start(names.parameters);
            writeParameters(sink, *item, application, context->archiveMode, index);
            sink.end();
            sink.end();
        }
        sink.end();
        writeLegacyCopy(legacyCopyWriter, *context, *sequence);
    }

    for (const HxReport *report : reports) {
        sink.start(names.report);
        writeReportAttributes(sink, *report, index);
        sink.end();
    }
    return !sink.failed();
}

int SequenceDocument::startLoad(const QString &versionText, VemoDatabase::HxProjectVersion &version)
{
    version.analyzeVersion(versionText);
    if (HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database)
        database->setFormatVersion(version.getVersion());
    sequences.clear();
    reports.clear();
    return version.getHxpIndex();
}

bool SequenceDocument::convertsImages() const
{
    return link.mainValue(QStringLiteral("LoadFromArchiver")) == QLatin1String("old");
}

void SequenceDocument::load(const QDomElement &root, VemoDatabase::HxProjectVersion &version)
{
    const int index = startLoad(root.attribute(QStringLiteral("version")), version);
    const ElementNames names = elementNames(index);
    const bool convertImages = convertsImages();

    for (QDomElement element = root.firstChildElement(names.sequence); !element.isNull();
         element = element.nextSiblingElement(names.sequence)) {
        DomSource source(element);
        const AttributeReader<DomSource> r(source, index);
        auto *sequence = new HxSequence(r.text("Title", "sa"), r.text("Description", "sb"));
        readSequenceAttributes(source, *sequence, index);

        for (QDomElement stepElement = element.firstChildElement(names.step); !stepElement.isNull();
             stepElement = stepElement.nextSiblingElement(names.step)) {
            auto item = std::make_shared<HxSequenceItem>();
            DomSource stepSource(stepElement);
            readStepAttributes(stepSource, *item, index);
            const QDomNamedNodeMap attributes =
                stepElement.firstChildElement(names.parameters).attributes();
            for (int i = 0; i < attributes.count(); ++i) {
                const QDomAttr attribute = attributes.item(i).toAttr();
                readParameter(*item, attribute.name(), attribute.value(), convertImages, link);
            }
            sequence->appendItem(item);
        }
        sequences.append(sequence);
    }

    for (QDomElement element = root.firstChildElement(names.report); !element.isNull();
         element = element.nextSiblingElement(names.report)) {
        DomSource source(element);
        const AttributeReader<DomSource> r(source, index);
        const QString sequenceTitle = r.text("seqname", "ra");
        if (sequences.find(sequenceTitle))
            reports.append(new HxReport(sequenceTitle, r.text("title", "rb"), r.text("filename", "rc")));
    }
}

void SequenceDocument::load(QXmlStreamReader &reader, VemoDatabase::HxProjectVersion &version)
{
    const int index =
        startLoad(reader.attributes().value(QLatin1String("version")).toString(), version);
    const ElementNames names = elementNames(index);
    const bool convertImages = convertsImages();
    auto shared = std::make_shared<SharedTexts>();
    // A document read from bytes in memory keeps them for steps read later;
    // steps whose image paths change on loading are read now.
    std::optional<ElementStarts> starts;
    const auto *buffer = qobject_cast<const QBuffer *>(reader.device());
    // a sequence read on its own would not know the root's namespaces
    if (buffer && !convertImages && reader.namespaceDeclarations().isEmpty())
        starts.emplace(buffer->data());
    // Reports name their sequence, which may come later in the document.
    struct ReadReport
    {
        QString sequenceTitle, title, fileName;
    };
    QList<ReadReport> readReports;
    const auto readReport = [&](QXmlStreamReader &head) {
        const QXmlStreamAttributes attributes = head.attributes();
        StreamSource source(attributes, *shared);
        const AttributeReader<StreamSource> r(source, index);
        readReports.append({r.text("seqname", "ra"), r.text("title", "rb"), r.text("filename", "rc")});
    };

    // The reader stays on the root's start tag: the children are found in
    // the bytes, each sequence's steps read from there when first asked for.
    const std::optional<QList<ChildElement>> children =
        starts ? rootChildren(starts->bytes, reader.qualifiedName().toUtf8()) : std::nullopt;
    const QByteArray sequenceTag = names.sequence.toUtf8();
    const QByteArray reportTag = names.report.toUtf8();
    for (const ChildElement &child : children ? *children : QList<ChildElement>()) {
        if (child.name == sequenceTag) {
            StartTagReader head(starts->bytes, child);
            HxSequence *sequence = readSequenceHead(*head, index, *shared);
            readStepsLater(*sequence, starts->bytes, child.start, index, shared, link);
            sequences.append(sequence);
        } else if (child.name == reportTag) {
            StartTagReader head(starts->bytes, child);
            readReport(*head);
        }
    }

    while (!children && !reader.atEnd()) {
        // token by token, so that an element's start offset is known
        const qint64 offset = reader.characterOffset();
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView tag = reader.qualifiedName();
        if (tag == names.sequence) {
            sequences.append(readSequence(reader, offset, starts ? &*starts : nullptr, index, shared,
                                          convertImages, link));
        } else if (tag == names.report) {
            readReport(reader);
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }

    const QStringList titles = sequences.titles();
    const QSet<QString> known(titles.cbegin(), titles.cend());
    for (const ReadReport &report : std::as_const(readReports)) {
        if (known.contains(report.sequenceTitle))
            reports.append(new HxReport(report.sequenceTitle, report.title, report.fileName));
    }
}

