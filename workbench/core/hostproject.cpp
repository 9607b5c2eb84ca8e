#include "hostproject.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>
#include <unordered_map>

#include "orderedxmlwriter.h"
#include "readeroffsets.h"
#include "sharedtexts.h"
#include "xmlquickcheck.h"

namespace {

// The reader's message for a character XML cannot carry quotes nothing:
// the control character it stopped at is named by its code, found on the
// line the reader stopped in, so that the user can find and mend it.
QString describedDamage(const QByteArray &content, const QXmlStreamReader &reader)
{
    QString message = reader.errorString();
    if (!message.contains(QLatin1String("''")))
        return message;
    qsizetype lineStart = 0;
    for (qint64 line = 1; line < reader.lineNumber() && lineStart >= 0; ++line) {
        lineStart = content.indexOf('\n', lineStart);
        if (lineStart >= 0)
            ++lineStart;
    }
    if (lineStart < 0)
        return message;
    const qsizetype lineEnd = content.indexOf('\n', lineStart);
    const QByteArrayView line = QByteArrayView(content).sliced(
        lineStart, (lineEnd < 0 ? content.size() : lineEnd) - lineStart);
    std::optional<uchar> found;
    for (qsizetype i = 0; i < line.size() && (!found || i < reader.columnNumber()); ++i) {
        const uchar byte = uchar(line.at(i));
        if ((byte < 0x20 && byte != '\t' && byte != '\r') || byte == 0x7f)
            found = byte;
    }
    if (found)
        message.replace(QLatin1String("''"), QStringLiteral("character U+%1").arg(
            QString::number(*found, 16).toUpper().rightJustified(4, u'0')));
    return message;
}

// Where the first byte of `bytes` lies that does not belong to a UTF-8
// character; -1 when they all do.
qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    const auto continuation = [&](qsizetype at, uchar low = 0x80, uchar high = 0xBF) {
        return at < bytes.size() && uchar(bytes.at(at)) >= low && uchar(bytes.at(at)) <= high;
    };
    for (qsizetype at = 0; at < bytes.size();) {
        const uchar lead = uchar(bytes.at(at));
        int length = 0;
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF && continuation(at + 1))
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF
                 && continuation(at + 1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF)
                 && continuation(at + 2))
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4
                 && continuation(at + 1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF)
                 && continuation(at + 2) && continuation(at + 3))
            length = 4;
        if (length == 0)
            return at;
        at += length;
    }
    return -1;
}

struct TextPosition
{
    qint64 line = 0;
    qint64 column = 0;
};

// Where the reader stopped, except for a file that is not UTF-8 as it says:
// the reader names the place it had decoded up to, often the first line,
// so the byte that is not UTF-8 is named instead.
TextPosition damagePosition(const QByteArray &content, const QXmlStreamReader &reader)
{
    const TextPosition stopped{reader.lineNumber(), reader.columnNumber()};
    const qsizetype declarationEnd = content.indexOf("?>");
    const QByteArray declaration = content.left(declarationEnd < 0 ? 0 : declarationEnd).toLower();
    if (declaration.contains("encoding") && !declaration.contains("utf-8"))
        return stopped;
    const qsizetype bad = firstInvalidUtf8(content);
    if (bad < 0)
        return stopped;
    const qsizetype lineStart = content.lastIndexOf('\n', bad) + 1;
    TextPosition at{content.left(lineStart).count('\n') + 1, 1};
    for (qsizetype i = lineStart; i < bad; ++i) {
        if ((uchar(content.at(i)) & 0xC0) != 0x80)
            ++at.column;
    }
    return at;
}

QString attribute(const QXmlStreamReader &reader, const char *name)
{
    return reader.attributes().value(QLatin1String(name)).toString();
}

// The parameter's key and value; the element itself has no content.
void readParameter(QXmlStreamReader &reader, QMap<QString, QString> &parameters)
{
    parameters.insert(attribute(reader, "key"), attribute(reader, "value"));
    reader.skipCurrentElement();
}

