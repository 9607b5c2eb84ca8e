#pragma once

#include <QDomDocument>
#include <QIODevice>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

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
    // Writes the project file atomically.
    [[nodiscard]] bool save();
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
    // A fresh, empty element for `pluginName`, replacing the stored one.
    QDomElement resetPluginElement(const QString &pluginName);

private:
    bool parse(QIODevice &device, const QString &path);
    [[nodiscard]] bool write(QIODevice &device);

    QString folder;
    QString error;
    QDomDocument pluginData;   // holds one <plugin name="..."> element per module
};
