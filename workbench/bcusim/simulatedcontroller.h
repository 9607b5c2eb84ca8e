#pragma once

#include "bcuoptions.h"
#include "pinstate.h"

#include <QString>

#include <functional>

class QTextStream;

// Carries out one bcusim command on the pin state kept in a folder: loads
// the state, applies the options in command-line order, writes the result
// file of a read and saves the state again.
class SimulatedController
{
public:
    enum ExitCode { Done = 0, TimedOut = 1, Error = 2 };

    // Read until match never waits longer than this, whatever the command
    // asks: the simulated pins never change by themselves, so a longer wait
    // would only slow the tests and the demo down.
    static constexpr int MaxWaitMs = 2000;
    static constexpr auto ResultFileName = "iopins.dat";

    using Sleep = std::function<void(int milliseconds)>;

    SimulatedController(const QString &directory, QTextStream &out, QTextStream &err);

    // Replaces the real wait of a read until match that times out.
    void setSleep(Sleep sleep) { sleepFor = std::move(sleep); }

    int run(const BcuOptions &options);

private:
    int resetController(const BcuOptions &options, PinState &state);
    int runPins(const BcuOptions &options, PinState &state);
    void applyLevels(const BcuOptions &options, PinState &state);
    void write(const BcuOptions::Operation &operation, PinState &state);
    void read(const BcuOptions::Operation &operation, const PinState &state,
              BcuOptions::TapSet &readTaps);
    bool wait(const BcuOptions::Operation &operation, const PinState &state);
    bool writeResults(BcuOptions::TapSet readTaps, const PinState &state);
    bool saveState(const PinState &state);
    int error(const QString &message);
    QString filePath(const char *name) const;

    QString directory;
    QTextStream &out;
    QTextStream &err;
    Sleep sleepFor;
};
