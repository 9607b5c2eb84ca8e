#pragma once

#include <QString>

#include <array>

// What the simulated controller remembers between two runs: the words last
// written to the I/O pins of each TAP, the pod levels and how often it was
// reset. Kept as "key=value" lines so a person can set up a board state by
// hand.
class PinState
{
public:
    static constexpr int TapCount = 4;
    static constexpr auto DefaultFileName = "bcusim.state";

    struct Tap
    {
        quint32 control = 0;
        quint32 data = 0;
        qint32 level = 0;
        qint32 threshold = 0;

        bool operator==(const Tap &other) const = default;
    };

    // TAP 1 to 4.
    Tap &tap(int number) { return taps[size_t(number - 1)]; }
    const Tap &tap(int number) const { return taps[size_t(number - 1)]; }

    // A missing file is a controller that has never run: everything 0.
    [[nodiscard]] bool load(const QString &fileName);
    // Written atomically, so a killed run leaves the previous state.
    [[nodiscard]] bool save(const QString &fileName) const;
    QString errorString() const { return errorText; }

    // The pins and levels of a controller just switched on; the reset count
    // stays.
    void clearPins();

    std::array<Tap, TapCount> taps;
    qint64 resets = 0;

    bool operator==(const PinState &other) const
    {
        return taps == other.taps && resets == other.resets;
    }

private:
    bool fail(const QString &fileName, int line, const QString &problem) const;

    mutable QString errorText;
};