ProjectApplication readApplication(QXmlStreamReader &reader)
{
    ProjectApplication application;
    application.name = attribute(reader, "name");
    application.type = attribute(reader, "type");
    application.program = attribute(reader, "program");
    application.folder = attribute(reader, "folder");
    while (reader.readNextStartElement()) {
        const auto tag = reader.name();
        if (tag == QLatin1String("tap"))
            application.tapConnectors.append(reader.readElementText());
        else if (tag == QLatin1String("oper"))
            application.operations.append(reader.readElementText());
        else if (tag == QLatin1String("show"))
            application.showOptions.append(reader.readElementText());
        else if (tag == QLatin1String("parameter"))
            readParameter(reader, application.parameters);
        else
            reader.skipCurrentElement();
    }
    return application;
}

ProjectInstrument readInstrument(QXmlStreamReader &reader)
{
    ProjectInstrument instrument;
    instrument.name = attribute(reader, "name");
    instrument.address = attribute(reader, "address");
    instrument.preferred = attribute(reader, "preferred") == QLatin1String("1");
    while (reader.readNextStartElement()) {
        const auto tag = reader.name();
        if (tag == QLatin1String("action"))
            instrument.actions.append(reader.readElementText());
        else if (tag == QLatin1String("parameter"))
            readParameter(reader, instrument.parameters);
        else
            reader.skipCurrentElement();
    }
    return instrument;
}

// The element the reader stands on, with everything below it, as DOM: the
// form a plug-in's element is handed over in.
QDomElement readDomElement(QXmlStreamReader &reader, QDomDocument &document, SharedTexts &shared)
{
    QDomElement element = document.createElement(shared(reader.qualifiedName()));
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute &attribute : attributes)
        element.setAttribute(shared(attribute.qualifiedName()), shared(attribute.value()));
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            element.appendChild(readDomElement(reader, document, shared));
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace())
                element.appendChild(document.createTextNode(reader.text().toString()));
            break;
        case QXmlStreamReader::EndElement:
            return element;
        default:
            break;
        }
    }
    return element;
}

// The element the reader stands on, with everything below it, as XML text:
// what a plug-in is handed to read as a stream, and a DOM is made of only
// when asked for. Whitespace between elements and comments are left out, as
// a DOM of the element would leave them.
QByteArray readElementText(QXmlStreamReader &reader)
{
    QByteArray text;
    QXmlStreamWriter copy(&text);
    copy.writeCurrentToken(reader);
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            copy.writeCurrentToken(reader);
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            copy.writeCurrentToken(reader);
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace())
                copy.writeCurrentToken(reader);
            break;
        default:
            break;
        }
    }
    return text;
}

// The part of a UTF-8 file between two of its reader's character offsets.
class FileText
{
public:
    // the decoder drops a byte order mark
    explicit FileText(const QByteArray &bytes) : offsets(bytes, bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0) {}

    struct Cut
    {
        qsizetype first = 0;
        qsizetype length = 0;
    };

    // From the tag the reader read from `from` on up to `to`.
    Cut element(qint64 from, qint64 to)
    {
        const qsizetype first = offsets.tagAt(from);
        return {first, offsets.byteAt(to) - first};
    }
    QByteArrayView view(Cut cut) const { return QByteArrayView(offsets.data()).sliced(cut.first, cut.length); }

private:
    ReaderOffsets offsets;
};

// The empty element that stands for a plug-in's element kept as text.
void appendPlaceholder(QDomDocument &document, const QString &pluginName)
{
    QDomElement placeholder = document.createElement(QStringLiteral("plugin"));
    placeholder.setAttribute(QStringLiteral("name"), pluginName);
    document.documentElement().appendChild(placeholder);
}

