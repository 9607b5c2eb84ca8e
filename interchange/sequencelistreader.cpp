#include "sequencelistreader.h"

#include "applicationtypes.h"
#include "cinidata.h"
#include "cinifile.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "instrumentflags.h"
#include "sequencelistkeys.h"
#include "textboundary.h"

#include <QMap>

namespace {

namespace Key = SequenceListKey;
namespace Parameter = ExecutionParameters;

// The TAP numbers a list file can carry flags for.
constexpr int firstTap = 0;
constexpr int lastTap = 31;

} // namespace

SequenceListReader::SequenceListReader(const CIniFile &document) : document(document)
{
    for (const CIniData *entry : document.sectionEntryList(Key::SequenceSection)) {
        // Duplicate keys all read the first one's value.
        if (!sequenceNames.contains(entry->key))
            sequenceNames.insert(entry->key, TextBoundary::fromIniValue(entry->value));
    }
}

QStringList SequenceListReader::itemKeys() const
{
    return document.keys(Key::SequenceSection);
}

int SequenceListReader::number(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

bool SequenceListReader::flag(const QString &text)
{
    return number(text) == 1;
}


SequenceListReader::Entries SequenceListReader::sectionEntries(const QString &section) const
{
    // SEQUENCE lists the items; it is nobody's own section.
    return section == Key::SequenceSection ? Entries() : document.sectionEntryList(section);
}

QString SequenceListReader::value(const Entries &entries, const QString &section,
                                  const QString &key, const QString &defaultValue) const
{
    // A section of a hand-made file may be of any size; only the small ones
    // an export writes are searched here.
    constexpr qsizetype searchedHere = 64;
    if (entries.isEmpty())
        return defaultValue;
    if (entries.size() > searchedHere)
        return TextBoundary::fromIniValue(document.value(section, key, defaultValue));
    for (const CIniData *entry : entries) {
        if (entry->key == key)
            return TextBoundary::fromIniValue(entry->value);
    }
    return defaultValue;
}

ImportedItem SequenceListReader::buildItem(const QString &key) const
{
    ImportedItem imported;
    imported.key = key;
    HxSequenceItem &item = imported.item;
    const QString &section = key;
    const Entries entries = sectionEntries(section);

    const QString name = sequenceNames.value(key);
    item.columnOperation = value(entries, section, Key::ColumnOperation);
    item.columnProperty = value(entries, section, Key::ColumnProperty);
    item.columnShow = value(entries, section, Key::ColumnShow, ApplicationTypes::ShowStatus);
    item.parameters.insert(Parameter::Key::Show, item.columnShow);
    item.columnStatus = QStringLiteral("---");

    const QString kind = value(entries, section, Key::ItemType);
    item.type = -1;
    if (kind == Key::Application) {
        imported.kind = ImportedItem::Kind::Application;
        item.itemType = int(ItemType::Application);
        item.columnItem = name;
    } else if (kind == Key::Operation) {
        imported.kind = ImportedItem::Kind::Operation;
        item.itemType = int(ItemType::Operation);
        // The name in SEQUENCE decides what the step is, whatever the item's
        // own section says.
        item.columnOperation = name;
        item.columnItem =
            value(entries, section, Key::ColumnItem, ControlOperations::defaultControlItem(name));
        item.operationItemId = ControlOperations::controlOperationCaption(name);
        item.type = ControlOperations::controlOperationCode(name);
        item.columnType = ApplicationTypes::Ctrl;
    } else if (kind == Key::Command) {
        imported.kind = ImportedItem::Kind::Command;
        item.itemType = int(ItemType::Command);
        item.columnItem = name;
        if (item.columnOperation.isEmpty())
            item.columnOperation = ApplicationTypes::ExecuteCommand;
        item.columnType = ApplicationTypes::Sys;
    } else {
        imported.kind = kind.isEmpty() ? ImportedItem::Kind::None : ImportedItem::Kind::Invalid;
    }

    if (item.columnOperation == ControlOperations::Pause) {
        item.timeOut = number(value(entries, section, Key::TimeOut, QStringLiteral("0")));
        item.pauseMessageText = value(entries, section, Key::PauseMessageText);
        item.pauseMessageDefaultAnswer =
            number(value(entries, section, Key::PauseMessageDefaultAnswer, QStringLiteral("0")));
        item.pauseMessageAnswerNoIsPass =
            flag(value(entries, section, Key::PauseMessageAnswerNoIsPass, QStringLiteral("0")));
        // The runner and the legacy writer read the pause's timing from here.
        if (imported.kind == ImportedItem::Kind::Operation)
            item.commandEx = item.columnItem;
    }

    item.addToReport = flag(value(entries, section, Key::AddToReport, QStringLiteral("0")));
    item.passAction = value(entries, section, Key::PassAction, QStringLiteral("Next"));
    item.failAction = value(entries, section, Key::FailAction, QStringLiteral("Next"));
    item.rejectAction = value(entries, section, Key::RejectAction, QStringLiteral("Redo"));
    item.systemErrorAction = value(entries, section, Key::SyseAction, QStringLiteral("Stop"));
    item.saveResultsOnFail = flag(value(entries, section, Key::SaveResultsOnFail, QStringLiteral("1")));
    item.saveResultsOnPass = flag(value(entries, section, Key::SaveResultsOnPass, QStringLiteral("0")));
    item.propertiesOperation = item.columnOperation;
    item.parameters.insert(Parameter::Key::SeqOperation, item.columnOperation);
    item.propertiesShow = item.columnShow;
    item.statusToSequenceStatus =
        flag(value(entries, section, Key::StatusToSequenceStatus, QStringLiteral("1")));

    if (imported.kind == ImportedItem::Kind::Command) {
        SequenceCommand &command = item.command;
        command.setName(name);
        command.setCommand(value(entries, section, Key::SeqCommandCommand));
        command.setConsoleApp(flag(value(entries, section, Key::SeqCommandConsoleApp, QStringLiteral("0"))));
        command.setDir(value(entries, section, Key::SeqCommandDir));
        command.setFailExitCode(
            number(value(entries, section, Key::SeqCommandFailExitCode, QStringLiteral("0"))));
        command.setInternal(flag(value(entries, section, Key::SeqCommandInternal, QStringLiteral("0"))));
        command.setLaunchInDesignDir(
            flag(value(entries, section, Key::SeqCommandLaunchInDesignDir, QStringLiteral("0"))));
        command.setPassExitCode(
            number(value(entries, section, Key::SeqCommandPassExitCode, QStringLiteral("0"))));
    }

    readParameters(key, item);
    item.applicationClass = ApplicationTypes::applicationClass(item.columnType, item.columnOperation);
    return imported;
}

void SequenceListReader::readParameters(const QString &key, HxSequenceItem &item) const
{
    quint32 flags = InstrumentFlags::DefaultFlags;
    QList<int> taps;            // in order of first appearance
    QMap<int, quint32> tapFlags;

    for (const CIniData *entry : sectionEntries(Key::parametersSection(key))) {
        const QString &name = entry->key;
        const QString &text = entry->value;
        if (InstrumentFlags::isFlagName(name)) {
            flags = InstrumentFlags::applyFlag(flags, name, text);
            continue;
        }
        if (const auto tapKey = Parameter::parseTapInfoKey(name)) {
            const int tap = tapKey->tap;
            if (tap < firstTap || tap > lastTap)
                continue;
            if (!taps.contains(tap))
                taps.append(tap);
            // A field that is not a flag (a level, say) only names the TAP.
            tapFlags[tap] = InstrumentFlags::applyFlag(tapFlags.value(tap), tapKey->field, text);
            continue;
        }
        item.parameters.insert(TextBoundary::fromIniValue(name), TextBoundary::fromIniValue(text));
    }

    item.parameters.insert(Parameter::Key::Flags, QString::number(flags));
    for (const int tap : taps) {
        item.parameters.insert(Parameter::tapInfoKey(tap, Parameter::TapField::Flags),
                               QString::number(tapFlags.value(tap)));
    }
}
