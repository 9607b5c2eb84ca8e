#pragma once

#include <QString>

#include <array>

// The instrument settings of one item as the legacy record lays them out:
// the instrument flags, ten further words the plug-in only stores and passes
// on, and one record of twelve words per TAP, addressed by TAP number 1 to 32.
// Access by an out-of-range TAP or word number reads 0 and writes nothing.
class InstrumentSettings
{
public:
    static constexpr int FirstTap = 1;
    static constexpr int LastTap = 32;
    static constexpr int TapCount = LastTap - FirstTap + 1;
    static constexpr int WordCount = 10;
    static constexpr int TapWordCount = 12;

    // The words of a TAP record in their stored order. The "TapInfo%1.%2"
    // parameters list the same fields in another order (Reserved sits
    // between Signals and IoPinWCtrl there); see tapWordIndex().
    enum class TapWord : int {
        Unused = 0,
        Flags = 1,
        Level = 2,
        Threshold = 3,
        ExtCells = 4,
        Signals = 5,
        IoPinWCtrl = 6,
        IoPinWData = 7,
        IoPinRCtrl = 8,
        IoPinRData = 9,
        IoTimeoutMs = 10,
        Reserved = 11,
    };

    InstrumentSettings();

    quint32 flags() const { return flagsWord; }
    void setFlags(quint32 flags) { flagsWord = flags; }

    // The further words, index 0 to 9.
    qint32 word(int index) const;
    bool setWord(int index, qint32 value);

    static bool isValidTap(int tap) { return tap >= FirstTap && tap <= LastTap; }

    qint32 tapWord(int tap, TapWord word) const;
    bool setTapWord(int tap, TapWord word, qint32 value);
    // Word index 0 to 11 of a TAP record.
    qint32 tapWord(int tap, int index) const;
    bool setTapWord(int tap, int index, qint32 value);

    quint32 tapFlags(int tap) const;
    bool setTapFlags(int tap, quint32 flags);

    // The word index of a "TapInfo%1.%2" field name; -1 for a name that is
    // not one of the eleven fields (the unused word has no field).
    static int tapWordIndex(const QString &field);

    bool operator==(const InstrumentSettings &other) const = default;

private:
    using TapRecord = std::array<qint32, TapWordCount>;

    static bool isValidTapWord(int index) { return index >= 0 && index < TapWordCount; }

    quint32 flagsWord;
    std::array<qint32, WordCount> words;
    std::array<TapRecord, TapCount> taps;
};
