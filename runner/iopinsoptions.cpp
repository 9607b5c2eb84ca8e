#include "iopinsoptions.h"

#include "executionparameters.h"

#include <cstdint>
#include <optional>

namespace {

using Parameters = QMap<QString, QString>;

// A 32-bit word in decimal. Words are written signed or unsigned depending
// on who wrote them (a flag word unsigned, a pattern with bit 31 set by an
// old tool unsigned as well), so both ranges are taken and wrap to 32 bits.
std::optional<quint32> readWord(const Parameters &parameters, const QString &key)
{
    const auto found = parameters.constFind(key);
    if (found == parameters.constEnd())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = found->trimmed().toLongLong(&ok, 10);
    if (!ok || value < qlonglong(INT32_MIN) || value > qlonglong(UINT32_MAX))
        return std::nullopt;
    return quint32(value);
}

void readInto(const Parameters &parameters, const QString &key, quint32 &target)
{
    if (const auto value = readWord(parameters, key))
        target = *value;
}

void readInto(const Parameters &parameters, const QString &key, qint32 &target)
{
    if (const auto value = readWord(parameters, key))
        target = qint32(*value);
}

bool readSwitch(const Parameters &parameters, const QString &key)
{
    bool ok = false;
    const int value = parameters.value(key).trimmed().toInt(&ok);
    return ok && value == 1;
}

} // namespace

IoPinsTap &IoPinsOptions::tap(int number)
{
    Q_ASSERT(number >= 1 && number <= TapCount);
    return taps[size_t(number - 1)];
}

const IoPinsTap &IoPinsOptions::tap(int number) const
{
    Q_ASSERT(number >= 1 && number <= TapCount);
    return taps[size_t(number - 1)];
}

bool IoPinsOptions::tapUses(int number, IoPinsOperation operation) const
{
    const IoPinsTap &t = tap(number);
    switch (operation) {
    case IoPinsOperation::Write:
        return t.writes();
    case IoPinsOperation::Read:
        return t.hasRead() && (!t.hasMatch() || !matchEnabled());
    case IoPinsOperation::ReadUntilMatch:
        return t.hasRead() && t.hasMatch() && matchEnabled();
    }
    return false;
}

bool IoPinsOptions::uses(IoPinsOperation operation) const
{
    for (int number = 1; number <= TapCount; ++number) {
        if (tapUses(number, operation))
            return true;
    }
    return false;
}

IoPinsOptions IoPinsOptions::fromParameters(const QMap<QString, QString> &parameters)
{
    using namespace ExecutionParameters;
    IoPinsOptions options;
    options.instrumentName = parameters.value(Key::InstrumentName);
    readInto(parameters, Key::Flags, options.flags);
    readInto(parameters, Key::Level, options.level);
    readInto(parameters, Key::Threshold, options.threshold);
    for (int number = 1; number <= TapCount; ++number) {
        IoPinsTap &t = options.tap(number);
        const auto get = [&parameters, number](const QString &field, auto &target) {
            readInto(parameters, tapInfoKey(number, field), target);
        };
        get(TapField::Flags, t.flags);
        get(TapField::Level, t.level);
        get(TapField::Threshold, t.threshold);
        get(TapField::IoPinWCtrl, t.writeControl);
        get(TapField::IoPinWData, t.writeData);
        get(TapField::IoPinRCtrl, t.readMask);
        get(TapField::IoPinRData, t.readData);
        get(TapField::IoTimeoutMs, t.timeoutMs);
    }
    options.noReset = readSwitch(parameters, IoPinsKey::NoReset);
    options.noSetup = readSwitch(parameters, IoPinsKey::NoSetup);
    return options;
}

void IoPinsOptions::writeParameters(QMap<QString, QString> &parameters) const
{
    using namespace ExecutionParameters;
    parameters.insert(Key::InstrumentName, instrumentName);
    parameters.insert(Key::Flags, QString::number(flags));
    parameters.insert(Key::Level, QString::number(level));
    parameters.insert(Key::Threshold, QString::number(threshold));
    for (int number = 1; number <= TapCount; ++number) {
        const IoPinsTap &t = tap(number);
        const auto put = [&parameters, number](const QString &field, qint64 value) {
            parameters.insert(tapInfoKey(number, field), QString::number(value));
        };
        put(TapField::Flags, t.flags);
        put(TapField::Level, t.level);
        put(TapField::Threshold, t.threshold);
        put(TapField::IoPinWCtrl, t.writeControl);
        put(TapField::IoPinWData, t.writeData);
        put(TapField::IoPinRCtrl, t.readMask);
        put(TapField::IoPinRData, t.readData);
        put(TapField::IoTimeoutMs, t.timeoutMs);
    }
    const auto writeSwitch = [&parameters](const QString &key, bool on) {
        if (on)
            parameters.insert(key, QStringLiteral("1"));
        else
            parameters.remove(key);
    };
    writeSwitch(IoPinsKey::NoReset, noReset);
    writeSwitch(IoPinsKey::NoSetup, noSetup);
}

QMap<QString, QString> IoPinsOptions::toParameters() const
{
    QMap<QString, QString> parameters;
    writeParameters(parameters);
    return parameters;
}

bool IoPinsOptions::usesAnyPin() const
{
    for (int number = 1; number <= TapCount; ++number) {
        const IoPinsTap &pins = tap(number);
        if (tapUses(number, IoPinsOperation::Write) && pins.writeControl != 0)
            return true;
        // A plain read reports every pin; a match with an empty mask
        // compares none.
        if (tapUses(number, IoPinsOperation::Read)
            || (tapUses(number, IoPinsOperation::ReadUntilMatch) && pins.readMask != 0))
            return true;
    }
    return false;
}
