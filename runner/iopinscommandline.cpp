#include "iopinscommandline.h"

#include <QFile>

#include <algorithm>
#include <functional>

namespace IoPinsCommandLine {

namespace {

constexpr int TapCount = IoPinsOptions::TapCount;

// TAPs that share the same values, in the order their first TAP comes.
struct TapGroup
{
    QList<qint32> values;
    QList<int> taps;
};

using TapValues = std::function<QList<qint32>(const IoPinsTap &)>;

// Groups the TAPs that `takesPart` admits by equal values, in TAP order, so
// one option serves every TAP that needs the same thing. Four TAPs give at
// most four groups.
QList<TapGroup> groupTaps(const IoPinsOptions &options, const std::function<bool(int)> &takesPart,
                          const TapValues &valuesOf)
{
    QList<TapGroup> groups;
    for (int number = 1; number <= TapCount; ++number) {
        if (!takesPart(number))
            continue;
        const QList<qint32> values = valuesOf(options.tap(number));
        const auto sameValues = [&values](const TapGroup &group) { return group.values == values; };
        const auto found = std::find_if(groups.begin(), groups.end(), sameValues);
        if (found != groups.end())
            found->taps.append(number);
        else
            groups.append({values, {number}});
    }
    return groups;
}

// Nothing for all four TAPs, else "," and the TAP digits in ascending order.
QString tapListSuffix(const QList<int> &taps)
{
    if (taps.size() == TapCount)
        return QString();
    QString list = QStringLiteral(",");
    for (int number : taps)
        list += QChar(u'0' + number);
    return list;
}

qint32 effectiveThreshold(qint32 level, qint32 threshold)
{
    return threshold < 0 ? level / 2 : threshold;
}

QString levelOption(const IoPinsOptions &options)
{
    if (!(options.flags & IoPinsOptions::PodType2Bit)) {
        if (options.level <= 0)
            return QString();
        return QStringLiteral(" -L%1").arg(options.level);
    }
    if (!(options.flags & IoPinsOptions::LevelPerTapBit)) {
        if (options.level <= 0)
            return QString();
        return QStringLiteral(" -L%1,%2")
            .arg(options.level)
            .arg(effectiveThreshold(options.level, options.threshold));
    }
    // Levels per TAP: a TAP without a level keeps whatever the pod has,
    // just as the instrument-wide forms write nothing for level 0.
    const QList<TapGroup> groups = groupTaps(
        options, [&options](int number) { return options.tap(number).level > 0; },
        [](const IoPinsTap &tap) { return QList<qint32>{tap.level, tap.threshold}; });
    QString text;
    for (const TapGroup &group : groups) {
        const qint32 level = group.values.at(0);
        text += QStringLiteral(" -L%1,%2%3")
                    .arg(level)
                    .arg(effectiveThreshold(level, group.values.at(1)))
                    .arg(tapListSuffix(group.taps));
    }
    return text;
}

QString operationOption(const IoPinsOptions &options, IoPinsOperation operation)
{
    const auto takesPart = [&options, operation](int number) {
        return options.tapUses(number, operation);
    };
    QString text;
    switch (operation) {
    case IoPinsOperation::Read: {
        QList<int> taps;
        for (int number = 1; number <= TapCount; ++number) {
            if (takesPart(number))
                taps.append(number);
        }
        text = QStringLiteral(" -ui") + tapListSuffix(taps);
        break;
    }
    case IoPinsOperation::Write:
        for (const TapGroup &group :
             groupTaps(options, takesPart, [](const IoPinsTap &tap) {
                 return QList<qint32>{tap.writeControl, tap.writeData};
             })) {
            text += QStringLiteral(" -uo%1,%2%3")
                        .arg(group.values.at(0))
                        .arg(group.values.at(1))
                        .arg(tapListSuffix(group.taps));
        }
        break;
    case IoPinsOperation::ReadUntilMatch:
        for (const TapGroup &group :
             groupTaps(options, takesPart, [](const IoPinsTap &tap) {
                 return QList<qint32>{tap.readMask, tap.readData, tap.timeoutMs};
             })) {
            text += QStringLiteral(" -uw%1,%2,%3%4")
                        .arg(group.values.at(0))
                        .arg(group.values.at(1))
                        .arg(group.values.at(2))
                        .arg(tapListSuffix(group.taps));
        }
        break;
    }
    return text;
}

const QString TitleMarker = QStringLiteral("*");
const QString ValuesMarker = QStringLiteral("!");

QString tapRowText(int tap, const QString &values)
{
    return QStringLiteral(" TAP %1:   %2").arg(tap).arg(values);
}

// One "ioctrl<n>=<value>" or "iodata<n>=<value>" line, read the way the
// controller tools' own scanf format reads it: white space may stand before
// the TAP digit and before the value, anything may follow the value.
struct ResultLine
{
    bool control = false;
    int tap = 0;
    quint32 value = 0;
};

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

int digitValue(QChar c, int base)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c.unicode() - u'A' + 10;
    return value < base ? value : -1;
}

std::optional<ResultLine> parseResultLine(QStringView line)
{
    ResultLine result;
    if (line.startsWith(u"ioctrl"))
        result.control = true;
    else if (!line.startsWith(u"iodata"))
        return std::nullopt;
    qsizetype at = 6;
    const auto skipSpace = [&] {
        while (at < line.size() && isSpace(line[at]))
            ++at;
    };
    skipSpace();
    if (at >= line.size() || digitValue(line[at], 10) < 0)
        return std::nullopt;
    result.tap = digitValue(line[at++], 10);
    if (result.tap < 1 || result.tap > TapCount)
        return std::nullopt;
    if (at >= line.size() || line[at] != u'=')
        return std::nullopt;
    ++at;
    skipSpace();
    bool negative = false;
    if (at < line.size() && (line[at] == u'-' || line[at] == u'+'))
        negative = line[at++] == u'-';
    int base = 10;
    if (at < line.size() && line[at] == u'0') {
        base = 8;
        if (at + 2 < line.size() && (line[at + 1] == u'x' || line[at + 1] == u'X')
            && digitValue(line[at + 2], 16) >= 0) {
            base = 16;
            at += 2;
        }
    }
    const qsizetype firstDigit = at;
    quint32 value = 0;
    // Wraps to 32 bits like the tools' int does; the pins never need more.
    for (int digit; at < line.size() && (digit = digitValue(line[at], base)) >= 0; ++at)
        value = value * quint32(base) + quint32(digit);
    if (at == firstDigit)
        return std::nullopt;
    result.value = negative ? quint32(0) - value : value;
    return result;
}

QString patternText(const std::optional<quint32> &value)
{
    return value ? binaryPattern(*value) : QString();
}

} // namespace

