#include "legacysequenceimport.h"

#include "storabletext.h"
#include "textboundary.h"

#include "applicationtypes.h"
#include "controloperations.h"
#include "executionparameters.h"
#include "hostservice.h"
#include "hxiappcreate.h"
#include "hxsequence.h"
#include "instrumentflags.h"
#include "legacyvocabulary.h"
#include "logicfamilies.h"
#include "outputlog.h"

using namespace VemoInterface;

namespace {

using Kind = SqcRecord::Kind;
using LegacyVocabulary::Vocabulary;
namespace Key = ExecutionParameters::Key;
namespace Field = ExecutionParameters::TapField;
namespace Types = ApplicationTypes;

const QString Yes = ExecutionParameters::Value::Yes;
const QString No = ExecutionParameters::Value::No;

QString yesNo(bool on)
{
    return on ? Yes : No;
}

QString decimal(qint64 value)
{
    return QString::number(value);
}

// Levels the writer stored in whole units come back in hundredths when the
// record says the instrument counts them so; negative values are markers.
qint64 level(qint32 stored, bool inHundredths)
{
    return inHundredths && stored >= 0 ? qint64(stored) * 100 : stored;
}

// "<folder>/<name><extension>", the way the old sequencer named an
// application's files.
QString applicationFile(const QString &folder, const QString &name, const QString &extension)
{
    const QString file = name + extension;
    return folder.isEmpty() ? file : folder + QLatin1Char('/') + file;
}

// The switches "proc=1 proc2=0 " the writer keeps behind the TAP number of a
// script record, turned back into the two procedure lists of `action`.
void addProcedureSwitches(QMap<QString, QString> &parameters, const QString &switches,
                          const QString &action)
{
    using ExecutionParameters::ProcedureList;
    namespace Part = ExecutionParameters::ProcedurePart;
    int included = 0;
    int excluded = 0;
    for (const QString &entry : switches.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.lastIndexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const bool on = entry.mid(equals + 1) == QLatin1String("1");
        const ProcedureList list = on ? ProcedureList::Included : ProcedureList::Excluded;
        int &index = on ? included : excluded;
        const QString procedure = entry.left(equals);
        parameters.insert(ExecutionParameters::procedureKey(list, index, Part::Action), action);
        parameters.insert(ExecutionParameters::procedureKey(list, index, Part::Proc), procedure);
        parameters.insert(ExecutionParameters::procedureKey(list, index, Part::Symbol), procedure);
        ++index;
    }
    parameters.insert(Key::ProcsIncluded, decimal(included));
    parameters.insert(Key::ProcsExcluded, decimal(excluded));
}

} // namespace

LegacySequenceImport::LegacySequenceImport(const HostLink &link, const QString &sequenceTitle,
                                           const QString &instrument)
    : link(link), sequenceTitle(sequenceTitle), instrument(instrument)
{
}

void LegacySequenceImport::log(const QString &text) const
{
    OutputLog(link).message(text);
}

QString LegacySequenceImport::pauseShortText(const QString &message)
{
    constexpr qsizetype shortLength = 20;
    if (message.size() <= shortLength)
        return message;
    return message.left(shortLength) + QStringLiteral("...");
}

QMap<QString, QString> LegacySequenceImport::logicProcedureLists()
{
    using ExecutionParameters::ProcedureList;
    namespace Part = ExecutionParameters::ProcedurePart;
    QMap<QString, QString> parameters;
    const char *const actions[] = {"program", "erase", "verify", "security", "blank check"};
    int index = 0;
    for (const char *action : actions) {
        const QString name = QLatin1String(action);
        const QString procedure =
            QStringLiteral("DO_") + name.toUpper().replace(QLatin1Char(' '), QLatin1Char('_'));
        parameters.insert(ExecutionParameters::procedureKey(ProcedureList::Included, index, Part::Action),
                          name);
        parameters.insert(ExecutionParameters::procedureKey(ProcedureList::Included, index, Part::Proc),
                          procedure);
        parameters.insert(ExecutionParameters::procedureKey(ProcedureList::Included, index, Part::Symbol),
                          procedure);
        ++index;
    }
    parameters.insert(Key::ProcsIncluded, decimal(index));
    parameters.insert(Key::ProcsExcluded, QStringLiteral("0"));
    return parameters;
}

