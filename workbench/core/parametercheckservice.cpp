#include "parametercheckservice.h"

#include <QRegularExpression>
#include <QStringList>

#include <limits>

namespace {

constexpr int highestTap = 32;

enum class Range { Unsigned32, NonNegative, Signed32, Gang };

bool inRange(const QString &value, Range range)
{
    bool ok = false;
    const qint64 number = value.toLongLong(&ok, 10);
    if (!ok)
        return false;
    switch (range) {
    case Range::Unsigned32:
        return number >= 0 && number <= qint64(std::numeric_limits<quint32>::max());
    case Range::NonNegative:
        return number >= 0 && number <= std::numeric_limits<qint32>::max();
    case Range::Signed32:
        return number >= std::numeric_limits<qint32>::min()
               && number <= std::numeric_limits<qint32>::max();
    case Range::Gang:
        return number >= -1 && number <= 14;
    }
    return false;
}

int answer(bool valid)
{
    return valid ? VemoInterface::HxiInstrumentManip::ParameterValid
                 : VemoInterface::HxiInstrumentManip::ParameterInvalid;
}

} // namespace

int ParameterCheckService::checkParameter(const QString &key, const QString &value)
{
    if (key == QLatin1String("Flags"))
        return answer(inRange(value, Range::Unsigned32));
    if (key == QLatin1String("TckSrc") || key == QLatin1String("TckkHz"))
        return answer(inRange(value, Range::NonNegative));
    if (key == QLatin1String("Gang"))
        return answer(inRange(value, Range::Gang));
    if (key == QLatin1String("Level") || key == QLatin1String("Threshold")
        || key == QLatin1String("TapSState") || key == QLatin1String("TapEState"))
        return answer(inRange(value, Range::Signed32));

    static const QRegularExpression tapKey(QStringLiteral("\\ATapInfo(\\d+)\\.(\\w+)\\z"));
    static const QStringList fields = {
        QStringLiteral("Flags"),      QStringLiteral("Level"),      QStringLiteral("Threshold"),
        QStringLiteral("ExtCells"),   QStringLiteral("Signals"),    QStringLiteral("Reserved"),
        QStringLiteral("IoPinWCtrl"), QStringLiteral("IoPinWData"), QStringLiteral("IoPinRCtrl"),
        QStringLiteral("IoPinRData"), QStringLiteral("IoTimeoutMs")};
    const QRegularExpressionMatch match = tapKey.match(key);
    if (!match.hasMatch() || !fields.contains(match.captured(2)))
        return NotAnInstrumentParameter;
    bool ok = false;
    const int tap = match.captured(1).toInt(&ok);
    if (!ok || tap > highestTap)
        return ParameterInvalid;
    return answer(inRange(value, match.captured(2) == QLatin1String("Flags") ? Range::Unsigned32
                                                                             : Range::Signed32));
}
