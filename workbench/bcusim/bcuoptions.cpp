#include "bcuoptions.h"

#include <limits>

namespace {

// A 32-bit word: decimal with an optional sign, or hexadecimal after "0x".
// The plug-in writes its patterns with "%d", so a pattern with bit 31 set
// arrives negative; by hand it is easier to type it unsigned. Both wrap to
// the same word.
std::optional<qint64> readNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))) {
        const QString digits = text.mid(2);
        if (digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-'))
            return std::nullopt;
        value = digits.toLongLong(&ok, 16);
    } else {
        value = text.toLongLong(&ok, 10);
    }
    if (!ok || value < std::numeric_limits<qint32>::min()
        || value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return value;
}

std::optional<quint32> readWord(const QString &text)
{
    const auto value = readNumber(text);
    return value ? std::optional<quint32>(quint32(*value)) : std::nullopt;
}

std::optional<qint32> readNonNegative(const QString &text)
{
    const auto value = readNumber(text);
    if (!value || *value < 0 || *value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(*value);
}

// The digits of TAPs 1 to 4, for example "13"; at least one.
std::optional<BcuOptions::TapSet> readTaps(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    BcuOptions::TapSet taps = 0;
    for (QChar c : text) {
        if (c < u'1' || c > u'4')
            return std::nullopt;
        taps |= BcuOptions::TapSet(1u << (c.unicode() - u'1'));
    }
    return taps;
}

} // namespace

bool BcuOptions::parse(const QStringList &arguments)
{
    bool afterAddress = false;
    for (const QString &argument : arguments) {
        // The I/O-pin commands put the address in unquoted, so an address
        // with blanks reaches us as several words: the words after -a that
        // are no option belong to it.
        if (afterAddress && !argument.startsWith(u'-')) {
            address = *address + u' ' + argument;
            continue;
        }
        afterAddress = false;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            mode = Mode::Help;
            return true;
        }
        if (argument == QLatin1String("--reset")) {
            mode = Mode::Reset;
        } else if (argument == QLatin1String("-M")) {
            machineMode = true;
        } else if (argument == QLatin1String("-nr")) {
            noReset = true;
        } else if (argument == QLatin1String("-ns")) {
            noSetup = true;
        } else if (argument.startsWith(QLatin1String("-a"))) {
            address = argument.mid(2);
            afterAddress = true;
        } else if (argument.startsWith(QLatin1String("-L"))) {
            if (!parseLevel(argument, argument.mid(2)))
                return false;
        } else if (argument.startsWith(QLatin1String("-uo"))) {
            if (!parseWrite(argument, argument.mid(3)))
                return false;
        } else if (argument.startsWith(QLatin1String("-ui"))) {
            if (!parseRead(argument, argument.mid(3)))
                return false;
        } else if (argument.startsWith(QLatin1String("-uw"))) {
            if (!parseWait(argument, argument.mid(3)))
                return false;
        } else if (argument.startsWith(u'-')) {
            return fail(argument, QStringLiteral("an option of bcusim --help"));
        } else {
            return fail(argument, QStringLiteral("an option, not a word"));
        }
    }
    if (mode == Mode::Reset && (!levels.isEmpty() || !operations.isEmpty() || noReset || noSetup)) {
        errorText = QStringLiteral("--reset takes only -a<address>");
        return false;
    }
    return true;
}

bool BcuOptions::fail(const QString &argument, const QString &expected)
{
    errorText = QStringLiteral("bad option '%1': expected %2").arg(argument, expected);
    return false;
}

bool BcuOptions::parseLevel(const QString &argument, const QString &value)
{
    const QString form = QStringLiteral("-L<level>[,<threshold>[,<taps>]]");
    const QStringList fields = value.split(u',');
    if (fields.size() > 3)
        return fail(argument, form);
    Level entry;
    const auto level = readNonNegative(fields.at(0));
    if (!level)
        return fail(argument, form);
    entry.level = *level;
    if (fields.size() >= 2) {
        const auto threshold = readNonNegative(fields.at(1));
        if (!threshold)
            return fail(argument, form);
        entry.threshold = *threshold;
    }
    if (fields.size() == 3) {
        const auto taps = readTaps(fields.at(2));
        if (!taps)
            return fail(argument, form);
        entry.taps = *taps;
    }
    levels.append(entry);
    return true;
}

bool BcuOptions::parseWrite(const QString &argument, const QString &value)
{
    const QString form = QStringLiteral("-uo<control>,<data>[,<taps>]");
    const QStringList fields = value.split(u',');
    if (fields.size() < 2 || fields.size() > 3)
        return fail(argument, form);
    const auto control = readWord(fields.at(0));
    const auto data = readWord(fields.at(1));
    const auto taps = fields.size() == 3 ? readTaps(fields.at(2)) : std::optional<TapSet>(AllTaps);
    if (!control || !data || !taps)
        return fail(argument, form);
    operations.append({OperationKind::Write, *control, *data, 0, *taps});
    return true;
}

bool BcuOptions::parseRead(const QString &argument, const QString &value)
{
    if (value.isEmpty()) {
        operations.append({OperationKind::Read, 0, 0, 0, AllTaps});
        return true;
    }
    const auto taps = value.startsWith(u',') ? readTaps(value.mid(1)) : std::nullopt;
    if (!taps)
        return fail(argument, QStringLiteral("-ui[,<taps>]"));
    operations.append({OperationKind::Read, 0, 0, 0, *taps});
    return true;
}

bool BcuOptions::parseWait(const QString &argument, const QString &value)
{
    const QString form = QStringLiteral("-uw<mask>,<data>,<timeout ms>[,<taps>]");
    const QStringList fields = value.split(u',');
    if (fields.size() < 3 || fields.size() > 4)
        return fail(argument, form);
    const auto mask = readWord(fields.at(0));
    const auto data = readWord(fields.at(1));
    const auto timeout = readNonNegative(fields.at(2));
    const auto taps = fields.size() == 4 ? readTaps(fields.at(3)) : std::optional<TapSet>(AllTaps);
    if (!mask || !data || !timeout || !taps)
        return fail(argument, form);
    operations.append({OperationKind::Wait, *mask, *data, *timeout, *taps});
    return true;
}

QString BcuOptions::usage()
{
    return QStringLiteral(
        "Usage: bcusim [options]            I/O-pin command\n"
        "       bcusim --reset [-a<address>] reset the controller\n"
        "\n"
        "  -M                          command mode (accepted, no effect)\n"
        "  -a<address>                 controller address (only reported)\n"
        "  -nr                         no reset of the TAP controllers first\n"
        "  -ns                         no pod setup: -L options are not applied\n"
        "  -L<level>[,<threshold>[,<taps>]]      set the level (threshold: half the level)\n"
        "  -uo<control>,<data>[,<taps>]          write the control and data words\n"
        "  -ui[,<taps>]                          read the pins into iopins.dat\n"
        "  -uw<mask>,<data>,<timeout ms>[,<taps>] wait until (pins & mask) == (data & mask)\n"
        "\n"
        "<taps> are TAP digits 1 to 4 (\"13\" is TAPs 1 and 3); without them all four.\n"
        "Numbers are decimal or 0x hexadecimal. The pin state is kept in bcusim.state\n"
        "in the working directory.\n"
        "Exit codes: 0 done, 1 a read until match timed out, 2 bad option or file error.\n");
}