void LegacySequenceImport::applyHeader(const SqcHeader &header, HxSequence &sequence)
{
    const quint32 flags = header.flags;
    sequence.setRepeat(flags & SqcHeader::Repeat);
    sequence.setRepeatCount(header.repeatCount);
    sequence.setUnitIdentification(flags & SqcHeader::UnitIdentification);
    sequence.setGlobalGang(flags & SqcHeader::GlobalGang);
    sequence.setStatusBannerApp(flags & SqcHeader::StatusBannerApp);
    sequence.setStatusBannerSequence(flags & SqcHeader::StatusBannerSequence);

    const quint32 unit = header.unitOptions;
    const bool subDirIsSerialNumber = unit & SqcHeader::UnitSubDirIsSerialNumber;
    sequence.setUnitSubDirIsSerialNumber(subDirIsSerialNumber);
    sequence.setUnitSerialNumberManualAdjust(unit & SqcHeader::UnitSerialNumberManualAdjust);
    sequence.setUnitSerialNumberAutoIncrement(!(unit & SqcHeader::UnitSerialNumberManualAdjust));
    sequence.setUnitSubDirManualAdjust(unit & SqcHeader::UnitSubDirManualAdjust);
    sequence.setUnitSubDirAutoIncrement(!(unit & SqcHeader::UnitSubDirManualAdjust));
    sequence.setUnitAutoPrompt(unit & SqcHeader::UnitAutoPrompt);
    const QString unitText1 = TextBoundary::toXml(header.unitText1);
    const QString unitText2 = TextBoundary::toXml(header.unitText2);
    sequence.setUnitSerialNumber(unitText1);
    sequence.setUnitFolder(unitText2);
    sequence.setUnitSubDirMask(subDirIsSerialNumber ? unitText1 : unitText2);
}

std::unique_ptr<HxSequence> LegacySequenceImport::convert(const SqcFile &file,
                                                          const QString &description)
{
    auto sequence =
        std::make_unique<HxSequence>(sequenceTitle, description, convertRecords(file.records()));
    applyHeader(file.header(), *sequence);
    return sequence;
}

namespace {

// The record with the characters XML cannot carry removed from its texts,
// and the names of the texts that held some.
SqcRecord storableRecord(const SqcRecord &record, QStringList &changed)
{
    SqcRecord clean = record;
    const std::pair<const char *, QString *> texts[] = {
        {"first name", &clean.firstName},
        {"second name", &clean.secondName},
        {"third name", &clean.thirdName},
        {"command line", &clean.command.commandLine},
        {"working directory", &clean.command.workingDirectory},
        {"flash text", &clean.flash.text},
        {"TAP list", &clean.flash.tapList},
        {"family text", &clean.logic.texts[0]},
        {"family text", &clean.logic.texts[1]},
        {"family text", &clean.logic.texts[2]},
        {"parameter text", &clean.control.parameterText},
        {"script text", &clean.script.text},
        {"TAP text", &clean.script.tapText},
    };
    for (const auto &[name, text] : texts) {
        if (TextBoundary::isXmlSafe(*text))
            continue;
        *text = TextBoundary::toXml(*text);
        if (!changed.contains(QLatin1String(name)))
            changed.append(QLatin1String(name));
    }
    return clean;
}

} // namespace

HxSequenceItemList LegacySequenceImport::convertRecords(const QList<SqcRecord> &records)
{
    HxSequenceItemList items;
    items.reserve(records.size());
    int number = 0;
    for (const SqcRecord &record : records) {
        ++number;
        // A project file holding them could not be read back.
        QStringList changed;
        const SqcRecord clean = storableRecord(record, changed);
        std::optional<HxSequenceItem> item = convertRecord(clean, number);
        if (item)
            changed += StorableText::clean(*item);
        changed.removeDuplicates();
        for (const QString &text : changed)
            //: %1 = Sequence Title, %2 = Item Number, %3 = Field
            OutputLog(link).charactersRemoved(
                tr("ORV Sequencer '%1' - Nr. '%2': '%3' held characters a project cannot store")
                    .arg(sequenceTitle, decimal(number), text));
        if (item)
            items.append(std::make_shared<HxSequenceItem>(std::move(*item)));
    }
    return items;
}