// A <plugin> element: kept as text with an empty element of its name in
// its place; a second element of the same name, which no plug-in reads,
// as DOM. With `file`, the text is cut from the file as it is; false when
// what was cut is not the element (then the file is read again without).
bool readPlugin(QXmlStreamReader &reader, qint64 startOffset, FileText *file,
                QDomDocument &document, QHash<QString, QByteArray> &texts,
                QHash<QString, FileText::Cut> &cuts, SharedTexts &shared)
{
    QDomElement plugins = document.documentElement();
    const QString pluginName = attribute(reader, "name");
    if (texts.contains(pluginName)) {
        plugins.appendChild(readDomElement(reader, document, shared));
        return true;
    }
    appendPlaceholder(document, pluginName);
    if (!file) {
        texts.insert(pluginName, readElementText(reader));
        return true;
    }
    const QByteArray tag = '<' + reader.qualifiedName().toUtf8();
    reader.skipCurrentElement();
    const FileText::Cut cut = file->element(startOffset, reader.characterOffset());
    texts.insert(pluginName, QByteArray());   // taken from the file once it is read
    cuts.insert(pluginName, cut);
    const QByteArrayView text = file->view(cut);
    return reader.hasError() || (text.startsWith(tag) && text.endsWith('>'));
}

// The file's bytes in a buffer of their size: reading by pieces leaves
// room for a third more.
QByteArray readWhole(QFile &file)
{
    const qint64 size = file.size();
    if (size <= 0)
        return file.readAll();
    QByteArray content(size, Qt::Uninitialized);
    const qint64 read = file.read(content.data(), size);
    content.resize(qMax<qint64>(read, 0));
    if (!file.atEnd())
        content += file.readAll();
    return content;
}

// The cut elements' texts. The largest, usually most of the file, takes
// the file's own bytes instead of a copy of them.
void takeCuts(QByteArray content, const QHash<QString, FileText::Cut> &cuts,
              QHash<QString, QByteArray> &texts)
{
    auto largest = cuts.cend();
    for (auto cut = cuts.cbegin(); cut != cuts.cend(); ++cut) {
        if (largest == cuts.cend() || cut->length > largest->length)
            largest = cut;
    }
    for (auto cut = cuts.cbegin(); cut != cuts.cend(); ++cut) {
        if (cut != largest)
            texts.insert(cut.key(), content.sliced(cut->first, cut->length));
    }
    if (largest == cuts.cend())
        return;
    content.truncate(largest->first + largest->length);
    content.remove(0, largest->first);
    texts.insert(largest.key(), std::move(content));
}

// `text`, an element read by readElementText, as a DOM element of `document`.
QDomElement domElement(const QByteArray &text, QDomDocument &document)
{
    QXmlStreamReader reader(text);
    SharedTexts shared;
    if (!reader.readNextStartElement())
        return document.createElement(QStringLiteral("plugin"));
    return readDomElement(reader, document, shared);
}

template<typename Item, typename Read>
QList<Item> readList(QXmlStreamReader &reader, const QString &tag, Read read)
{
    QList<Item> items;
    while (reader.readNextStartElement()) {
        if (reader.name() == tag)
            items.append(read(reader));
        else
            reader.skipCurrentElement();
    }
    return items;
}

void writeTexts(QXmlStreamWriter &stream, const QString &tag, const QStringList &texts)
{
    for (const QString &text : texts)
        stream.writeTextElement(tag, text);
}

void writeParameters(QXmlStreamWriter &stream, const QMap<QString, QString> &parameters)
{
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        stream.writeEmptyElement(QStringLiteral("parameter"));
        stream.writeAttribute(QStringLiteral("key"), it.key());
        stream.writeAttribute(QStringLiteral("value"), it.value());
    }
}

} // namespace

// What one reading of project.xml found, taken over by the project only
// when the whole file has been read without fault.
struct HostProject::ReadProject
{
    explicit ReadProject(const QXmlStreamReader &root)
        : name(attribute(root, "name")), formatIndex(attribute(root, "formatIndex").toInt() > 0 ? 1 : 0)
    {
        pluginData.appendChild(pluginData.createElement(QStringLiteral("plugins")));
    }

    // Reads the host's own part that `reader` stands on; false for any other.
    bool readHostPart(QXmlStreamReader &reader)
    {
        const auto tag = reader.name();
        if (tag == QLatin1String("applications"))
            applications += readList<ProjectApplication>(reader, QStringLiteral("application"), readApplication);
        else if (tag == QLatin1String("instruments"))
            instruments += readList<ProjectInstrument>(reader, QStringLiteral("instrument"), readInstrument);
        else
            return false;
        return true;
    }

