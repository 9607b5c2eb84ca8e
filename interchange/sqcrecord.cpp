#include "sqcrecord.h"

#include "sqcfile_p.h"
#include "sqcheader.h"

#include <limits>

using namespace SqcBytes;

namespace {

// Offsets in the common part.
enum CommonOffset : int {
    FirstNameAt = 0,
    SecondNameAt = 256,
    ThirdNameAt = 512,
    TimeOutAt = 768,
    OptionsAt = 772,
    KindAt = 776,
    OperationCodeAt = 780,
    ShowCodeAt = 784,
    Word788At = 788,
    ItemWord792At = 792,
    ItemWord796At = 796,
    PassActionAt = 800,
    FailActionAt = 804,
    RejectActionAt = 808,
    SystemErrorActionAt = 812,
    Word816At = 816,
    ItemWord820At = 820,
    ItemWord824At = 824,
    Word828At = 828,
    TckSourceAt = 832,
    TckKhzAt = 836,
    LevelAt = 840,
    GangAt = 844,
    InstrumentFlagsAt = 848,
    ImageCrcAt = 852,
    ThresholdAt = 856,
    TapsAt = 860,
    TapStartStateAt = 2396,
    TapEndStateAt = 2400,
    TargetAddressAt = 2404,
    UnusedTailAt = 2408,
};

constexpr int tapRecordSize = 48;

static_assert(TapsAt + SqcRecord::TapCount * tapRecordSize == TapStartStateAt);
static_assert(UnusedTailAt + SqcRecord::UnusedTailSize == SqcRecord::CommonSize);

// Extensions: two or three texts of NameSize bytes, then words.
constexpr int secondTextAt = 256;
constexpr int thirdTextAt = 512;
constexpr int wordsAfterTwoTexts = 512;
constexpr int wordsAfterThreeTexts = 768;

static_assert(wordsAfterTwoTexts + 12 == SqcRecord::CommandExtensionSize);
static_assert(wordsAfterTwoTexts + 8 * 4 == SqcRecord::FlashExtensionSize);
static_assert(wordsAfterThreeTexts + 5 * 4 == SqcRecord::LogicExtensionSize);
static_assert(wordsAfterTwoTexts + 16 == SqcRecord::ScriptExtensionSize);

bool allZero(const char *data, int size)
{
    for (int i = 0; i < size; ++i) {
        if (data[i] != 0)
            return false;
    }
    return true;
}

SqcTapRecord readTap(const char *data, int offset)
{
    SqcTapRecord tap;
    tap.unused = readU32(data, offset);
    tap.flags = readU32(data, offset + 4);
    tap.level = readI32(data, offset + 8);
    tap.threshold = readI32(data, offset + 12);
    tap.extCells = readI32(data, offset + 16);
    tap.signalsField = readI32(data, offset + 20);
    tap.ioPinWCtrl = readI32(data, offset + 24);
    tap.ioPinWData = readI32(data, offset + 28);
    tap.ioPinRCtrl = readI32(data, offset + 32);
    tap.ioPinRData = readI32(data, offset + 36);
    tap.ioTimeoutMs = readI32(data, offset + 40);
    tap.reserved = readI32(data, offset + 44);
    return tap;
}

void writeTap(char *data, int offset, const SqcTapRecord &tap)
{
    writeU32(data, offset, tap.unused);
    writeU32(data, offset + 4, tap.flags);
    writeI32(data, offset + 8, tap.level);
    writeI32(data, offset + 12, tap.threshold);
    writeI32(data, offset + 16, tap.extCells);
    writeI32(data, offset + 20, tap.signalsField);
    writeI32(data, offset + 24, tap.ioPinWCtrl);
    writeI32(data, offset + 28, tap.ioPinWData);
    writeI32(data, offset + 32, tap.ioPinRCtrl);
    writeI32(data, offset + 36, tap.ioPinRData);
    writeI32(data, offset + 40, tap.ioTimeoutMs);
    writeI32(data, offset + 44, tap.reserved);
}

} // namespace