std::optional<HxSequenceItem> LegacySequenceImport::convertRecord(const SqcRecord &record,
                                                                  int number)
{
    const QString recordNumber = decimal(number);
    if (record.kind == Kind::ControlStep
        && record.operationCode == int(ControlOperations::ControlOperation::SelectInstrument)) {
        ++dropped;
        //: %1 = Sequence Title, %2 = Item Number
        log(tr("ORV Sequencer '%1' - Nr. '%2': Incompatible 'Select Instrument' item removed from "
               "Sequence")
                .arg(sequenceTitle, recordNumber));
        return std::nullopt;
    }

    HxSequenceItem item = commonItem(record);
    switch (record.kind) {
    case Kind::SystemCommand:
        convertCommand(record, item);
        break;
    case Kind::ControlStep:
        convertControl(record, item);
        break;
    case Kind::FlashProgramming:
    case Kind::LogicProgramming:
    case Kind::GeneratedTest:
    case Kind::FlashImage:
    case Kind::JamScript:
    case Kind::StaplScript:
    case Kind::ProcessorRunner:
        convertApplication(record, number, item);
        break;
    default:
        ++dropped;
        //: %1 = Sequence Title, %2 = Item Number, %3 = Record kind
        log(tr("ORV Sequencer '%1' - Nr. '%2': Item of unknown kind '%3' removed from Sequence")
                .arg(sequenceTitle, recordNumber, decimal(qint64(record.kind))));
        return std::nullopt;
    }
    item.applicationClass = Types::applicationClass(item.columnType, item.columnOperation);
    item.propertiesOperation = item.columnOperation;
    item.propertiesShow = item.columnShow;
    return item;
}

HxSequenceItem LegacySequenceImport::commonItem(const SqcRecord &record) const
{
    HxSequenceItem item;
    item.timeOut = record.timeOut;
    item.addToReport = record.options & (SqcRecord::AddToReport | SqcRecord::AlsoAddToReport);
    item.saveResultsOnPass = record.options & SqcRecord::SaveResultsOnPass;
    item.saveResultsOnFail = record.options & SqcRecord::SaveResultsOnFail;
    item.statusToSequenceStatus = !(record.options & SqcRecord::StatusNotToSequenceStatus);
    item.passAction = LegacyVocabulary::actionName(record.passAction);
    item.failAction = LegacyVocabulary::actionName(record.failAction);
    item.rejectAction = LegacyVocabulary::actionName(record.rejectAction);
    item.systemErrorAction = LegacyVocabulary::actionName(record.systemErrorAction);
    item.columnShow = LegacyVocabulary::showName(record.showCode);
    item.columnStatus = QStringLiteral("---");
    item.type = -1;
    item.parameters = commonParameters(record);
    return item;
}

LegacySequenceImport::Parameters LegacySequenceImport::commonParameters(const SqcRecord &record) const
{
    namespace Mask = InstrumentFlags::Mask;
    const bool hundredths = record.instrumentFlags & Mask::LevelsDividedBy100;
    Parameters parameters;
    parameters.insert(Key::TckSrc, decimal(record.tckSource));
    parameters.insert(Key::TckkHz, decimal(record.tckKhz));
    parameters.insert(Key::Level, decimal(level(record.level, hundredths)));
    parameters.insert(Key::Threshold, decimal(level(record.threshold, hundredths)));
    parameters.insert(Key::TapSState, decimal(record.tapStartState));
    parameters.insert(Key::TapEState, decimal(record.tapEndState));
    // The parameter is the mask minus one, so that no gang at all reads -1.
    parameters.insert(Key::Gang, decimal(qint64(record.gang) - 1));
    // Old files predate precompiled vectors and the clock flag: a record
    // with a clock frequency always ran with it.
    quint32 flags = record.instrumentFlags | Mask::UsePrecompiled;
    if (record.tckKhz >= 1)
        flags |= Mask::UseTck;
    parameters.insert(Key::Flags, decimal(flags));

    for (int tap = 1; tap <= SqcRecord::TapCount; ++tap) {
        const SqcTapRecord &stored = record.taps[size_t(tap - 1)];
        // The map is new, so a field at its default has nothing to replace
        // and not even its key is built.
        const auto put = [&](const QString &field, qint64 value) {
            if (value != 0)
                ExecutionParameters::setTapInfo(parameters, tap, field, decimal(value));
        };
        put(Field::Flags, stored.flags);
        put(Field::Level, level(stored.level, hundredths));
        put(Field::Threshold, level(stored.threshold, hundredths));
        put(Field::ExtCells, stored.extCells);
        put(Field::Signals, stored.signalsField);
        put(Field::Reserved, stored.reserved);
        put(Field::IoPinWCtrl, stored.ioPinWCtrl);
        put(Field::IoPinWData, stored.ioPinWData);
        put(Field::IoPinRCtrl, stored.ioPinRCtrl);
        put(Field::IoPinRData, stored.ioPinRData);
        put(Field::IoTimeoutMs, stored.ioTimeoutMs);
    }
    return parameters;
}

