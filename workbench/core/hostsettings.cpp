#include "hostsettings.h"

#include "orderedxmlwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString RootName = QStringLiteral("settings");

} // namespace

QString HostSettings::defaultFileName()
{
    const QString configured = qEnvironmentVariable("ORV_SETTINGS_FILE");
    if (!configured.isEmpty())
        return configured;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(base).filePath(QStringLiteral("orv-workbench/settings.xml"));
}

HostSettings::HostSettings(const QString &fileName) : path(fileName)
{
    reset();
}

void HostSettings::reset()
{
    document = QDomDocument();
    document.appendChild(document.createElement(RootName));
}

bool HostSettings::load()
{
    reset();
    error.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("The settings file '%1' cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QDomDocument read;
    QString problem;
    int line = 0;
    if (!read.setContent(&file, &problem, &line) || read.documentElement().tagName() != RootName) {
        error = tr("The settings file '%1' is damaged (line %2: %3); the default settings are used.")
                    .arg(QDir::toNativeSeparators(path))
                    .arg(line)
                    .arg(problem.isEmpty() ? tr("no <settings> element") : problem);
        return false;
    }
    document = read;
    return true;
}

bool HostSettings::save()
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes;
    QString problem;
    if (!OrderedXmlWriter::toByteArray(document.documentElement(), bytes, problem)) {
        error = tr("The settings file '%1' was not written: %2").arg(QDir::toNativeSeparators(path), problem);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit()) {
        error = tr("The settings file '%1' cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    error.clear();
    return true;
}