int SqcScriptExtension::tapNumber() const
{
    const qsizetype comma = tapText.indexOf(QLatin1Char(','));
    return SqcRecord::leadingNumber(comma < 0 ? tapText : tapText.left(comma));
}

QString SqcScriptExtension::tapTextRest() const
{
    const qsizetype comma = tapText.indexOf(QLatin1Char(','));
    return comma < 0 ? QString() : tapText.mid(comma + 1);
}

SqcRecord SqcRecord::fromCommonPart(const char *data)
{
    SqcRecord record;
    record.firstName = readText(data, FirstNameAt, NameSize);
    record.secondName = readText(data, SecondNameAt, NameSize);
    record.thirdName = readText(data, ThirdNameAt, NameSize);
    record.timeOut = readI32(data, TimeOutAt);
    record.options = readU32(data, OptionsAt);
    record.kind = Kind(readI32(data, KindAt));
    record.operationCode = readI32(data, OperationCodeAt);
    record.showCode = readI32(data, ShowCodeAt);
    record.word788 = readU32(data, Word788At);
    record.itemWord792 = readU32(data, ItemWord792At);
    record.itemWord796 = readU32(data, ItemWord796At);
    record.passAction = readI32(data, PassActionAt);
    record.failAction = readI32(data, FailActionAt);
    record.rejectAction = readI32(data, RejectActionAt);
    record.systemErrorAction = readI32(data, SystemErrorActionAt);
    record.word816 = readU32(data, Word816At);
    record.itemWord820 = readU32(data, ItemWord820At);
    record.itemWord824 = readU32(data, ItemWord824At);
    record.word828 = readU32(data, Word828At);
    record.tckSource = readI32(data, TckSourceAt);
    record.tckKhz = readI32(data, TckKhzAt);
    record.level = readI32(data, LevelAt);
    record.gang = readU32(data, GangAt);
    record.instrumentFlags = readU32(data, InstrumentFlagsAt);
    record.imageCrc = readU32(data, ImageCrcAt);
    record.threshold = readI32(data, ThresholdAt);
    for (int i = 0; i < TapCount; ++i)
        record.taps[size_t(i)] = readTap(data, TapsAt + i * tapRecordSize);
    record.tapStartState = readI32(data, TapStartStateAt);
    record.tapEndState = readI32(data, TapEndStateAt);
    record.targetAddress = readU32(data, TargetAddressAt);
    // Nearly every file has zeros here; keeping those as "empty" spares a
    // buffer per record.
    if (!allZero(data + UnusedTailAt, UnusedTailSize))
        record.unusedTail = QByteArray(data + UnusedTailAt, UnusedTailSize);
    return record;
}

QByteArray SqcRecord::commonPart() const
{
    QByteArray bytes(CommonSize, '\0');
    char *data = bytes.data();
    writeText(data, FirstNameAt, NameSize, firstName);
    writeText(data, SecondNameAt, NameSize, secondName);
    writeText(data, ThirdNameAt, NameSize, thirdName);
    writeI32(data, TimeOutAt, timeOut);
    writeU32(data, OptionsAt, options);
    writeI32(data, KindAt, qint32(kind));
    writeI32(data, OperationCodeAt, operationCode);
    writeI32(data, ShowCodeAt, showCode);
    writeU32(data, Word788At, word788);
    writeU32(data, ItemWord792At, itemWord792);
    writeU32(data, ItemWord796At, itemWord796);
    writeI32(data, PassActionAt, passAction);
    writeI32(data, FailActionAt, failAction);
    writeI32(data, RejectActionAt, rejectAction);
    writeI32(data, SystemErrorActionAt, systemErrorAction);
    writeU32(data, Word816At, word816);
    writeU32(data, ItemWord820At, itemWord820);
    writeU32(data, ItemWord824At, itemWord824);
    writeU32(data, Word828At, word828);
    writeI32(data, TckSourceAt, tckSource);
    writeI32(data, TckKhzAt, tckKhz);
    writeI32(data, LevelAt, level);
    writeU32(data, GangAt, gang);
    writeU32(data, InstrumentFlagsAt, instrumentFlags);
    writeU32(data, ImageCrcAt, imageCrc);
    writeI32(data, ThresholdAt, threshold);
    for (int i = 0; i < TapCount; ++i)
        writeTap(data, TapsAt + i * tapRecordSize, taps[size_t(i)]);
    writeI32(data, TapStartStateAt, tapStartState);
    writeI32(data, TapEndStateAt, tapEndState);
    writeU32(data, TargetAddressAt, targetAddress);
    if (unusedTail.size() == UnusedTailSize)
        std::memcpy(data + UnusedTailAt, unusedTail.constData(), size_t(UnusedTailSize));
    return bytes;
}

