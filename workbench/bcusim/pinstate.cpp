#include "pinstate.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <limits>
#include <optional>

namespace {

// A state file holds a few dozen short lines; anything this big is not one.
constexpr qint64 MaxFileSize = 64 * 1024;

const QLatin1String Header("# bcusim simulated controller state");

std::optional<qint64> readNumber(const QString &text, qint64 minimum, qint64 maximum)
{
    bool ok = false;
    const qint64 value = text.startsWith(QLatin1String("0x"))
                             ? text.mid(2).toLongLong(&ok, 16)
                             : text.toLongLong(&ok, 10);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

} // namespace

void PinState::clearPins()
{
    taps = {};
}

bool PinState::fail(const QString &fileName, int line, const QString &problem) const
{
    errorText = line > 0 ? QStringLiteral("%1, line %2: %3").arg(fileName).arg(line).arg(problem)
                         : QStringLiteral("%1: %2").arg(fileName, problem);
    return false;
}

bool PinState::load(const QString &fileName)
{
    *this = PinState();
    QFile file(fileName);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return fail(fileName, 0, file.errorString());
    if (file.size() > MaxFileSize)
        return fail(fileName, 0, QStringLiteral("too large for a state file"));
    const QString content = QString::fromUtf8(file.readAll());
    const QStringList lines = content.split(u'\n');
    for (int index = 0; index < lines.size(); ++index) {
        const int lineNumber = index + 1;
        const QString line = lines.at(index).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            return fail(fileName, lineNumber, QStringLiteral("expected key=value"));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("resets")) {
            const auto count = readNumber(value, 0, std::numeric_limits<qint64>::max());
            if (!count) {
                return fail(fileName, lineNumber,
                            QStringLiteral("bad reset count '%1'").arg(value));
            }
            resets = *count;
            continue;
        }
        // tap<n>.<field>
        const qsizetype dot = key.indexOf(u'.');
        const QString tapPart = key.left(dot);
        const QString field = dot < 0 ? QString() : key.mid(dot + 1);
        const int number = tapPart.size() == 4 && tapPart.startsWith(QLatin1String("tap"))
                               ? tapPart.at(3).digitValue()
                               : -1;
        if (number < 1 || number > TapCount)
            return fail(fileName, lineNumber, QStringLiteral("unknown key '%1'").arg(key));
        Tap &t = tap(number);
        const bool word = field == QLatin1String("control") || field == QLatin1String("data");
        const bool level = field == QLatin1String("level") || field == QLatin1String("threshold");
        if (!word && !level)
            return fail(fileName, lineNumber, QStringLiteral("unknown key '%1'").arg(key));
        const auto parsed = word ? readNumber(value, std::numeric_limits<qint32>::min(),
                                              std::numeric_limits<quint32>::max())
                                 : readNumber(value, std::numeric_limits<qint32>::min(),
                                              std::numeric_limits<qint32>::max());
        if (!parsed)
            return fail(fileName, lineNumber,
                        QStringLiteral("bad value '%1' for '%2'").arg(value, key));
        if (field == QLatin1String("control"))
            t.control = quint32(*parsed);
        else if (field == QLatin1String("data"))
            t.data = quint32(*parsed);
        else if (field == QLatin1String("level"))
            t.level = qint32(*parsed);
        else
            t.threshold = qint32(*parsed);
    }
    return true;
}

bool PinState::save(const QString &fileName) const
{
    QString text = Header + u'\n';
    text += QStringLiteral("resets=%1\n").arg(resets);
    for (int number = 1; number <= TapCount; ++number) {
        const Tap &t = tap(number);
        text += QStringLiteral("tap%1.control=%2\n").arg(number).arg(t.control);
        text += QStringLiteral("tap%1.data=%2\n").arg(number).arg(t.data);
        text += QStringLiteral("tap%1.level=%2\n").arg(number).arg(t.level);
        text += QStringLiteral("tap%1.threshold=%2\n").arg(number).arg(t.threshold);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(fileName, 0, file.errorString());
    file.write(text.toUtf8());
    if (!file.commit())
        return fail(fileName, 0, file.errorString());
    return true;
}
