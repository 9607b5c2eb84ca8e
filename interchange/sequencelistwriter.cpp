#include "sequencelistwriter.h"

#include "cinifile.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "instrumentflags.h"
#include "sequencelistkeys.h"
#include "textboundary.h"

namespace {

namespace Key = SequenceListKey;

// Parameters that hold a whole flag word are spread into one entry per set
// bit; TAP numbers from 32 on are beyond what a list file can name.
constexpr int tapLimit = 32;

quint32 flagWord(const QString &value)
{
    bool ok = false;
    const qint64 number = value.trimmed().toLongLong(&ok, 10);
    return ok ? quint32(number) : 0;
}

QString kindName(int itemType)
{
    switch (ItemType(itemType)) {
    case ItemType::Application:
        return Key::Application;
    case ItemType::Operation:
        return Key::Operation;
    case ItemType::Command:
        return Key::Command;
    default:
        return QString();
    }
}

} // namespace

QString SequenceListWriter::sequenceName(const HxSequenceItem &item)
{
    switch (item.kind()) {
    case ItemType::Operation:
        return item.columnOperation;
    case ItemType::Application:
    case ItemType::Command:
        return item.columnItem;
    default:
        return QString();
    }
}

QString SequenceListWriter::flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}


void SequenceListWriter::placeSequenceEntry(int number, const HxSequenceItem &item)
{
    const QString kind = kindName(item.itemType);
    if (kind.isEmpty())
        return;
    document.setValue(Key::SequenceSection, Key::itemSection(number),
                      TextBoundary::toIniValue(sequenceName(item)));
}

void SequenceListWriter::placeItemSections(int number, const HxSequenceItem &item)
{
    const QString section = Key::itemSection(number);
    // A line break in a value would start a line of its own, and with it
    // perhaps a section: every value is written on one line.
    const auto put = [&](const QString &key, const QString &value) {
        document.setValue(section, key, TextBoundary::toIniValue(value));
    };
    const auto putIfAny = [&](const QString &key, const QString &value) {
        if (!value.isEmpty())
            put(key, value);
    };

    const ItemType kind = item.kind();
    const bool runsSomething = kind == ItemType::Application || kind == ItemType::Command;
    const bool isPause = item.columnOperation == ControlOperations::Pause;

    if (runsSomething)
        putIfAny(Key::ColumnOperation, item.columnOperation);
    putIfAny(Key::ColumnProperty, item.columnProperty);
    if (kind == ItemType::Operation && isPause)
        putIfAny(Key::ColumnItem, item.columnItem);
    putIfAny(Key::ColumnShow, item.columnShow);
    putIfAny(Key::ItemType, kindName(item.itemType));
    if (item.timeOut > 0)
        put(Key::TimeOut, QString::number(item.timeOut));
    putIfAny(Key::PauseMessageText, item.pauseMessageText);
    if (isPause && (item.pauseMessageDefaultAnswer == 0 || item.pauseMessageDefaultAnswer == 1))
        put(Key::PauseMessageDefaultAnswer, QString::number(item.pauseMessageDefaultAnswer));
    if (isPause)
        put(Key::PauseMessageAnswerNoIsPass, flag(item.pauseMessageAnswerNoIsPass));
    put(Key::AddToReport, flag(item.addToReport));
    putIfAny(Key::PassAction, item.passAction);
    putIfAny(Key::FailAction, item.failAction);
    putIfAny(Key::RejectAction, item.rejectAction);
    putIfAny(Key::SyseAction, item.systemErrorAction);
    put(Key::SaveResultsOnFail, flag(item.saveResultsOnFail));
    put(Key::SaveResultsOnPass, flag(item.saveResultsOnPass));
    put(Key::StatusToSequenceStatus, flag(item.statusToSequenceStatus));

    if (kind == ItemType::Command) {
        const SequenceCommand &command = item.command;
        putIfAny(Key::SeqCommandCommand, command.command());
        if (command.consoleApp())
            put(Key::SeqCommandConsoleApp, flag(true));
        putIfAny(Key::SeqCommandDir, command.dir());
        if (command.failExitCode() > 0)
            put(Key::SeqCommandFailExitCode, QString::number(command.failExitCode()));
        if (command.internal())
            put(Key::SeqCommandInternal, flag(true));
        if (command.launchInDesignDir())
            put(Key::SeqCommandLaunchInDesignDir, flag(true));
        if (command.passExitCode() > 0)
            put(Key::SeqCommandPassExitCode, QString::number(command.passExitCode()));
    }

    placeParameters(Key::parametersSection(section), item.parameters);
}

void SequenceListWriter::placeParameters(const QString &section,
                                         const QMap<QString, QString> &parameters)
{
    namespace Parameter = ExecutionParameters;
    // QMap walks its keys in code-unit order, the order the file lists them.
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it) {
        const QString &key = it.key();
        const QString &value = it.value();
        if (value.isEmpty() || Parameter::isInternalParameter(key))
            continue;
        if (key == Parameter::Key::Flags) {
            for (const auto &[name, set] : InstrumentFlags::expandFlags(flagWord(value)))
                document.setValue(section, name, set);
            continue;
        }
        const std::optional<Parameter::TapInfoKey> tapKey = Parameter::parseTapInfoKey(key);
        if (tapKey && tapKey->field == Parameter::TapField::Flags) {
            if (tapKey->tap >= tapLimit)
                continue;
            // The TAP number is written afresh, so "TapInfo05" comes out as 5.
            const QString prefix = Parameter::tapInfoKey(tapKey->tap, QString());
            for (const auto &[name, set] : InstrumentFlags::expandFlags(flagWord(value)))
                document.setValue(section, prefix + name, set);
            continue;
        }
        document.setValue(section, TextBoundary::toIniValue(key), TextBoundary::toIniValue(value));
    }
}

void SequenceListWriter::writeAll(CIniFile &document, const HxSequenceItemList &items)
{
    SequenceListWriter writer(document);
    int number = 0;
    for (const HxSequenceItemPtr &item : items) {
        ++number;
        if (item)
            writer.placeSequenceEntry(number, *item);
    }
    number = 0;
    for (const HxSequenceItemPtr &item : items) {
        ++number;
        if (item)
            writer.placeItemSections(number, *item);
    }
}
