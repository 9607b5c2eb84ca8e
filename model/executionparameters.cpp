#include "executionparameters.h"

#include <QSet>

#include <limits>

namespace ExecutionParameters {

QStringList tapInfoFields()
{
    return {TapField::Flags,      TapField::Level,      TapField::Threshold,  TapField::ExtCells,
            TapField::Signals,    TapField::Reserved,   TapField::IoPinWCtrl, TapField::IoPinWData,
            TapField::IoPinRCtrl, TapField::IoPinRData, TapField::IoTimeoutMs};
}

QString tapInfoKey(int tap, const QString &field)
{
    // Concatenated rather than arg()-formatted, so a field that happens to
    // contain "%1" is kept as it is.
    return QStringLiteral("TapInfo") + QString::number(tap) + QLatin1Char('.') + field;
}

QString tapInfo(const Parameters &parameters, int tap, const QString &field)
{
    return parameters.value(tapInfoKey(tap, field), TapFieldDefault);
}

void setTapInfo(Parameters &parameters, int tap, const QString &field, const QString &value)
{
    const QString key = tapInfoKey(tap, field);
    if (value == TapFieldDefault)
        parameters.remove(key);
    else
        parameters.insert(key, value);
}

bool isDefaultTapInfo(const QString &key, const QString &value)
{
    if (value != TapFieldDefault || !key.startsWith(QLatin1String("TapInfo")))
        return false;
    static const QStringList fields = tapInfoFields();
    const std::optional<TapInfoKey> tapKey = parseTapInfoKey(key);
    return tapKey && fields.contains(tapKey->field) && key == tapInfoKey(tapKey->tap, tapKey->field);
}

std::optional<TapInfoKey> parseTapInfoKey(const QString &key)
{
    static const QString prefix = QStringLiteral("TapInfo");
    if (!key.startsWith(prefix))
        return std::nullopt;

    qsizetype pos = prefix.size();
    const qsizetype digitsStart = pos;
    qint64 tap = 0;
    while (pos < key.size() && key.at(pos) >= QLatin1Char('0') && key.at(pos) <= QLatin1Char('9')) {
        if (tap <= std::numeric_limits<int>::max())
            tap = tap * 10 + (key.at(pos).unicode() - '0');
        ++pos;
    }
    if (pos == digitsStart || pos >= key.size() || key.at(pos) != QLatin1Char('.'))
        return std::nullopt;
    ++pos;

    const QString field = key.mid(pos);
    if (field.isEmpty())
        return std::nullopt;
    for (const QChar c : field) {
        if (c.isSpace())
            return std::nullopt;
    }

    TapInfoKey result;
    result.tap = int(qMin<qint64>(tap, std::numeric_limits<int>::max()));
    result.field = field;
    return result;
}

const QStringList &internalKeys()
{
    // What only makes sense inside the project that holds the item: host
    // bookkeeping, the current run's unit, local paths and the file names
    // the host derives itself.
    static const QStringList keys = {
        Key::Taps,
        Key::TapCount,
        Key::SeqOperation,
        Key::Show,
        Key::WorkDir,
        Key::ItemNumber,
        Key::UnitIdentSN,
        Key::UnitIdentFolder,
        Key::CmdLine,
        Key::CmdLineG1,
        Key::QuilNameG1,
        Key::NameG1,
        Key::APLBaseName,
        Key::ExplicitAplFile,
        Key::FlashOperation,
        Key::FlashAPLBaseName,
        Key::FlashAPLType,
        Key::JamBaseName,
        Key::JamDirPath,
        Key::StaplBaseName,
        Key::StaplDirPath,
        Key::SvfBaseName,
        Key::SvfDirPath,
        Key::WglBaseName,
        Key::WglDirPath,
        Key::PPCBaseName,
        Key::PRGBaseName,
        Key::PldOperation,
        Key::PldOperationModeId,
        Key::PldOperationModeIndex,
        Key::Family,
        Key::FamilyName,
    };
    return keys;
}

bool isInternalParameter(const QString &key)
{
    static const QSet<QString> keys(internalKeys().cbegin(), internalKeys().cend());
    if (keys.contains(key))
        return true;
    const std::optional<TapInfoKey> tapInfo = parseTapInfoKey(key);
    return tapInfo && (tapInfo->field == TapField::ExtCells || tapInfo->field == TapField::Reserved);
}

bool isExportableParameter(const QString &key)
{
    return !isInternalParameter(key);
}

QString procedureCountKey(ProcedureList list)
{
    return list == ProcedureList::Included ? Key::ProcsIncluded : Key::ProcsExcluded;
}

QString procedureKey(ProcedureList list, int index, const QString &part)
{
    const QString prefix = list == ProcedureList::Included ? QStringLiteral("ProcIn")
                                                           : QStringLiteral("ProcEx");
    return prefix + QString::number(index) + part;
}

namespace {

uint procedureCount(const Parameters &parameters, ProcedureList list)
{
    bool ok = false;
    const uint count = parameters.value(procedureCountKey(list)).toUInt(&ok, 10);
    if (!ok)
        return 0;
    return qMin(count, MaxProcedureEntries);
}

void appendSwitches(QString &switches, const Parameters &parameters, ProcedureList list,
                    const QString &action, QLatin1String state)
{
    const uint count = procedureCount(parameters, list);
    for (uint index = 0; index < count; ++index) {
        const int i = int(index);
        if (parameters.value(procedureKey(list, i, ProcedurePart::Action)) != action)
            continue;
        switches += parameters.value(procedureKey(list, i, ProcedurePart::Proc));
        switches += state;
    }
}

} // namespace

QString procedureSwitches(const Parameters &parameters)
{
    const QString action = parameters.value(Key::Action);
    QString switches;
    // All inclusions come before all exclusions, whatever the entry order
    // in the map: the player receives them in that order.
    appendSwitches(switches, parameters, ProcedureList::Included, action, QLatin1String("=1 "));
    appendSwitches(switches, parameters, ProcedureList::Excluded, action, QLatin1String("=0 "));
    return switches;
}

} // namespace ExecutionParameters
