#include "sequencecommandcatalogue.h"

#include "hostlink.h"
#include "textboundary.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace {

const QString RootTag = QStringLiteral("SequenceCommands");
const QString CommandTag = QStringLiteral("SequenceCommand");

bool flag(const QDomElement &element, const QString &name)
{
    return element.attribute(name).toInt() != 0;
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

SequenceCommand readCommand(const QDomElement &element)
{
    // A missing attribute reads as 0, even the fail exit code, whose
    // default elsewhere is 1: that is how older catalogues were read.
    SequenceCommand command;
    command.setName(element.attribute(QStringLiteral("name")));
    command.setCommand(element.attribute(QStringLiteral("command")));
    command.setDir(element.attribute(QStringLiteral("dir")));
    command.setLaunchInDesignDir(flag(element, QStringLiteral("launchInDesignDir")));
    command.setAddToLaunchMenu(flag(element, QStringLiteral("addToLaunchMenu")));
    command.setConsoleApp(flag(element, QStringLiteral("consoleApp")));
    command.setInternal(flag(element, QStringLiteral("internal")));
    command.setAllowUserInteraction(flag(element, QStringLiteral("allowUserInteraction")));
    command.setShowImmediateOutput(flag(element, QStringLiteral("showImmediateOutput")));
    command.setEditBeforeLaunch(flag(element, QStringLiteral("editBeforeLaunch")));
    command.setPassExitCode(element.attribute(QStringLiteral("passExitCode")).toInt());
    command.setFailExitCode(element.attribute(QStringLiteral("failExitCode")).toInt());
    return command;
}

void writeCommand(QXmlStreamWriter &xml, const SequenceCommand &command)
{
    // Always in this order, so the same catalogue is the same bytes.
    xml.writeEmptyElement(CommandTag);
    xml.writeAttribute(QStringLiteral("name"), TextBoundary::toXml(command.name()));
    xml.writeAttribute(QStringLiteral("command"), TextBoundary::toXml(command.command()));
    xml.writeAttribute(QStringLiteral("dir"), TextBoundary::toXml(command.dir()));
    xml.writeAttribute(QStringLiteral("launchInDesignDir"), flagText(command.launchInDesignDir()));
    xml.writeAttribute(QStringLiteral("addToLaunchMenu"), flagText(command.addToLaunchMenu()));
    xml.writeAttribute(QStringLiteral("consoleApp"), flagText(command.consoleApp()));
    xml.writeAttribute(QStringLiteral("internal"), flagText(command.internal()));
    xml.writeAttribute(QStringLiteral("allowUserInteraction"), flagText(command.allowUserInteraction()));
    xml.writeAttribute(QStringLiteral("showImmediateOutput"), flagText(command.showImmediateOutput()));
    xml.writeAttribute(QStringLiteral("editBeforeLaunch"), flagText(command.editBeforeLaunch()));
    xml.writeAttribute(QStringLiteral("passExitCode"), QString::number(command.passExitCode()));
    xml.writeAttribute(QStringLiteral("failExitCode"), QString::number(command.failExitCode()));
}

} // namespace

QString SequenceCommandCatalogue::filePath(const HostLink &link)
{
    const QString relative = QStringLiteral("plugins/ORVSequencerCommands.xml");
    const QString startup = link.mainValue(QStringLiteral("StartupPath"));
    return startup.isEmpty() ? relative : QDir(startup).filePath(relative);
}

void SequenceCommandCatalogue::load(const QString &path)
{
    list.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QDomDocument document;
    if (!document.setContent(&file))
        return;
    for (QDomElement element = document.documentElement().firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        if (element.tagName() == CommandTag)
            list.append(readCommand(element));
    }
}

bool SequenceCommandCatalogue::save(const QString &path) const
{
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeDTD(QStringLiteral("<!DOCTYPE ORVSequencerCommands>"));
    xml.writeStartElement(RootTag);
    for (const SequenceCommand &command : list)
        writeCommand(xml, command);
    xml.writeEndDocument();
    if (xml.hasError())
        return false;

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The document type comes first, with nothing before it.
    file.write(text.trimmed() + '\n');
    return file.commit();
}

const SequenceCommand *SequenceCommandCatalogue::find(const QString &name) const
{
    for (const SequenceCommand &command : list) {
        if (command.name() == name)
            return &command;
    }
    return nullptr;
}

void SequenceCommandCatalogue::replace(const SequenceCommand &command)
{
    remove(command.name());
    list.append(command);
}

void SequenceCommandCatalogue::remove(const QString &name)
{
    list.removeIf([&name](const SequenceCommand &command) { return command.name() == name; });
}
