#include "instrumentsettings.h"

#include "executionparameters.h"
#include "instrumentflags.h"

InstrumentSettings::InstrumentSettings()
    : flagsWord(InstrumentFlags::DefaultFlags)
    , words{0, 0, -1, -1, 0, 0, 1, 2, 0, 0}
{
    // A TAP starts without flags and with level and threshold unset (-1).
    TapRecord tap{};
    tap[int(TapWord::Level)] = -1;
    tap[int(TapWord::Threshold)] = -1;
    taps.fill(tap);
}

qint32 InstrumentSettings::word(int index) const
{
    if (index < 0 || index >= WordCount)
        return 0;
    return words[size_t(index)];
}

bool InstrumentSettings::setWord(int index, qint32 value)
{
    if (index < 0 || index >= WordCount)
        return false;
    words[size_t(index)] = value;
    return true;
}

qint32 InstrumentSettings::tapWord(int tap, TapWord word) const
{
    return tapWord(tap, int(word));
}

bool InstrumentSettings::setTapWord(int tap, TapWord word, qint32 value)
{
    return setTapWord(tap, int(word), value);
}

qint32 InstrumentSettings::tapWord(int tap, int index) const
{
    if (!isValidTap(tap) || !isValidTapWord(index))
        return 0;
    return taps[size_t(tap - FirstTap)][size_t(index)];
}

bool InstrumentSettings::setTapWord(int tap, int index, qint32 value)
{
    if (!isValidTap(tap) || !isValidTapWord(index))
        return false;
    taps[size_t(tap - FirstTap)][size_t(index)] = value;
    return true;
}

quint32 InstrumentSettings::tapFlags(int tap) const
{
    return quint32(tapWord(tap, TapWord::Flags));
}

bool InstrumentSettings::setTapFlags(int tap, quint32 flags)
{
    return setTapWord(tap, TapWord::Flags, qint32(flags));
}

int InstrumentSettings::tapWordIndex(const QString &field)
{
    using namespace ExecutionParameters;
    static const QList<std::pair<QString, TapWord>> fields = {
        {TapField::Flags, TapWord::Flags},
        {TapField::Level, TapWord::Level},
        {TapField::Threshold, TapWord::Threshold},
        {TapField::ExtCells, TapWord::ExtCells},
        {TapField::Signals, TapWord::Signals},
        {TapField::Reserved, TapWord::Reserved},
        {TapField::IoPinWCtrl, TapWord::IoPinWCtrl},
        {TapField::IoPinWData, TapWord::IoPinWData},
        {TapField::IoPinRCtrl, TapWord::IoPinRCtrl},
        {TapField::IoPinRData, TapWord::IoPinRData},
        {TapField::IoTimeoutMs, TapWord::IoTimeoutMs},
    };
    for (const auto &[name, word] : fields) {
        if (name == field)
            return int(word);
    }
    return -1;
}
