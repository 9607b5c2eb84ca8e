#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// One TAP's settings inside a record: twelve words.
struct SqcTapRecord
{
    quint32 unused = 0;
    quint32 flags = 0;
    qint32 level = 0;
    qint32 threshold = 0;
    qint32 extCells = 0;
    qint32 signalsField = 0;    // "Signals"; the plain name is a Qt keyword
    qint32 ioPinWCtrl = 0;
    qint32 ioPinWData = 0;
    qint32 ioPinRCtrl = 0;
    qint32 ioPinRData = 0;
    qint32 ioTimeoutMs = 0;
    qint32 reserved = 0;

    bool operator==(const SqcTapRecord &other) const = default;
};

// Extension of a system command record (kind 0): 524 bytes.
struct SqcCommandExtension
{
    enum Option : quint32 {
        ConsoleApp = 0x1,
        Internal = 0x2,
        AllowUserInteraction = 0x4,
        ShowImmediateOutput = 0x8,
        EditBeforeLaunch = 0x10,
        LaunchInDesignDir = 0x20,
        AddToLaunchMenu = 0x40,
    };

    QString commandLine;
    QString workingDirectory;
    quint32 options = 0;
    qint32 passExitCode = 0;
    qint32 failExitCode = 0;

    bool operator==(const SqcCommandExtension &other) const = default;
};

// Extension of a flash record (kinds 1 and 5): 544 bytes.
struct SqcFlashExtension
{
    // The words whose place is fixed by files of older versions.
    enum Word : int {
        OptionWord = 1,         // bit 0: the "Aw" instrument flag, in files before 10.0
        TargetAddressWord = 3,  // the target address when the header lacks flag 0x100
        LevelWord = 6,          // the drive level, in files before 10.0
    };

    QString text;
    QString tapList;            // the TAPs as digits "1" to "4"
    std::array<quint32, 8> words{};

    bool operator==(const SqcFlashExtension &other) const = default;
};

// Extension of a programmable-logic record (kind 2) and of an in-system
// configuration or processor runner record (kind 8): 788 bytes. A kind 8
// record has it only when the word at 512 (the first four bytes of the third
// text) is zero, so a kind 8 extension always has an empty third text. Of a
// kind 8 extension only words 0, 3 and 4 mean something.
struct SqcLogicExtension
{
    std::array<QString, 3> texts;
    std::array<quint32, 5> words{};

    bool operator==(const SqcLogicExtension &other) const = default;
};

// Extension of a control step (kind 4): 256 bytes, in files of version 8.0
// and later. The number its text begins with is the step's time-out.
struct SqcControlExtension
{
    QString parameterText;

    bool operator==(const SqcControlExtension &other) const = default;
};

// Extension of a Jam (kind 6) or STAPL (kind 7) script record: 528 bytes.
struct SqcScriptExtension
{
    enum ScriptOption : quint32 {
        CheckCRC = 0x1,
        Execute = 0x2,          // "ExecuteJam" or "ExecuteStapl"
        ShowNotes = 0x4,
        Erase = 0x8,
        BlankCheck = 0x10,
        Program = 0x20,
        Verify = 0x40,
        Secure = 0x80,
        Stapl = 0x1000,         // added by the writer for STAPL scripts
    };

    QString text;
    QString tapText;            // "<TAP number>,<second part>"
    quint32 options = 0;
    quint32 scriptOptions = 0;
    qint32 level = 0;
    quint32 word = 0;

    // The number before the first comma of tapText (0 when it is none).
    int tapNumber() const;
    // What follows the first comma of tapText (empty without a comma).
    QString tapTextRest() const;

    bool operator==(const SqcScriptExtension &other) const = default;
};

// One item record of a legacy sequence file: a common part of 2524 bytes and
// an extension whose size depends on the record kind (and, for control
// steps, on the file version). Only the extension of the record's kind is
// meaningful; `hasExtension` says whether the file held one.
class SqcRecord
{
public:
    static constexpr int CommonSize = 2524;
    static constexpr int NameSize = 256;
    static constexpr int TapCount = 32;
    static constexpr int UnusedTailSize = 116;

    static constexpr int CommandExtensionSize = 524;
    static constexpr int FlashExtensionSize = 544;
    static constexpr int LogicExtensionSize = 788;
    static constexpr int ControlExtensionSize = 256;
    static constexpr int ScriptExtensionSize = 528;
    // The word of a kind 8 extension that tells whether it is there at all.
    static constexpr int ProcessorPresenceOffset = 512;