    QString name;
    int formatIndex = 0;
    QList<ProjectApplication> applications;
    QList<ProjectInstrument> instruments;
    QDomDocument pluginData;
    QHash<QString, QByteArray> pluginTexts;
    QHash<QString, FileText::Cut> cuts;
};

QString HostProject::filePath() const
{
    return QDir(folder).filePath(FileName);
}

bool HostProject::open(const QString &directory)
{
    const QString path = QDir(directory).filePath(FileName);
    QFile file(path);
    if (!QFileInfo(directory).isDir()) {
        error = QObject::tr("'%1' is not a project folder: it does not exist.").arg(directory);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QObject::tr("Cannot open the project file '%1': %2").arg(path, file.errorString());
        return false;
    }
    // The file is read whole: the plug-ins' elements are cut from it as they
    // are, not written out again from what the reader made of them.
    QByteArray content = readWhole(file);
    file.close();
    if (!parseQuickly(content) && !parse(std::move(content), path, true))
        return false;
    folder = QFileInfo(directory).absoluteFilePath();
    return true;
}

// A reader's pass over a large sequencer's element, only to find it
// well-formed, costs a sixth of a long run's time. A file of plain markup
// is checked far faster without one; a reader then reads only its outline,
// the file with the plug-ins' content left out, which is cut from the file
// as it is. False, with nothing changed, when the file needs the full
// reading, which also names any damage and its place.
bool HostProject::parseQuickly(QByteArray &content)
{
    const std::optional<QList<XmlQuickCheck::Element>> plugins =
        XmlQuickCheck::rootChildren(content, "plugin");
    if (!plugins)
        return false;
    QByteArray outline;
    qsizetype from = 0;
    for (const XmlQuickCheck::Element &plugin : *plugins) {
        outline.append(QByteArrayView(content).sliced(from, plugin.startTagEnd - from));
        from = plugin.endTagStart;
    }
    outline.append(QByteArrayView(content).sliced(from));

    QXmlStreamReader reader(outline);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("project"))
        return false;
    ReadProject read(reader);
    qsizetype pluginsRead = 0;
    while (!reader.hasError() && !reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (read.readHostPart(reader))
            continue;
        if (reader.name() == QLatin1String("plugin")) {
            // a second element of one name is read as DOM by the full reading
            const QString pluginName = attribute(reader, "name");
            if (pluginsRead >= plugins->size() || read.pluginTexts.contains(pluginName))
                return false;
            const XmlQuickCheck::Element &plugin = plugins->at(pluginsRead++);
            appendPlaceholder(read.pluginData, pluginName);
            read.pluginTexts.insert(pluginName, QByteArray());
            read.cuts.insert(pluginName, {plugin.start, plugin.end - plugin.start});
        }
        reader.skipCurrentElement();
    }
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError() || pluginsRead != plugins->size())
        return false;

    adopt(read, std::move(content));
    return true;
}

bool HostProject::parse(QByteArray content, const QString &path, bool cutPluginTexts)
{
    // Read as a stream: the host's own parts go straight into their records,
    // and the plug-ins' elements are kept as text, from which a plug-in
    // reads its own as a stream or a DOM of it is made.
    // through a device, which the reader decodes piece by piece
    QBuffer device;
    device.setData(content);
    device.open(QIODevice::ReadOnly);
    QXmlStreamReader reader(&device);
    if (reader.readNextStartElement() && reader.name() != QLatin1String("project")) {
        error = QObject::tr("The file '%1' is not a project file: its root element is <%2>, "
                            "not <project>.")
                    .arg(path, reader.name().toString());
        return false;
    }
    // Cut from the file only what the reader decoded as UTF-8, as the text
    // is handed on.
    const QStringView encoding = reader.documentEncoding();
    std::optional<FileText> file;
    if (cutPluginTexts
        && (encoding.isEmpty() || encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0))
        file.emplace(content);
    ReadProject read(reader);
    SharedTexts shared;
    while (!reader.hasError() && !reader.atEnd()) {
        // token by token, so that an element's start offset is known
        const qint64 startOffset = reader.characterOffset();
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (read.readHostPart(reader))
            continue;
        if (reader.name() != QLatin1String("plugin"))
            reader.skipCurrentElement();
        else if (!readPlugin(reader, startOffset, file ? &*file : nullptr, read.pluginData,
                             read.pluginTexts, read.cuts, shared))
            return parse(content, path, false);
    }
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError()) {
        const TextPosition at = damagePosition(content, reader);
        error = QObject::tr("The project file '%1' is damaged: %2 (line %3, column %4).")
                    .arg(path, describedDamage(content, reader))
                    .arg(at.line)
                    .arg(at.column);
        return false;
    }

    // the reader and the device let go of the file's bytes, which the
    // largest element then keeps without a copy
    file.reset();
    device.close();
    device.setData(QByteArray());
    adopt(read, std::move(content));
    return true;
}