void LegacySequenceImport::convertCommand(const SqcRecord &record, HxSequenceItem &item) const
{
    const SqcCommandExtension &extension = record.command;
    const QString name = record.secondName;
    item.itemType = int(ItemType::Command);
    item.columnType = Types::Sys;
    item.columnOperation =
        LegacyVocabulary::legacyOperationName(Vocabulary::SysCommand, record.operationCode);
    item.columnItem = name;
    item.parameters.insert(Key::SeqOperation, item.columnOperation);

    SequenceCommand &command = item.command;
    command.setName(name);
    command.setCommand(extension.commandLine);
    command.setDir(extension.workingDirectory);
    const quint32 options = extension.options;
    command.setConsoleApp(options & SqcCommandExtension::ConsoleApp);
    command.setInternal(options & SqcCommandExtension::Internal);
    command.setAllowUserInteraction(options & SqcCommandExtension::AllowUserInteraction);
    command.setShowImmediateOutput(options & SqcCommandExtension::ShowImmediateOutput);
    command.setEditBeforeLaunch(options & SqcCommandExtension::EditBeforeLaunch);
    command.setLaunchInDesignDir(options & SqcCommandExtension::LaunchInDesignDir);
    command.setAddToLaunchMenu(options & SqcCommandExtension::AddToLaunchMenu);
    command.setPassExitCode(extension.passExitCode);
    command.setFailExitCode(extension.failExitCode);
}

void LegacySequenceImport::convertControl(const SqcRecord &record, HxSequenceItem &item) const
{
    using ControlOperations::ControlOperation;
    const int code = record.operationCode;
    const QString operation = ControlOperations::controlOperationName(code);
    item.itemType = int(ItemType::Operation);
    item.type = code;
    item.columnType = Types::Ctrl;
    item.columnOperation = operation;
    item.operationItemId = ControlOperations::controlOperationCaption(code);
    item.parameters.insert(Key::SeqOperation, operation);
    const QString &text = record.control.parameterText;

    switch (ControlOperation(code)) {
    case ControlOperation::Pause: {
        const QString message =
            QString(record.secondName).replace(QStringLiteral(" || "), QStringLiteral("\n"));
        item.pauseMessageText = message;
        item.columnProperty = pauseShortText(message);
        // "<time-out>,<sound file>"; files before 8.0 kept only the time-out.
        item.commandEx = text.isEmpty() ? decimal(record.timeOut) + QLatin1Char(',') : text;
        item.columnItem = item.commandEx;
        item.pauseMessageDefaultAnswer = (record.options & SqcRecord::PauseDefaultAnswerNo) ? 1 : 0;
        item.pauseMessageAnswerNoIsPass = record.options & SqcRecord::PauseAnswerNoIsPass;
        break;
    }
    case ControlOperation::Reset:
    case ControlOperation::IoPins:
        item.columnProperty = ExecutionParameters::Value::Preferred;
        item.columnItem = ControlOperations::defaultControlItem(operation);
        item.parameters.insert(Key::InstrumentName, ExecutionParameters::Value::Preferred);
        break;
    default:
        item.columnProperty = text;
        item.columnItem = ControlOperations::defaultControlItem(operation);
        break;
    }
}