QList<IoPinsOperation> operationOrder()
{
    return {IoPinsOperation::Write, IoPinsOperation::Read, IoPinsOperation::ReadUntilMatch};
}

QString operationTitle(IoPinsOperation operation)
{
    switch (operation) {
    case IoPinsOperation::Write:
        return QStringLiteral("I/O Pins: Write");
    case IoPinsOperation::Read:
        return QStringLiteral("I/O Pins: Read");
    case IoPinsOperation::ReadUntilMatch:
        return QStringLiteral("I/O Pins: Read Until Match");
    }
    return QString();
}

QString buildCommandLine(const IoPinsOptions &options, IoPinsOperation operation,
                         const QString &program, const QString &address)
{
    if (options.instrumentName.isEmpty() || program.isEmpty() || !options.uses(operation))
        return QString();
    QString line = program + QStringLiteral(" -M");
    if (!address.isEmpty())
        line += QStringLiteral(" -a") + address.left(MaxAddressLength);
    if (options.noReset)
        line += QStringLiteral(" -nr");
    if (options.noSetup)
        line += QStringLiteral(" -ns");
    // Without a reset the pod keeps the level it has; setting one would
    // disturb the pins being held.
    if (!options.noReset)
        line += levelOption(options);
    line += operationOption(options, operation);
    return line.left(MaxLength);
}

QStringList buildCommandLines(const IoPinsOptions &options, const QString &program,
                              const QString &address)
{
    QStringList lines;
    for (IoPinsOperation operation : operationOrder()) {
        const QString line = buildCommandLine(options, operation, program, address);
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QString binaryPattern(quint32 value, int width)
{
    const QString digits = QString::number(value, 2);
    const int zeros = qBound(0, width - int(digits.size()), 63);
    return QStringLiteral("0b") + QString(zeros, u'0') + digits;
}

QString Results::controlText(int tap) const
{
    return tap >= 1 && tap <= TapCount ? patternText(control[size_t(tap - 1)]) : QString();
}

QString Results::dataText(int tap) const
{
    return tap >= 1 && tap <= TapCount ? patternText(data[size_t(tap - 1)]) : QString();
}

Results readResults(const QString &fileName)
{
    Results results;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return results;
    // A result file holds eight short lines; a large one is not ours.
    const QByteArray content = file.read(64 * 1024);
    for (const QByteArray &bytes : content.split('\n')) {
        const QString line = QString::fromLatin1(bytes);
        const std::optional<ResultLine> parsed = parseResultLine(line);
        if (!parsed)
            continue;
        auto &words = parsed->control ? results.control : results.data;
        words[size_t(parsed->tap - 1)] = parsed->value;
    }
    return results;
}

QString ReportRow::html() const
{
    return QStringLiteral("<tr><td>%1</td><td colspan='7'>%2</td></tr>\r\n").arg(marker, text);
}

QList<ReportRow> parameterRows(const IoPinsOptions &options)
{
    QList<ReportRow> rows;
    for (IoPinsOperation operation : operationOrder()) {
        if (!options.uses(operation))
            continue;
        rows.append({TitleMarker, operationTitle(operation)});
        if (operation != IoPinsOperation::ReadUntilMatch)
            continue;
        for (int number = 1; number <= TapCount; ++number) {
            if (!options.tapUses(number, operation))
                continue;
            const IoPinsTap &tap = options.tap(number);
            const QString values = QStringLiteral("Mask = %1, Data = %2, Timeout = %3 ms")
                                       .arg(binaryPattern(quint32(tap.readMask)),
                                            binaryPattern(quint32(tap.readData)))
                                       .arg(tap.timeoutMs);
            rows.append({ValuesMarker, tapRowText(number, values)});
        }
    }
    return rows;
}

QList<ReportRow> resultRows(const IoPinsOptions &options, const Results &results)
{
    QList<ReportRow> rows;
    for (int number = 1; number <= TapCount; ++number) {
        if (!options.tapUses(number, IoPinsOperation::Read))
            continue;
        const QString values = QStringLiteral("Control = %1, Data = %2")
                                   .arg(results.controlText(number), results.dataText(number));
        rows.append({ValuesMarker, tapRowText(number, values)});
    }
    return rows;
}

} // namespace IoPinsCommandLine