void HostProject::adopt(ReadProject &read, QByteArray content)
{
    takeCuts(std::move(content), read.cuts, read.pluginTexts);
    name = read.name;
    formatIndex = read.formatIndex;
    applications = read.applications;
    instruments = read.instruments;
    pluginData = read.pluginData;
    pluginTexts = read.pluginTexts;
    error.clear();
}

bool HostProject::write(QIODevice &device, const QString &streamedPlugin, const PluginWriter &writer)
{
    QXmlStreamWriter stream(&device);
    stream.setAutoFormatting(true);
    stream.setAutoFormattingIndent(2);
    stream.writeStartDocument();
    stream.writeStartElement(QStringLiteral("project"));
    stream.writeAttribute(QStringLiteral("name"), name);
    stream.writeAttribute(QStringLiteral("formatIndex"), QString::number(formatIndex));

    stream.writeStartElement(QStringLiteral("applications"));
    for (const ProjectApplication &application : applications) {
        stream.writeStartElement(QStringLiteral("application"));
        stream.writeAttribute(QStringLiteral("name"), application.name);
        stream.writeAttribute(QStringLiteral("type"), application.type);
        stream.writeAttribute(QStringLiteral("program"), application.program);
        if (!application.folder.isEmpty())
            stream.writeAttribute(QStringLiteral("folder"), application.folder);
        writeTexts(stream, QStringLiteral("tap"), application.tapConnectors);
        writeTexts(stream, QStringLiteral("oper"), application.operations);
        writeTexts(stream, QStringLiteral("show"), application.showOptions);
        writeParameters(stream, application.parameters);
        stream.writeEndElement();
    }
    stream.writeEndElement();

    stream.writeStartElement(QStringLiteral("instruments"));
    for (const ProjectInstrument &instrument : instruments) {
        stream.writeStartElement(QStringLiteral("instrument"));
        stream.writeAttribute(QStringLiteral("name"), instrument.name);
        stream.writeAttribute(QStringLiteral("address"), instrument.address);
        if (instrument.preferred)
            stream.writeAttribute(QStringLiteral("preferred"), QStringLiteral("1"));
        writeTexts(stream, QStringLiteral("action"), instrument.actions);
        writeParameters(stream, instrument.parameters);
        stream.writeEndElement();
    }
    stream.writeEndElement();
    if (stream.hasError()) {
        error = QObject::tr("an application or instrument holds a character XML cannot carry");
        return false;
    }

    const QDomElement pluginsElement = pluginData.documentElement();
    QDomElement element = pluginsElement.firstChildElement(QStringLiteral("plugin"));
    while (!element.isNull()) {
        // writing may put the DOM of its text in the element's place
        const QDomElement next = element.nextSiblingElement(QStringLiteral("plugin"));
        if (!writePlugin(stream, element, streamedPlugin, writer))
            return false;
        element = next;
    }
    stream.writeEndElement();
    stream.writeEndDocument();
    return true;
}

bool HostProject::writePlugin(QXmlStreamWriter &stream, const QDomElement &element,
                              const QString &streamedPlugin, const PluginWriter &writer)
{
    const QString pluginName = element.attribute(QStringLiteral("name"));
    const bool first = element == findPluginElement(pluginName);
    if (writer && first && pluginName == streamedPlugin) {
        stream.writeStartElement(QStringLiteral("plugin"));
        stream.writeAttribute(QStringLiteral("name"), pluginName);
        if (!writer(stream, error))
            return false;
        stream.writeEndElement();
        return true;
    }
    OrderedXmlWriter plugins(stream);
    if (!plugins.writeElement(first ? pluginElement(pluginName) : element)) {
        error = plugins.errorString();
        return false;
    }
    return true;
}