int SqcRecord::extensionSize(Kind kind, quint32 version)
{
    switch (kind) {
    case Kind::SystemCommand:
        return CommandExtensionSize;
    case Kind::FlashProgramming:
    case Kind::FlashImage:
        return FlashExtensionSize;
    case Kind::LogicProgramming:
    case Kind::ProcessorRunner:
        return LogicExtensionSize;
    case Kind::ControlStep:
        // Control steps had no parameters before 8.0.
        return version >= SqcHeader::Version80 ? ControlExtensionSize : 0;
    case Kind::JamScript:
    case Kind::StaplScript:
        return ScriptExtensionSize;
    case Kind::GeneratedTest:
    default:
        return 0;
    }
}

bool SqcRecord::isProcessorExtension(const char *data, int size)
{
    // Some writers left the extension out of kind 8 records. The word at 512
    // is then the start of the next record's third name, which is never
    // empty; in a real extension it is always zero.
    return size >= ProcessorPresenceOffset + 4 && readU32(data, ProcessorPresenceOffset) == 0;
}

void SqcRecord::setExtension(const char *data, int size)
{
    switch (kind) {
    case Kind::SystemCommand:
        if (size < CommandExtensionSize)
            return;
        command.commandLine = readText(data, 0, NameSize);
        command.workingDirectory = readText(data, secondTextAt, NameSize);
        command.options = readU32(data, wordsAfterTwoTexts);
        command.passExitCode = readI32(data, wordsAfterTwoTexts + 4);
        command.failExitCode = readI32(data, wordsAfterTwoTexts + 8);
        break;
    case Kind::FlashProgramming:
    case Kind::FlashImage:
        if (size < FlashExtensionSize)
            return;
        flash.text = readText(data, 0, NameSize);
        flash.tapList = readText(data, secondTextAt, NameSize);
        for (int i = 0; i < int(flash.words.size()); ++i)
            flash.words[size_t(i)] = readU32(data, wordsAfterTwoTexts + 4 * i);
        break;
    case Kind::LogicProgramming:
    case Kind::ProcessorRunner:
        if (size < LogicExtensionSize)
            return;
        logic.texts[0] = readText(data, 0, NameSize);
        logic.texts[1] = readText(data, secondTextAt, NameSize);
        logic.texts[2] = readText(data, thirdTextAt, NameSize);
        for (int i = 0; i < int(logic.words.size()); ++i)
            logic.words[size_t(i)] = readU32(data, wordsAfterThreeTexts + 4 * i);
        break;
    case Kind::ControlStep:
        if (size < ControlExtensionSize)
            return;
        control.parameterText = readText(data, 0, NameSize);
        break;
    case Kind::JamScript:
    case Kind::StaplScript:
        if (size < ScriptExtensionSize)
            return;
        script.text = readText(data, 0, NameSize);
        script.tapText = readText(data, secondTextAt, NameSize);
        script.options = readU32(data, wordsAfterTwoTexts);
        script.scriptOptions = readU32(data, wordsAfterTwoTexts + 4);
        script.level = readI32(data, wordsAfterTwoTexts + 8);
        script.word = readU32(data, wordsAfterTwoTexts + 12);
        break;
    default:
        return;
    }
    hasExtension = true;
}

