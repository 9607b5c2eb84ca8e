#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class QXmlStreamWriter;

// A project application as the reference host keeps it.
struct ProjectApplication
{
    QString name;
    QString type;
    QString program;          // the program that runs it, relative to the project folder
    QString folder;           // its files, relative to the project folder
    QStringList tapConnectors;
    QStringList operations;   // the execute settings' "Oper" list
    QStringList showOptions;  // the execute settings' "Show" list
    QMap<QString, QString> parameters;
};

struct ProjectInstrument
{
    QString name;
    QString address;
    QMap<QString, QString> parameters;   // "Reset.0", "ExecBcu", "MaxTaps.0", ...
    QStringList actions;                 // "ExecReset", "ExecBcu"
    bool preferred = false;
};

// A project folder: "project.xml" with the project's name, its
// applications and instruments, the format to store sequences with and
// the sequencer's own element.
class HostProject
{
public:
    static inline const QString FileName = QStringLiteral("project.xml");

    // Reads DIRECTORY/project.xml. On failure nothing of this object
    // changes and errorString() names the file and the problem.
    [[nodiscard]] bool open(const QString &directory);
    // Writes `pluginName`'s element: the host has written its start tag and
    // "name"; false, with `problem` set, when it could not be written.
    using PluginWriter = std::function<bool(QXmlStreamWriter &writer, QString &problem)>;

    // Writes the project file atomically.
    [[nodiscard]] bool save();
    // The same, with `pluginName`'s element written by `writer` instead of
    // from its DOM.
    [[nodiscard]] bool save(const QString &pluginName, const PluginWriter &writer);
    // A new project folder with an empty project file.
    [[nodiscard]] bool create(const QString &directory, const QString &name);

    QString errorString() const { return error; }

    QString directory() const { return folder; }
    QString filePath() const;
    QString name;
    int formatIndex = 0;      // 0 long names, 1 short names
    QList<ProjectApplication> applications;
    QList<ProjectInstrument> instruments;

    const ProjectApplication *application(const QString &name) const;
    ProjectApplication *application(const QString &name);
    const ProjectInstrument *instrument(const QString &name) const;
    QString preferredInstrument() const;

    // The element handed to the sequencer's save and load.
    QDomElement pluginElement(const QString &pluginName);
    // The same element as XML text, for a plug-in that reads it as a stream.
    QByteArray pluginXml(const QString &pluginName);
    // A fresh, empty element for `pluginName`, replacing the stored one.
    QDomElement resetPluginElement(const QString &pluginName);

private:
    struct ReadProject;

    bool parseQuickly(QByteArray &content);
    bool parse(QByteArray content, const QString &path, bool cutPluginTexts);
    void adopt(ReadProject &read, QByteArray content);
    [[nodiscard]] bool write(QIODevice &device, const QString &streamedPlugin,
                             const PluginWriter &writer);
    [[nodiscard]] bool writePlugin(QXmlStreamWriter &stream, const QDomElement &element,
                                   const QString &streamedPlugin, const PluginWriter &writer);
    QDomElement findPluginElement(const QString &pluginName);

    QString folder;
    QString error;
    // Holds one <plugin name="..."> element per module, in the file's order.
    // An element read from the file stays empty, its content kept as text in
    // pluginTexts until a DOM of it is asked for: a DOM costs many times the
    // text.
    QDomDocument pluginData;
    QHash<QString, QByteArray> pluginTexts;
};
