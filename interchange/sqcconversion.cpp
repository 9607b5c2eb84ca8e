#include "sqcconversion.h"

#include "applicationtypes.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "hxsequence.h"
#include "hxsequenceitem.h"
#include "instrumentflags.h"
#include "legacyvocabulary.h"

#include <QRegularExpression>

namespace SqcConversion {

namespace {

using ApplicationTypes::ApplicationClass;
using ExecutionParameters::Parameters;
using LegacyVocabulary::Vocabulary;
using Kind = SqcRecord::Kind;
namespace Key = ExecutionParameters::Key;
namespace Mask = InstrumentFlags::Mask;

constexpr int highestOperationCode = 10;

// A decimal parameter; 0 when missing or not a number.
qint64 number(const Parameters &parameters, const QString &key)
{
    bool ok = false;
    const qint64 value = parameters.value(key).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

quint32 unsignedNumber(const Parameters &parameters, const QString &key)
{
    const QString text = parameters.value(key).trimmed();
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    return ok ? quint32(value) : quint32(number(parameters, key));
}

bool isYes(const Parameters &parameters, const QString &key)
{
    return parameters.value(key).compare(ExecutionParameters::Value::Yes, Qt::CaseInsensitive)
           == 0;
}

quint32 bitIf(bool on, quint32 bit)
{
    return on ? bit : 0;
}

// Instruments that keep levels and thresholds in hundredths mark it with a
// flag; the old format holds whole units. Negative values are "not set"
// markers and stay as they are.
qint32 level(qint64 value, bool inHundredths)
{
    return qint32(inHundredths && value >= 0 ? value / 100 : value);
}

bool isFileDependent(Vocabulary vocabulary, int code)
{
    return (vocabulary == Vocabulary::FlashApplicationFile && (code == 0 || code == 6))
           || (vocabulary == Vocabulary::ProcessorRunner && code == 10);
}

// The first code whose fixed name is `operation`. Names that come from a
// file (the actions of an application or INI file) are not fixed, so they
// get the code under which the reader looks them up.
int codeIn(Vocabulary vocabulary, const QString &operation, int fileCode)
{
    for (int code = 0; code <= highestOperationCode; ++code) {
        if (isFileDependent(vocabulary, code))
            continue;
        if (LegacyVocabulary::legacyOperationName(vocabulary, code) == operation)
            return code;
    }
    return fileCode;
}

// Flash programming records carry the image operations too (the reader
// turns the usual ones into kind 5); every other code is read with the
// application-file vocabulary.
int flashProgrammingCode(const QString &operation)
{
    for (int code = 4; code <= highestOperationCode; ++code) {
        const QString name =
            LegacyVocabulary::legacyOperationName(Vocabulary::FlashImageOperation, code);
        if (name == operation && name != ApplicationTypes::SkipOperation)
            return code;
    }
    // The forced outcomes keep their codes; any other name is an action of
    // the application file, which the reader finds under code 0.
    return codeIn(Vocabulary::FlashApplicationFile, operation, 0);
}

QString infraOperation(const HxSequenceItem &item)
{
    const QString value = item.parameters.value(Key::InfraOperation);
    return value.isEmpty() ? QStringLiteral("infra") : value;
}

quint32 itemOptions(const HxSequenceItem &item)
{
    return bitIf(item.addToReport, SqcRecord::AddToReport)
           | bitIf(item.saveResultsOnPass, SqcRecord::SaveResultsOnPass)
           | bitIf(item.saveResultsOnFail, SqcRecord::SaveResultsOnFail)
           | bitIf(!item.statusToSequenceStatus, SqcRecord::StatusNotToSequenceStatus)
           | bitIf(item.pauseMessageAnswerNoIsPass, SqcRecord::PauseAnswerNoIsPass)
           | bitIf(item.pauseMessageDefaultAnswer != 0, SqcRecord::PauseDefaultAnswerNo);
}

// Only the TAP fields a step holds are visited: a step keeps none of those
// that are 0, and the record's TAPs start at 0.
void fillTaps(SqcRecord &record, const Parameters &parameters, bool hundredths)
{
    namespace Field = ExecutionParameters::TapField;
    static const QString prefix = QStringLiteral("TapInfo");
    for (auto it = parameters.lowerBound(prefix);
         it != parameters.cend() && it.key().startsWith(prefix); ++it) {
        const auto key = ExecutionParameters::parseTapInfoKey(it.key());
        // Only the keys as tapInfoKey() spells them: "TapInfo03.Level" is
        // some other parameter.
        if (!key || key->tap < 1 || key->tap > SqcRecord::TapCount
            || it.key() != ExecutionParameters::tapInfoKey(key->tap, key->field))
            continue;
        bool ok = false;
        qint64 value = it.value().trimmed().toLongLong(&ok);
        if (!ok)
            value = 0;
        SqcTapRecord &out = record.taps[size_t(key->tap - 1)];
        const QString &field = key->field;
        if (field == Field::Flags)
            out.flags = quint32(value);
        else if (field == Field::Level)
            out.level = level(value, hundredths);
        else if (field == Field::Threshold)
            out.threshold = level(value, hundredths);
        else if (field == Field::ExtCells)
            out.extCells = qint32(value);
        else if (field == Field::Signals)
            out.signalsField = qint32(value);
        else if (field == Field::Reserved)
            out.reserved = qint32(value);
        else if (field == Field::IoPinWCtrl)
            out.ioPinWCtrl = qint32(value);
        else if (field == Field::IoPinWData)
            out.ioPinWData = qint32(value);
        else if (field == Field::IoPinRCtrl)
            out.ioPinRCtrl = qint32(value);
        else if (field == Field::IoPinRData)
            out.ioPinRData = qint32(value);
        else if (field == Field::IoTimeoutMs)
            out.ioTimeoutMs = qint32(value);
    }
}

void fillInstrument(SqcRecord &record, const Parameters &parameters)
{
    const quint32 flags = unsignedNumber(parameters, Key::Flags);
    const bool hundredths = flags & Mask::LevelsDividedBy100;
    record.instrumentFlags = flags;
    record.tckSource = qint32(number(parameters, Key::TckSrc));
    if (flags & Mask::UseTck)
        record.tckKhz = qint32(number(parameters, Key::TckkHz));
    record.level = level(number(parameters, Key::Level), hundredths);
    record.threshold = level(number(parameters, Key::Threshold), hundredths);
    // The parameter is the TAP mask minus one, so that "no gang" reads -1.
    if (flags & Mask::UseGang)
        record.gang = quint32(number(parameters, Key::Gang) + 1);
    record.imageCrc = unsignedNumber(parameters, Key::ImageCRC);
    record.tapStartState = qint32(number(parameters, Key::TapSState));
    record.tapEndState = qint32(number(parameters, Key::TapEState));
    record.targetAddress = parseAddress(parameters.value(Key::TargetAddress));

    fillTaps(record, parameters, hundredths);
}

void fillCommand(SqcRecord &record, const HxSequenceItem &item)
{
    SqcCommandExtension &out = record.command;
    if (ApplicationTypes::isCommandLineDriven(item.columnType)) {
        out.commandLine = applicationCommandLine(item);
        out.workingDirectory = item.parameters.value(Key::WorkDir);
        out.options = SqcCommandExtension::ConsoleApp;
        out.passExitCode = 0;
        out.failExitCode = 1;
    } else {
        const SequenceCommand &command = item.command;
        out.commandLine = command.command();
        out.workingDirectory = command.dir();
        out.options = bitIf(command.consoleApp(), SqcCommandExtension::ConsoleApp)
                      | bitIf(command.internal(), SqcCommandExtension::Internal)
                      | bitIf(command.allowUserInteraction(),
                              SqcCommandExtension::AllowUserInteraction)
                      | bitIf(command.showImmediateOutput(),
                              SqcCommandExtension::ShowImmediateOutput)
                      | bitIf(command.editBeforeLaunch(), SqcCommandExtension::EditBeforeLaunch)
                      | bitIf(command.launchInDesignDir(), SqcCommandExtension::LaunchInDesignDir)
                      | bitIf(command.addToLaunchMenu(), SqcCommandExtension::AddToLaunchMenu);
        out.passExitCode = command.passExitCode();
        out.failExitCode = command.failExitCode();
    }
}

void fillFlash(SqcRecord &record, const Parameters &parameters)
{
    SqcFlashExtension &out = record.flash;
    out.text = parameters.value(Key::ImageFileName);
    out.tapList = SqcRecord::tapSetToText(record.gang);
    auto &words = out.words;
    words[0] = parseAddress(parameters.value(Key::ImageAFA));
    words[SqcFlashExtension::OptionWord] =
        bitIf(record.instrumentFlags & Mask::Aw, 0x1)
        | bitIf(isYes(parameters, Key::TargetEqStartAddress), 0x2)
        | bitIf(isYes(parameters, Key::UseAce), 0x4) | bitIf(isYes(parameters, Key::AWSignal), 0x8)
        | bitIf(parameters.value(Key::FlashUnit) == QLatin1String("byte"), 0x10)
        | bitIf(isYes(parameters, Key::UseConFile), 0x20)
        | bitIf(isYes(parameters, Key::UseAWPod), 0x40);
    words[2] = parseAddress(parameters.value(Key::ImageFormat));
    words[SqcFlashExtension::TargetAddressWord] = record.targetAddress;
    words[4] = parseAddress(parameters.value(Key::StartAddress));
    words[5] = parseAddress(parameters.value(Key::Length));
    words[SqcFlashExtension::LevelWord] = quint32(record.level);
    words[7] = parseAddress(parameters.value(Key::FileOffset));
}

void fillLogic(SqcRecord &record, const Parameters &parameters)
{
    SqcLogicExtension &out = record.logic;
    out.texts[0] = parameters.value(Key::Family);
    out.texts[1] = parameters.value(Key::FamilyIdStr);
    out.texts[2] = parameters.value(Key::SecurityUserValue);
    out.words[0] = quint32(number(parameters, Key::FamilyId));
    out.words[1] = quint32(number(parameters, Key::PldOperationModeId));
    out.words[2] = bitIf(isYes(parameters, Key::UseConFile), 0x1)
                   | bitIf(isYes(parameters, Key::Report), 0x2)
                   | bitIf(isYes(parameters, Key::SecurityUser), 0x4);
}

void fillProcessor(SqcRecord &record, const Parameters &parameters)
{
    SqcLogicExtension &out = record.logic;
    out.words[0] = bitIf(isYes(parameters, Key::UseConFile), 0x1)
                   | bitIf(isYes(parameters, Key::Report), 0x2);
    out.words[3] = bitIf(isYes(parameters, Key::StopCRCErr), 0x1)
                   | bitIf(isYes(parameters, Key::NoExec), 0x2)
                   | bitIf(isYes(parameters, Key::StopConcErr), 0x4);
}

void fillScript(SqcRecord &record, const Parameters &parameters, bool stapl)
{
    SqcScriptExtension &out = record.script;
    out.text = parameters.value(Key::Action);
    out.tapText = QStringLiteral("%1,%2").arg(number(parameters, Key::BoardTAP) + 1)
                      .arg(ExecutionParameters::procedureSwitches(parameters));
    // An imported step holds each option as the value of its bit ("4"),
    // a step built here as "1": any number but 0 switches the option on.
    const auto bit = [&](const QString &key, quint32 mask) {
        bool ok = false;
        const qlonglong value = parameters.value(key).trimmed().toLongLong(&ok, 10);
        return bitIf(ok && value != 0, mask);
    };
    out.scriptOptions = bit(Key::CheckCRC, SqcScriptExtension::CheckCRC)
                        | bit(stapl ? Key::ExecuteStapl : Key::ExecuteJam,
                              SqcScriptExtension::Execute)
                        | bit(Key::ShowNotes, SqcScriptExtension::ShowNotes)
                        | bit(Key::Erase, SqcScriptExtension::Erase)
                        | bit(Key::BlankCheck, SqcScriptExtension::BlankCheck)
                        | bit(Key::Program, SqcScriptExtension::Program)
                        | bit(Key::Verify, SqcScriptExtension::Verify)
                        | bit(Key::Secure, SqcScriptExtension::Secure)
                        | bitIf(stapl, SqcScriptExtension::Stapl);
    out.level = record.level;
}

} // namespace

quint32 parseAddress(const QString &text)
{
    const QString trimmed = text.trimmed();
    int base = 10;
    QStringView digits(trimmed);
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.mid(2);
    } else if (digits.startsWith(QLatin1String("0b"), Qt::CaseInsensitive)) {
        base = 2;
        digits = digits.mid(2);
    } else if (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) {
        base = 8;
        digits = digits.mid(1);
    }
    bool ok = false;
    const quint64 value = digits.toULongLong(&ok, base);
    if (ok)
        return quint32(value);
    // A plain negative number is still a number, as the old reader's
    // strtoul took it.
    const qint64 signedValue = base == 10 ? digits.toLongLong(&ok) : 0;
    return ok ? quint32(signedValue) : 0;
}

QString applicationCommandLine(const HxSequenceItem &item)
{
    using namespace ApplicationTypes;
    const QString &type = item.columnType;
    if (usesCmdLineG1(type))
        return item.parameters.value(Key::CmdLineG1);
    QString line = item.parameters.value(Key::CmdLine);
    // The vector players get their address switch from the old sequencer at
    // run time ("%a"), and "-M2" was spelled "-M" there.
    if (type == SvfVectorPlayer || type == WglVectorPlayer) {
        static const QRegularExpression addressOption(QStringLiteral("-a\\S*"));
        line.replace(addressOption, QStringLiteral("-a%a"));
    }
    if (type != WglVectorPlayer)
        line.replace(QStringLiteral(" -M2 "), QStringLiteral(" -M "));
    return line;
}

qint32 operationCode(const HxSequenceItem &item, int applicationClass)
{
    const QString &operation = item.columnOperation;
    const bool infrastructure = operation == ApplicationTypes::TestInfrastructure;
    // The boundary-scan register test has a code of its own.
    if (infrastructure && infraOperation(item) == QLatin1String("bsreg"))
        return 3;

    switch (ApplicationClass(applicationClass)) {
    case ApplicationClass::Control:
        return ControlOperations::controlOperationCode(operation);
    case ApplicationClass::Command:
        return codeIn(Vocabulary::SysCommand, operation, 0);
    case ApplicationClass::FlashProgramming:
        return flashProgrammingCode(operation);
    case ApplicationClass::FlashImage:
        return codeIn(Vocabulary::FlashImageOperation, operation, 0);
    case ApplicationClass::LogicProgramming:
        return codeIn(Vocabulary::LogicRunner, operation, 0);
    case ApplicationClass::GeneratedTest:
        return codeIn(infrastructure ? Vocabulary::ScanInfrastructure : Vocabulary::ScanTest,
                      operation, 0);
    case ApplicationClass::JamScript:
        return codeIn(Vocabulary::ScanTest, operation, 0);
    case ApplicationClass::StaplScript:
        return codeIn(Vocabulary::StaplScript, operation, 0);
    case ApplicationClass::InSystemConfiguration:
        return codeIn(Vocabulary::ProcessorRunner, operation, 10);
    default:
        return 0;
    }
}

SqcRecord recordFromItem(const HxSequenceItem &item)
{
    const Parameters &parameters = item.parameters;
    const int applicationClass =
        ApplicationTypes::applicationClass(item.columnType, item.columnOperation);
    const Kind kind = Kind(applicationClass);
    const bool isCommandItem = item.kind() == ItemType::Command;

    SqcRecord record;
    record.kind = kind;
    record.secondName = isCommandItem ? item.command.name() : item.columnItem;
    // A pause's message travels in the name, its lines joined by " || ".
    if (item.kind() == ItemType::Operation && item.columnOperation == QLatin1String("PAUSE"))
        record.secondName = QString(item.pauseMessageText).replace(QLatin1Char('\n'), QLatin1String(" || "));
    if (item.columnOperation == ApplicationTypes::TestInfrastructure)
        record.thirdName = infraOperation(item);
    else if (kind != Kind::SystemCommand && kind != Kind::ControlStep)
        record.thirdName = item.columnItem;
    record.timeOut = item.timeOut;
    record.options = itemOptions(item);
    record.operationCode = operationCode(item, applicationClass);
    record.showCode = LegacyVocabulary::showCode(item.columnShow);
    record.passAction = LegacyVocabulary::actionCode(item.passAction);
    record.failAction = LegacyVocabulary::actionCode(item.failAction);
    record.rejectAction = LegacyVocabulary::actionCode(item.rejectAction);
    record.systemErrorAction = LegacyVocabulary::actionCode(item.systemErrorAction);
    fillInstrument(record, parameters);

    switch (kind) {
    case Kind::SystemCommand:
        fillCommand(record, item);
        break;
    case Kind::FlashProgramming:
    case Kind::FlashImage:
        fillFlash(record, parameters);
        break;
    case Kind::LogicProgramming:
        fillLogic(record, parameters);
        break;
    case Kind::ProcessorRunner:
        fillProcessor(record, parameters);
        break;
    case Kind::ControlStep:
        // A pause keeps "<time-out>,<sound file>" here; the other steps their
        // property text.
        record.control.parameterText =
            item.commandEx.isEmpty() ? item.columnProperty : item.commandEx;
        break;
    case Kind::JamScript:
    case Kind::StaplScript:
        fillScript(record, parameters, kind == Kind::StaplScript);
        break;
    default:
        break;
    }
    record.hasExtension = SqcRecord::extensionSize(kind, SqcHeader::CurrentVersion) > 0;
    return record;
}

SqcHeader headerFromSequence(const HxSequence &sequence, const QString &instrumentName,
                             const QString &sequenceName, const QString &databasePath,
                             const QDateTime &writtenAt)
{
    SqcHeader header;
    header.time = quint32(writtenAt.toSecsSinceEpoch());
    header.instrumentName = instrumentName;
    header.databasePath = databasePath;
    header.sequenceName = sequenceName;
    header.unitOptions =
        bitIf(sequence.unitSubDirIsSerialNumber(), SqcHeader::UnitSubDirIsSerialNumber)
        | bitIf(sequence.unitSerialNumberManualAdjust(), SqcHeader::UnitSerialNumberManualAdjust)
        | bitIf(sequence.unitSubDirManualAdjust(), SqcHeader::UnitSubDirManualAdjust)
        | bitIf(sequence.unitAutoPrompt(), SqcHeader::UnitAutoPrompt);
    header.unitText1 = sequence.unitSerialNumber();
    header.unitText2 = sequence.unitFolder();
    header.repeatCount = sequence.repeatCount();
    header.flags = bitIf(sequence.repeat(), SqcHeader::Repeat)
                   | bitIf(sequence.unitIdentification(), SqcHeader::UnitIdentification)
                   | bitIf(sequence.globalGang(), SqcHeader::GlobalGang)
                   | SqcHeader::TargetAddressInCommonPart
                   | bitIf(sequence.statusBannerApp(), SqcHeader::StatusBannerApp)
                   | bitIf(sequence.statusBannerSequence(), SqcHeader::StatusBannerSequence);
    header.windowName = sequence.title();
    return header;
}

bool writeSequenceFile(SqcFile &file, const QString &fileName, const HxSequence &sequence,
                       const QString &instrumentName, const QString &sequenceName,
                       const QString &databasePath)
{
    file.setHeader(headerFromSequence(sequence, instrumentName, sequenceName, databasePath));
    const HxSequenceItemList &items = sequence.items();
    qsizetype at = 0;
    return file.write(fileName, [&items, &at](SqcRecord &record) {
        while (at < items.size() && !items.at(at))
            ++at;
        if (at >= items.size())
            return false;
        record = recordFromItem(*items.at(at++));
        return true;
    });
}

SqcFile fileFromSequence(const HxSequence &sequence, const QString &instrumentName,
                         const QString &sequenceName, const QString &databasePath,
                         const QDateTime &writtenAt)
{
    SqcFile file;
    file.setHeader(headerFromSequence(sequence, instrumentName, sequenceName, databasePath, writtenAt));
    QList<SqcRecord> records;
    records.reserve(sequence.items().size());
    for (const HxSequenceItemPtr &item : sequence.items()) {
        if (item)
            records.append(recordFromItem(*item));
    }
    file.setRecords(records);
    return file;
}

SqmFile companionFromSequence(const HxSequence &sequence, const QString &folderName)
{
    // Parameters that name one application file each, and the two script
    // players that keep name and folder apart.
    static const QStringList singleFileKeys = {
        Key::FlashAPLBaseName, Key::ImageLoadFileName, Key::PPCBaseName, Key::APLBaseName,
        Key::PRGBaseName,      Key::NameG1,            Key::QuilNameG1,
    };
    const auto joined = [](const Parameters &parameters, const QString &dirKey,
                           const QString &nameKey) {
        const QString name = parameters.value(nameKey);
        if (name.isEmpty())
            return QString();
        const QString dir = parameters.value(dirKey);
        return dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
    };

    SqmFile companion;
    for (const HxSequenceItemPtr &item : sequence.items()) {
        if (!item || item->kind() != ItemType::Application)
            continue;
        const Parameters &parameters = item->parameters;
        const QString &application = item->columnItem;
        companion.addFile(joined(parameters, Key::JamDirPath, Key::JamBaseName), folderName,
                          application);
        companion.addFile(joined(parameters, Key::StaplDirPath, Key::StaplBaseName), folderName,
                          application);
        for (const QString &key : singleFileKeys)
            companion.addFile(parameters.value(key), folderName, application);
    }
    return companion;
}

} // namespace SqcConversion
