#include "sequencersettings.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNamedNodeMap>

namespace {

const QString ElementName = QStringLiteral("ORVSequencerSettings");

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Older hosts wrote flags as any decimal number; only a number other than
// 0 switches a setting on, anything that is not a number switches it off.
bool flagValue(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    return ok && value != 0;
}

} // namespace

QStringList SequencerSettings::gangList()
{
    QStringList entries;
    for (int mask = 1; mask <= 15; ++mask) {
        QString entry;
        for (int tap = 1; tap <= 4; ++tap) {
            if (mask & (1 << (tap - 1)))
                entry.append(QChar(u'0' + tap));
        }
        entries.append(entry);
    }
    return entries;
}

void SequencerSettings::save(QDomElement &parent) const
{
    QDomElement element = parent.ownerDocument().createElement(ElementName);
    element.setAttribute(QStringLiteral("saveReports"), flagText(saveReports));
    element.setAttribute(QStringLiteral("removeReports"), flagText(removeReports));
    element.setAttribute(QStringLiteral("defaultUnitReportsPath"), flagText(defaultUnitReportsPath));
    element.setAttribute(QStringLiteral("unitReportsPath"), unitReportsPath);
    element.setAttribute(QStringLiteral("perUnit"), flagText(perUnit));
    element.setAttribute(QStringLiteral("enableGang"), flagText(enableGang));
    element.setAttribute(QStringLiteral("gang"), gang);
    element.setAttribute(QStringLiteral("gangText"), gangText);
    element.setAttribute(QStringLiteral("saveResultFiles"), flagText(saveResultFiles));
    element.setAttribute(QStringLiteral("resultsDatabase"), resultsDatabase);
    element.setAttribute(QStringLiteral("redoLimit"), redoLimit);
    parent.appendChild(element);
}

void SequencerSettings::load(const QDomElement &parent)
{
    const QDomElement element = parent.elementsByTagName(ElementName).item(0).toElement();
    if (element.isNull())
        return;
    const QDomNamedNodeMap attributes = element.attributes();
    for (int index = 0; index < attributes.count(); ++index) {
        const QDomAttr attribute = attributes.item(index).toAttr();
        const QString name = attribute.name();
        const QString value = attribute.value();
        if (name == QLatin1String("saveReports"))
            saveReports = flagValue(value);
        else if (name == QLatin1String("removeReports"))
            removeReports = flagValue(value);
        else if (name == QLatin1String("defaultUnitReportsPath"))
            defaultUnitReportsPath = flagValue(value);
        else if (name == QLatin1String("unitReportsPath"))
            unitReportsPath = value;
        else if (name == QLatin1String("perUnit"))
            perUnit = flagValue(value);
        else if (name == QLatin1String("enableGang"))
            enableGang = flagValue(value);
        else if (name == QLatin1String("gang"))
            gang = value;
        else if (name == QLatin1String("gangText"))
            gangText = value;
        else if (name == QLatin1String("saveResultFiles"))
            saveResultFiles = flagValue(value);
        else if (name == QLatin1String("resultsDatabase"))
            resultsDatabase = value;
        else if (name == QLatin1String("redoLimit"))
            redoLimit = qMax(0, value.toInt());
    }
}
