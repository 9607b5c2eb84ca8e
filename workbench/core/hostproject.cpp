#include "hostproject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QStringList childTexts(const QDomElement &parent, const QString &tag)
{
    QStringList texts;
    for (QDomElement child = parent.firstChildElement(tag); !child.isNull();
         child = child.nextSiblingElement(tag))
        texts.append(child.text());
    return texts;
}

QMap<QString, QString> childParameters(const QDomElement &parent)
{
    QMap<QString, QString> parameters;
    for (QDomElement child = parent.firstChildElement(QStringLiteral("parameter")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("parameter")))
        parameters.insert(child.attribute(QStringLiteral("key")), child.attribute(QStringLiteral("value")));
    return parameters;
}

void appendTexts(QDomDocument &document, QDomElement &parent, const QString &tag,
                 const QStringList &texts)
{
    for (const QString &text : texts) {
        QDomElement child = document.createElement(tag);
        child.appendChild(document.createTextNode(text));
        parent.appendChild(child);
    }
}

void appendParameters(QDomDocument &document, QDomElement &parent,
                      const QMap<QString, QString> &parameters)
{
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        QDomElement child = document.createElement(QStringLiteral("parameter"));
        child.setAttribute(QStringLiteral("key"), it.key());
        child.setAttribute(QStringLiteral("value"), it.value());
        parent.appendChild(child);
    }
}

ProjectApplication readApplication(const QDomElement &element)
{
    ProjectApplication application;
    application.name = element.attribute(QStringLiteral("name"));
    application.type = element.attribute(QStringLiteral("type"));
    application.program = element.attribute(QStringLiteral("program"));
    application.folder = element.attribute(QStringLiteral("folder"));
    application.tapConnectors = childTexts(element, QStringLiteral("tap"));
    application.operations = childTexts(element, QStringLiteral("oper"));
    application.showOptions = childTexts(element, QStringLiteral("show"));
    application.parameters = childParameters(element);
    return application;
}

ProjectInstrument readInstrument(const QDomElement &element)
{
    ProjectInstrument instrument;
    instrument.name = element.attribute(QStringLiteral("name"));
    instrument.address = element.attribute(QStringLiteral("address"));
    instrument.preferred = element.attribute(QStringLiteral("preferred")) == QLatin1String("1");
    instrument.actions = childTexts(element, QStringLiteral("action"));
    instrument.parameters = childParameters(element);
    return instrument;
}

} // namespace

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
    if (!parse(file.readAll(), path))
        return false;
    folder = QFileInfo(directory).absoluteFilePath();
    return true;
}

bool HostProject::parse(const QByteArray &content, const QString &path)
{
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(content, &message, &line, &column)) {
        error = QObject::tr("The project file '%1' is damaged: %2 (line %3, column %4).")
                    .arg(path, message)
                    .arg(line)
                    .arg(column);
        return false;
    }
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("project")) {
        error = QObject::tr("The file '%1' is not a project file: its root element is <%2>, "
                            "not <project>.")
                    .arg(path, root.tagName());
        return false;
    }

    QList<ProjectApplication> readApplications;
    const QDomElement applicationsElement = root.firstChildElement(QStringLiteral("applications"));
    for (QDomElement element = applicationsElement.firstChildElement(QStringLiteral("application"));
         !element.isNull(); element = element.nextSiblingElement(QStringLiteral("application")))
        readApplications.append(readApplication(element));

    QList<ProjectInstrument> readInstruments;
    const QDomElement instrumentsElement = root.firstChildElement(QStringLiteral("instruments"));
    for (QDomElement element = instrumentsElement.firstChildElement(QStringLiteral("instrument"));
         !element.isNull(); element = element.nextSiblingElement(QStringLiteral("instrument")))
        readInstruments.append(readInstrument(element));

    QDomDocument readPluginData;
    QDomElement plugins = readPluginData.createElement(QStringLiteral("plugins"));
    readPluginData.appendChild(plugins);
    for (QDomElement element = root.firstChildElement(QStringLiteral("plugin")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("plugin")))
        plugins.appendChild(readPluginData.importNode(element, true));

    name = root.attribute(QStringLiteral("name"));
    formatIndex = root.attribute(QStringLiteral("formatIndex")).toInt() > 0 ? 1 : 0;
    applications = readApplications;
    instruments = readInstruments;
    pluginData = readPluginData;
    error.clear();
    return true;
}

QDomDocument HostProject::toDocument() const
{
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(
        QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = document.createElement(QStringLiteral("project"));
    root.setAttribute(QStringLiteral("name"), name);
    root.setAttribute(QStringLiteral("formatIndex"), formatIndex);
    document.appendChild(root);

    QDomElement applicationsElement = document.createElement(QStringLiteral("applications"));
    root.appendChild(applicationsElement);
    for (const ProjectApplication &application : applications) {
        QDomElement element = document.createElement(QStringLiteral("application"));
        element.setAttribute(QStringLiteral("name"), application.name);
        element.setAttribute(QStringLiteral("type"), application.type);
        element.setAttribute(QStringLiteral("program"), application.program);
        if (!application.folder.isEmpty())
            element.setAttribute(QStringLiteral("folder"), application.folder);
        appendTexts(document, element, QStringLiteral("tap"), application.tapConnectors);
        appendTexts(document, element, QStringLiteral("oper"), application.operations);
        appendTexts(document, element, QStringLiteral("show"), application.showOptions);
        appendParameters(document, element, application.parameters);
        applicationsElement.appendChild(element);
    }

    QDomElement instrumentsElement = document.createElement(QStringLiteral("instruments"));
    root.appendChild(instrumentsElement);
    for (const ProjectInstrument &instrument : instruments) {
        QDomElement element = document.createElement(QStringLiteral("instrument"));
        element.setAttribute(QStringLiteral("name"), instrument.name);
        element.setAttribute(QStringLiteral("address"), instrument.address);
        if (instrument.preferred)
            element.setAttribute(QStringLiteral("preferred"), 1);
        appendTexts(document, element, QStringLiteral("action"), instrument.actions);
        appendParameters(document, element, instrument.parameters);
        instrumentsElement.appendChild(element);
    }

    const QDomElement plugins = pluginData.documentElement();
    for (QDomElement element = plugins.firstChildElement(QStringLiteral("plugin")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("plugin")))
        root.appendChild(document.importNode(element, true));
    return document;
}

bool HostProject::save()
{
    const QString path = filePath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QObject::tr("Cannot write the project file '%1': %2").arg(path, file.errorString());
        return false;
    }
    file.write(toDocument().toByteArray(2));
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

QDomElement HostProject::pluginElement(const QString &pluginName)
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

QDomElement HostProject::resetPluginElement(const QString &pluginName)
{
    QDomElement old = pluginElement(pluginName);
    QDomElement fresh = pluginData.createElement(QStringLiteral("plugin"));
    fresh.setAttribute(QStringLiteral("name"), pluginName);
    old.parentNode().replaceChild(fresh, old);
    return fresh;
}
