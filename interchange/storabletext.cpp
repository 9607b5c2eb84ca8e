#include "storabletext.h"

#include "hxsequenceitem.h"
#include "orderedxmlwriter.h"
#include "textboundary.h"

namespace {

void cleanText(QString &text, const QString &name, QStringList &changed)
{
    if (TextBoundary::isXmlSafe(text))
        return;
    text = TextBoundary::toXml(text);
    if (!changed.contains(name))
        changed.append(name);
}

} // namespace

QStringList StorableText::clean(HxSequenceItem &item)
{
    QStringList changed;
    const std::pair<const char *, QString *> fields[] = {
        {"ColumnOperation", &item.columnOperation},
        {"ColumnProperty", &item.columnProperty},
        {"ColumnItem", &item.columnItem},
        {"ColumnShow", &item.columnShow},
        {"ColumnType", &item.columnType},
        {"OperationItemId", &item.operationItemId},
        {"CommandEx", &item.commandEx},
        {"PauseMessageText", &item.pauseMessageText},
        {"PassAction", &item.passAction},
        {"FailAction", &item.failAction},
        {"RejectAction", &item.rejectAction},
        {"SyseAction", &item.systemErrorAction},
        {"ColumnOperation", &item.propertiesOperation},
        {"ColumnShow", &item.propertiesShow},
    };
    for (const auto &[name, text] : fields)
        cleanText(*text, QLatin1String(name), changed);

    SequenceCommand &command = item.command;
    QString name = command.name();
    QString line = command.command();
    QString dir = command.dir();
    cleanText(name, QStringLiteral("ColumnItem"), changed);
    cleanText(line, QStringLiteral("SeqCommandCommand"), changed);
    cleanText(dir, QStringLiteral("SeqCommandDir"), changed);
    command.setName(name);
    command.setCommand(line);
    command.setDir(dir);

    const QStringList keys = item.parameters.keys();
    for (const QString &key : keys) {
        if (!OrderedXmlWriter::isName(key)) {
            item.parameters.remove(key);
            const QString shown = TextBoundary::toXml(key);
            if (!changed.contains(shown))
                changed.append(shown);
            continue;
        }
        QString value = item.parameters.value(key);
        if (TextBoundary::isXmlSafe(value))
            continue;
        cleanText(value, key, changed);
        item.parameters.insert(key, value);
    }
    return changed;
}
