#include "simulatedcontroller.h"

#include <QDir>
#include <QSaveFile>
#include <QTextStream>
#include <QThread>

namespace {

bool hasTap(BcuOptions::TapSet taps, int number)
{
    return taps & (1u << (number - 1));
}

QString addressText(const BcuOptions &options)
{
    return options.address ? QStringLiteral("'%1'").arg(*options.address)
                           : QStringLiteral("(default address)");
}

} // namespace

SimulatedController::SimulatedController(const QString &directory, QTextStream &out,
                                         QTextStream &err)
    : directory(directory)
    , out(out)
    , err(err)
    , sleepFor([](int milliseconds) { QThread::msleep(ulong(milliseconds)); })
{
}

int SimulatedController::run(const BcuOptions &options)
{
    PinState state;
    if (!state.load(filePath(PinState::DefaultFileName)))
        return error(state.errorString());
    return options.mode == BcuOptions::Mode::Reset ? resetController(options, state)
                                                   : runPins(options, state);
}

int SimulatedController::resetController(const BcuOptions &options, PinState &state)
{
    out << "bcusim: reset controller " << addressText(options) << ": pins released, levels off\n";
    state.clearPins();
    ++state.resets;
    return saveState(state) ? Done : Error;
}

int SimulatedController::runPins(const BcuOptions &options, PinState &state)
{
    out << "bcusim: controller " << addressText(options) << '\n';
    if (!options.noReset) {
        // Resetting the TAP controllers leaves the I/O pins as they are: only
        // an instrument reset releases them, so a write stays visible to the
        // next command.
        ++state.resets;
        out << "bcusim: reset TAP controllers\n";
    }
    if (options.noSetup) {
        if (!options.levels.isEmpty())
            out << "bcusim: no pod setup, levels left as they are\n";
    } else {
        applyLevels(options, state);
    }
    BcuOptions::TapSet readTaps = 0;
    bool matched = true;
    for (const BcuOptions::Operation &operation : options.operations) {
        switch (operation.kind) {
        case BcuOptions::OperationKind::Write:
            write(operation, state);
            break;
        case BcuOptions::OperationKind::Read:
            read(operation, state, readTaps);
            break;
        case BcuOptions::OperationKind::Wait:
            matched = wait(operation, state);
            break;
        }
        if (!matched)
            break;
    }
    if (readTaps && !writeResults(readTaps, state))
        return Error;
    if (!saveState(state))
        return Error;
    return matched ? Done : TimedOut;
}

void SimulatedController::applyLevels(const BcuOptions &options, PinState &state)
{
    for (const BcuOptions::Level &level : options.levels) {
        const qint32 threshold = level.threshold.value_or(level.level / 2);
        for (int number = 1; number <= PinState::TapCount; ++number) {
            if (!hasTap(level.taps, number))
                continue;
            state.tap(number).level = level.level;
            state.tap(number).threshold = threshold;
            out << "bcusim: TAP " << number << " level " << level.level << ", threshold "
                << threshold << '\n';
        }
    }
}

void SimulatedController::write(const BcuOptions::Operation &operation, PinState &state)
{
    for (int number = 1; number <= PinState::TapCount; ++number) {
        if (!hasTap(operation.taps, number))
            continue;
        state.tap(number).control = operation.first;
        state.tap(number).data = operation.second;
        out << "bcusim: TAP " << number << " write control " << operation.first << ", data "
            << operation.second << '\n';
    }
}

void SimulatedController::read(const BcuOptions::Operation &operation, const PinState &state,
                               BcuOptions::TapSet &readTaps)
{
    for (int number = 1; number <= PinState::TapCount; ++number) {
        if (!hasTap(operation.taps, number))
            continue;
        readTaps |= BcuOptions::TapSet(1u << (number - 1));
        out << "bcusim: TAP " << number << " read control " << state.tap(number).control
            << ", data " << state.tap(number).data << '\n';
    }
}

bool SimulatedController::wait(const BcuOptions::Operation &operation, const PinState &state)
{
    const quint32 mask = operation.first;
    const quint32 expected = operation.second & mask;
    bool matched = true;
    for (int number = 1; number <= PinState::TapCount; ++number) {
        if (!hasTap(operation.taps, number))
            continue;
        const quint32 data = state.tap(number).data;
        const bool tapMatches = (data & mask) == expected;
        out << "bcusim: TAP " << number << " data " << data << " under mask " << mask
            << (tapMatches ? " matches " : " does not match ") << operation.second << '\n';
        matched = matched && tapMatches;
    }
    if (matched)
        return true;
    // Nothing will change the pins while we wait, so the outcome is already
    // known; the wait only keeps the timing of a real controller, within
    // reason.
    const int waitMs = qMin(operation.timeoutMs, MaxWaitMs);
    out.flush();
    sleepFor(waitMs);
    out << "bcusim: no match within " << operation.timeoutMs << " ms\n";
    return false;
}

bool SimulatedController::writeResults(BcuOptions::TapSet readTaps, const PinState &state)
{
    QString text;
    for (int number = 1; number <= PinState::TapCount; ++number) {
        if (!hasTap(readTaps, number))
            continue;
        text += QStringLiteral("ioctrl%1=%2\n").arg(number).arg(state.tap(number).control);
        text += QStringLiteral("iodata%1=%2\n").arg(number).arg(state.tap(number).data);
    }
    const QString path = filePath(ResultFileName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toLatin1()) < 0 || !file.commit()) {
        error(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    out << "bcusim: wrote " << ResultFileName << '\n';
    return true;
}

bool SimulatedController::saveState(const PinState &state)
{
    if (state.save(filePath(PinState::DefaultFileName)))
        return true;
    error(state.errorString());
    return false;
}

int SimulatedController::error(const QString &message)
{
    err << "bcusim: " << message << '\n';
    err.flush();
    return Error;
}

QString SimulatedController::filePath(const char *name) const
{
    return QDir(directory).filePath(QString::fromLatin1(name));
}
