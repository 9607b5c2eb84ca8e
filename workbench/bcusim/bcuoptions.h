#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of bcusim: the options of the I/O-pin commands and of
// the reset command, checked as they are read.
class BcuOptions
{
public:
    // TAPs 1 to 4 as bits 0 to 3.
    using TapSet = quint8;
    static constexpr TapSet AllTaps = 0xF;

    enum class Mode { Pins, Reset, Help };
    enum class OperationKind { Write, Read, Wait };

    struct Level
    {
        qint32 level = 0;
        std::optional<qint32> threshold;  // half the level when not given
        TapSet taps = AllTaps;
    };

    // One -uo, -ui or -uw option. A write holds control and data, a wait
    // (read until match) mask, data and time-out; a read only its TAPs.
    struct Operation
    {
        OperationKind kind = OperationKind::Read;
        quint32 first = 0;
        quint32 second = 0;
        int timeoutMs = 0;
        TapSet taps = AllTaps;
    };

    // Reads the arguments after the program name. False on the first bad
    // one; errorString() then names it.
    [[nodiscard]] bool parse(const QStringList &arguments);
    QString errorString() const { return errorText; }

    static QString usage();

    Mode mode = Mode::Pins;
    bool machineMode = false;
    std::optional<QString> address;
    bool noReset = false;
    bool noSetup = false;
    QList<Level> levels;
    QList<Operation> operations;

private:
    bool fail(const QString &argument, const QString &expected);
    bool parseLevel(const QString &argument, const QString &value);
    bool parseWrite(const QString &argument, const QString &value);
    bool parseRead(const QString &argument, const QString &value);
    bool parseWait(const QString &argument, const QString &value);

    QString errorText;
};