void LegacySequenceImport::convertApplication(const SqcRecord &record, int number,
                                              HxSequenceItem &item)
{
    const int code = record.operationCode;
    const bool infrastructure =
        record.kind == Kind::GeneratedTest && LegacyVocabulary::isInfrastructureName(record.thirdName);
    // An infrastructure test keeps its kind of test where the name would be;
    // the application's name is then the second name.
    QString name = record.displayName();
    if (infrastructure && !record.secondName.isEmpty())
        name = record.secondName;
    const auto file = [&](const char *extension) {
        return applicationFile(record.firstName, name, QLatin1String(extension));
    };
    const bool hundredths = record.instrumentFlags & InstrumentFlags::Mask::LevelsDividedBy100;
    const auto statusOrReport = [&] {
        return record.showCode == 3 ? Types::ShowStatus : Types::ShowReport;
    };

    QString type;
    QString operation;
    QString show = Types::ShowStatus;
    Parameters specific;

    switch (record.kind) {
    case Kind::JamScript:
    case Kind::StaplScript: {
        const bool stapl = record.kind == Kind::StaplScript;
        const SqcScriptExtension &script = record.script;
        type = stapl ? Types::StaplScriptPlayer : Types::JamScriptPlayer;
        operation = LegacyVocabulary::legacyOperationName(
            stapl ? Vocabulary::StaplScript : Vocabulary::ScanTest, code);
        specific.insert(stapl ? Key::StaplFileName : Key::JamFileName, file(".jam"));
        specific.insert(Key::BoardTAP, decimal(script.tapNumber() - 1));
        specific.insert(Key::Level, decimal(level(script.level, hundredths)));
        QList<std::pair<QString, quint32>> options = {
            {Key::ShowNotes, SqcScriptExtension::ShowNotes},
            {Key::CheckCRC, SqcScriptExtension::CheckCRC},
            {stapl ? Key::ExecuteStapl : Key::ExecuteJam, SqcScriptExtension::Execute},
        };
        if (!stapl) {
            options += {{Key::Erase, SqcScriptExtension::Erase},
                        {Key::Program, SqcScriptExtension::Program},
                        {Key::Secure, SqcScriptExtension::Secure},
                        {Key::BlankCheck, SqcScriptExtension::BlankCheck},
                        {Key::Verify, SqcScriptExtension::Verify}};
        }
        for (const auto &[key, bit] : options)
            specific.insert(key, decimal(script.scriptOptions & bit));
        specific.insert(Key::Action, script.text);
        addProcedureSwitches(specific, script.tapTextRest(), script.text);
        break;
    }
    case Kind::FlashProgramming:
    case Kind::FlashImage: {
        const SqcFlashExtension &flash = record.flash;
        const quint32 options = flash.words[SqcFlashExtension::OptionWord];
        const QString aplFile = file(".apl");
        type = Types::FlashImageRunner;
        operation = record.kind == Kind::FlashProgramming
                        ? LegacyVocabulary::legacyOperationName(Vocabulary::FlashApplicationFile,
                                                                code, aplFile)
                        : LegacyVocabulary::legacyOperationName(Vocabulary::FlashImageOperation,
                                                                code);
        specific.insert(Key::GenFileName, file(".gen"));
        specific.insert(Key::AplFilePath, aplFile);
        specific.insert(Key::UseConFile, yesNo(options & 0x20));
        specific.insert(Key::ImageFileName, flash.text);
        specific.insert(Key::ImageAFA, decimal(flash.words[0]));
        specific.insert(Key::ImageFormat, decimal(flash.words[2]));
        specific.insert(Key::StartAddress, decimal(flash.words[4]));
        specific.insert(Key::Length, decimal(flash.words[5]));
        specific.insert(Key::FileOffset, decimal(flash.words[7]));
        specific.insert(Key::FlashUnit, (options & 0x10) ? QStringLiteral("byte")
                                                         : QStringLiteral("word"));
        specific.insert(Key::TargetEqStartAddress, yesNo(options & 0x2));
        specific.insert(Key::UseAWPod, yesNo(options & 0x40));
        specific.insert(Key::AWSignal, yesNo(options & 0x8));
        specific.insert(Key::UseAce, yesNo(options & 0x4));
        specific.insert(Key::TargetAddress, decimal(record.targetAddress));
        specific.insert(Key::ImageCRC, decimal(record.imageCrc));
        break;
    }
    case Kind::ProcessorRunner: {
        const SqcLogicExtension &extension = record.logic;
        type = Types::ProcessorImageRunner;
        operation = LegacyVocabulary::legacyOperationName(Vocabulary::ProcessorRunner, code,
                                                          file(".ini"));
        show = statusOrReport();
        specific.insert(Key::PpcFileName, file(".ppc"));
        specific.insert(Key::GenFileName, file(".gen"));
        specific.insert(Key::UseConFile, yesNo(extension.words[0] & 0x1));
        specific.insert(Key::Report, yesNo(extension.words[0] & 0x2));
        specific.insert(Key::StopCRCErr, yesNo(extension.words[3] & 0x1));
        specific.insert(Key::NoExec, yesNo(extension.words[3] & 0x2));
        specific.insert(Key::StopConcErr, yesNo(extension.words[3] & 0x4));
        break;
    }
    case Kind::LogicProgramming: {
        const SqcLogicExtension &extension = record.logic;
        const QString family = extension.texts[0];
        if (family.isEmpty()) {
            type = Types::PldVectorRunner;
            //: %1 = Sequence Title, %2 = Item Number
            log(tr("ORV Sequencer '%1' - Nr. '%2': 'Family' is empty, assuming application type "
                   "is PLD Vector Runner")
                    .arg(sequenceTitle, decimal(number)));
        } else {
            type = Types::FuseMapRunner;
        }
        operation = LegacyVocabulary::legacyOperationName(Vocabulary::LogicRunner, code);
        show = statusOrReport();
        const QString canonical = LogicFamilies::familyCanonicalName(family);
        specific.insert(Key::PrgFileName, file(".prg"));
        specific.insert(Key::GenFileName, file(".gen"));
        specific.insert(Key::FamilyId, decimal(extension.words[0]));
        specific.insert(Key::FamilyIdStr, extension.texts[1]);
        specific.insert(Key::UseConFile, yesNo(extension.words[2] & 0x1));
        specific.insert(Key::Report, yesNo(extension.words[2] & 0x2));
        specific.insert(Key::SecurityUserValue, extension.texts[2]);
        specific.insert(Key::FamilyName, canonical.isEmpty() ? family : canonical);
        specific.insert(Key::Family, family);
        specific.insert(Key::PldOperationModeId, decimal(extension.words[1]));
        specific.insert(Key::SecurityUser, yesNo(extension.words[2] & 0x4));
        specific.insert(Key::Action, operation);
        specific.insert(logicProcedureLists());
        break;
    }
    case Kind::GeneratedTest:
        type = Types::ScanSuiteRunner;
        show = LegacyVocabulary::showName(record.showCode);
        specific.insert(Key::GenFileName, file(".gen"));
        specific.insert(Key::AplFileName, file(".apl"));
        specific.insert(Key::UseConFile, No);
        if (infrastructure) {
            operation = Types::TestInfrastructure;
            specific.insert(Key::InfraOperation, record.thirdName);
        } else {
            operation = LegacyVocabulary::legacyOperationName(Vocabulary::ScanTest, code);
        }
        break;
    default:
        break;
    }

    Parameters parameters = item.parameters;
    parameters.insert(Key::SeqOperation, operation);
    parameters.insert(specific);

    QString createdName;
    QString createdType;
    bool created = false;
    if (HostService<HxiAppCreate> creator(link, QStringLiteral("HxiAppCreate")); creator)
        created = creator->createApplication(pluginId(type), name, parameters, createdName,
                                             createdType);

    item.itemType = int(ItemType::Application);
    item.columnShow = show;
    if (created) {
        item.columnItem = createdName.isEmpty() ? name : createdName;
        item.columnType = createdType.isEmpty() ? type : createdType;
        item.columnOperation = operation;
        item.parameters = parameters;
    } else {
        item.columnItem = name;
        item.columnType = type;
        item.parameters.insert(Key::SeqOperation, QString());
    }
    const bool preferred = instrument == ExecutionParameters::Value::Preferred;
    item.parameters.insert(Key::Show, show);
    item.parameters.insert(Key::InstrumentName, instrument);
    item.parameters.insert(Key::UseDefaultsCtrl, yesNo(preferred));
    item.parameters.insert(Key::UseDefaultsPod, yesNo(preferred));
    item.parameters.insert(Key::UseDefaultsTap, yesNo(preferred));
}