    // The record kinds; they are the application classes of the items.
    enum class Kind : qint32 {
        SystemCommand = 0,
        FlashProgramming = 1,   // operation from its application file
        LogicProgramming = 2,
        GeneratedTest = 3,
        ControlStep = 4,
        FlashImage = 5,
        JamScript = 6,
        StaplScript = 7,
        ProcessorRunner = 8,    // in-system configuration or processor runner
    };

    // Bits of `options`.
    enum ItemOption : quint32 {
        SaveResultsOnPass = 0x2,
        SaveResultsOnFail = 0x4,
        StatusNotToSequenceStatus = 0x10,
        // Either of the two puts the step into the report; the writer uses
        // the first.
        AddToReport = 0x20,
        AlsoAddToReport = 0x100,
        PauseAnswerNoIsPass = 0x1000,
        PauseDefaultAnswerNo = 0x2000,
    };

    // Control code 13 (read/test/write I/O pins) gets these instrument flags
    // whenever it is read: the step always runs with pod type 2 and waits
    // for the I/O pins.
    static constexpr quint32 IoPinsFlags = 0x10008000;
    static constexpr qint32 IoPinsControlCode = 13;

    QString firstName;          // for applications: the folder of their files
    QString secondName;         // displayed name of commands and control steps
    QString thirdName;          // displayed name of the other kinds
    qint32 timeOut = 0;
    quint32 options = 0;
    Kind kind = Kind::SystemCommand;
    qint32 operationCode = 0;   // or the control code of a control step
    qint32 showCode = 0;
    quint32 word788 = 0;        // not used
    quint32 itemWord792 = 0;    // passed to and from the item
    quint32 itemWord796 = 0;    // passed to and from the item
    qint32 passAction = 0;      // flow action codes: Next 0, Prev 1, Stop 2, Redo 3, else -1
    qint32 failAction = 0;
    qint32 rejectAction = 0;
    qint32 systemErrorAction = 0;
    quint32 word816 = 0;        // not used
    quint32 itemWord820 = 0;    // passed to and from the item
    quint32 itemWord824 = 0;    // passed to and from the item
    quint32 word828 = 0;        // not used
    qint32 tckSource = 0;
    qint32 tckKhz = 0;
    qint32 level = 0;
    quint32 gang = 0;           // TAPs 1 to 4 as bits 0 to 3
    quint32 instrumentFlags = 0;
    quint32 imageCrc = 0;
    qint32 threshold = 0;
    std::array<SqcTapRecord, TapCount> taps{};
    qint32 tapStartState = 0;
    qint32 tapEndState = 0;
    quint32 targetAddress = 0;
    QByteArray unusedTail;      // the last 116 bytes, passed through (empty: zeros)

    bool hasExtension = false;
    SqcCommandExtension command;
    SqcFlashExtension flash;
    SqcLogicExtension logic;
    SqcControlExtension control;
    SqcScriptExtension script;

    // The record of a common part: exactly CommonSize bytes at `data`.
    static SqcRecord fromCommonPart(const char *data);
    QByteArray commonPart() const;

    // Bytes the extension of a record of `kind` takes in a file of
    // `version`; for kind 8 the size it has when it is there.
    static int extensionSize(Kind kind, quint32 version);
    // Whether `size` bytes read after a kind 8 common part are its
    // extension rather than the start of the next record.
    static bool isProcessorExtension(const char *data, int size);
    // Takes the extension of the record's kind from exactly
    // extensionSize(kind, version) bytes at `data`.
    void setExtension(const char *data, int size);
    // The extension of the record's kind as it is written (current layout);
    // empty for kinds without one.
    QByteArray extensionBytes() const;

    // The name a list shows: the second name for commands and control
    // steps, else the third name without its "&" accelerator marks.
    QString displayName() const;

    // The TAP set of a list of digits "1" to "4"; any other character makes
    // the set empty.
    static quint32 tapSetFromText(const QString &text);
    // The digits of the members of a TAP set (bits 0 to 3), ascending.
    static QString tapSetToText(quint32 set);
    // The integer a text begins with, as C's atoi reads it: leading blanks,
    // an optional sign, digits; 0 when there are none; clamped to 32 bits.
    static qint32 leadingNumber(const QString &text);

    bool operator==(const SqcRecord &other) const = default;
};