bool HostProject::save()
{
    return save(QString(), PluginWriter());
}

bool HostProject::save(const QString &streamedPlugin, const PluginWriter &writer)
{
    const QString path = filePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QObject::tr("Cannot write the project file '%1': %2").arg(path, file.errorString());
        return false;
    }
    if (!write(file, streamedPlugin, writer)) {
        file.cancelWriting();
        error = QObject::tr("The project file '%1' was not written: %2").arg(path, error);
        return false;
    }
    if (!file.commit()) {
        error = QObject::tr("Cannot write the project file '%1': %2").arg(path, file.errorString());
        return false;
    }
    error.clear();
    return true;
}

bool HostProject::create(const QString &directory, const QString &projectName)
{
    if (QFileInfo::exists(QDir(directory).filePath(FileName))) {
        error = QObject::tr("'%1' already holds a project.").arg(directory);
        return false;
    }
    if (!QDir().mkpath(directory)) {
        error = QObject::tr("Cannot create the project folder '%1'.").arg(directory);
        return false;
    }
    folder = QFileInfo(directory).absoluteFilePath();
    name = projectName;
    formatIndex = 0;
    applications.clear();
    instruments.clear();
    pluginData = QDomDocument();
    pluginTexts.clear();
    return save();
}

const ProjectApplication *HostProject::application(const QString &applicationName) const
{
    for (const ProjectApplication &application : applications) {
        if (application.name == applicationName)
            return &application;
    }
    return nullptr;
}

ProjectApplication *HostProject::application(const QString &applicationName)
{
    for (ProjectApplication &application : applications) {
        if (application.name == applicationName)
            return &application;
    }
    return nullptr;
}

const ProjectInstrument *HostProject::instrument(const QString &instrumentName) const
{
    for (const ProjectInstrument &instrument : instruments) {
        if (instrument.name == instrumentName)
            return &instrument;
    }
    return nullptr;
}

QString HostProject::preferredInstrument() const
{
    for (const ProjectInstrument &instrument : instruments) {
        if (instrument.preferred)
            return instrument.name;
    }
    return QString();
}

QDomElement HostProject::findPluginElement(const QString &pluginName)
{
    if (pluginData.isNull() || pluginData.documentElement().isNull())
        pluginData.appendChild(pluginData.createElement(QStringLiteral("plugins")));
    QDomElement plugins = pluginData.documentElement();
    for (QDomElement element = plugins.firstChildElement(QStringLiteral("plugin")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("plugin"))) {
        if (element.attribute(QStringLiteral("name")) == pluginName)
            return element;
    }
    QDomElement element = pluginData.createElement(QStringLiteral("plugin"));
    element.setAttribute(QStringLiteral("name"), pluginName);
    plugins.appendChild(element);
    return element;
}

QDomElement HostProject::pluginElement(const QString &pluginName)
{
    QDomElement element = findPluginElement(pluginName);
    const auto text = pluginTexts.constFind(pluginName);
    if (text == pluginTexts.cend())
        return element;
    QDomElement read = domElement(*text, pluginData);
    pluginTexts.erase(text);
    element.parentNode().replaceChild(read, element);
    return read;
}

QByteArray HostProject::pluginXml(const QString &pluginName)
{
    const auto text = pluginTexts.constFind(pluginName);
    if (text != pluginTexts.cend())
        return *text;
    QByteArray bytes;
    QString problem;
    if (!OrderedXmlWriter::toByteArray(findPluginElement(pluginName), bytes, problem))
        return QByteArray();
    return bytes;
}

QDomElement HostProject::resetPluginElement(const QString &pluginName)
{
    pluginTexts.remove(pluginName);
    QDomElement old = findPluginElement(pluginName);
    QDomElement fresh = pluginData.createElement(QStringLiteral("plugin"));
    fresh.setAttribute(QStringLiteral("name"), pluginName);
    old.parentNode().replaceChild(fresh, old);
    return fresh;
}
