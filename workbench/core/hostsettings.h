#pragma once

#include <QCoreApplication>
#include <QDomDocument>
#include <QString>

// The reference host's own settings: one XML file per user, shared by
// workbench and seqrun, in which every plug-in keeps its settings as
// elements below the root. The file is "settings.xml" in the user's
// configuration folder ("orv-workbench" below $XDG_CONFIG_HOME, or
// ~/.config); ORV_SETTINGS_FILE names another file.
class HostSettings
{
    Q_DECLARE_TR_FUNCTIONS(HostSettings)

public:
    static QString defaultFileName();

    explicit HostSettings(const QString &fileName = defaultFileName());

    // Reads the file. A missing file gives empty settings; a damaged one
    // gives empty settings as well, returns false and says why.
    bool load();
    // Writes the file atomically; false and why when it cannot be written.
    bool save();

    QDomElement root() { return document.documentElement(); }
    QString fileName() const { return path; }
    QString errorString() const { return error; }

private:
    void reset();

    QString path;
    QDomDocument document;
    QString error;
};