QByteArray SqcRecord::extensionBytes() const
{
    const int size = extensionSize(kind, SqcHeader::CurrentVersion);
    QByteArray bytes(size, '\0');
    char *data = bytes.data();
    switch (kind) {
    case Kind::SystemCommand:
        writeText(data, 0, NameSize, command.commandLine);
        writeText(data, secondTextAt, NameSize, command.workingDirectory);
        writeU32(data, wordsAfterTwoTexts, command.options);
        writeI32(data, wordsAfterTwoTexts + 4, command.passExitCode);
        writeI32(data, wordsAfterTwoTexts + 8, command.failExitCode);
        break;
    case Kind::FlashProgramming:
    case Kind::FlashImage:
        writeText(data, 0, NameSize, flash.text);
        writeText(data, secondTextAt, NameSize, flash.tapList);
        for (int i = 0; i < int(flash.words.size()); ++i)
            writeU32(data, wordsAfterTwoTexts + 4 * i, flash.words[size_t(i)]);
        break;
    case Kind::LogicProgramming:
    case Kind::ProcessorRunner:
        writeText(data, 0, NameSize, logic.texts[0]);
        writeText(data, secondTextAt, NameSize, logic.texts[1]);
        // A kind 8 extension is recognised by its zero word at 512, so its
        // third text must stay empty.
        if (kind == Kind::LogicProgramming)
            writeText(data, thirdTextAt, NameSize, logic.texts[2]);
        for (int i = 0; i < int(logic.words.size()); ++i)
            writeU32(data, wordsAfterThreeTexts + 4 * i, logic.words[size_t(i)]);
        break;
    case Kind::ControlStep:
        // A step from a file older than 8.0 has no parameter text; the
        // reader takes the time-out from that text, so it must lead it.
        writeText(data, 0, NameSize,
                  hasExtension ? control.parameterText
                               : QString::number(timeOut) + QLatin1Char(','));
        break;
    case Kind::JamScript:
    case Kind::StaplScript:
        writeText(data, 0, NameSize, script.text);
        writeText(data, secondTextAt, NameSize, script.tapText);
        writeU32(data, wordsAfterTwoTexts, script.options);
        writeU32(data, wordsAfterTwoTexts + 4, script.scriptOptions);
        writeI32(data, wordsAfterTwoTexts + 8, script.level);
        writeU32(data, wordsAfterTwoTexts + 12, script.word);
        break;
    default:
        break;
    }
    return bytes;
}

QString SqcRecord::displayName() const
{
    if (kind == Kind::SystemCommand || kind == Kind::ControlStep)
        return secondName;
    QString name = thirdName;
    return name.remove(QLatin1Char('&'));
}

quint32 SqcRecord::tapSetFromText(const QString &text)
{
    quint32 set = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('1') || c > QLatin1Char('4'))
            return 0;
        set |= 1u << (c.unicode() - '1');
    }
    return set;
}

QString SqcRecord::tapSetToText(quint32 set)
{
    QString text;
    for (int tap = 1; tap <= 4; ++tap) {
        if (set & (1u << (tap - 1)))
            text.append(QChar(u'0' + tap));
    }
    return text;
}

qint32 SqcRecord::leadingNumber(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    // atoi skips the blanks of isspace() in the C locale.
    while (i < n && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    constexpr qint64 limit = qint64(std::numeric_limits<qint32>::max()) + 1;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return qint32(qMax(-value, qint64(std::numeric_limits<qint32>::min())));
    return qint32(qMin(value, qint64(std::numeric_limits<qint32>::max())));
}
