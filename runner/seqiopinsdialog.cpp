#include "seqiopinsdialog.h"

#include "instrumentlookup.h"
#include "ui_seqiopinsform.h"

#include "hostservice.h"
#include "hxiinstrument.h"
#include "hxiinstrumentex.h"
#include "hxiwhatsthis.h"

#include <QDir>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

using namespace VemoInterface;

namespace {

const QString Preferred = QStringLiteral("Preferred");

// The levels a pod offers, in tenths of a volt.
constexpr qint32 OfferedLevels[] = {0, 5, 6, 7, 8, 9, 12, 13, 15, 16, 18};

// Levels and thresholds are kept in tenths of a volt and shown in volts.
QString voltText(qint32 tenths)
{
    return QString::number(tenths / 10.0, 'f', 1);
}

// Pin patterns are bit masks, so they are edited in hexadecimal; a bit 31
// pattern is kept as the signed word the options store.
QString hexText(qint32 value)
{
    return QStringLiteral("0x") + QString::number(quint32(value), 16).toUpper();
}

qint32 hexValue(const QLineEdit *edit, qint32 fallback)
{
    QString text = edit->text().trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text.remove(0, 2);
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const quint32 value = text.toUInt(&ok, 16);
    return ok ? qint32(value) : fallback;
}

} // namespace

SeqIOPinsDialog::SeqIOPinsDialog(const HostLink &link, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::SeqIOPinsForm>()), link(link)
{
    setObjectName(QStringLiteral("IO Pins Properties Dialog"));
    ui->setupUi(this);
    taps = {{
        {ui->tap1GroupBox, ui->tap1WriteCheckBox, ui->tap1ReadCheckBox, ui->tap1MatchCheckBox,
         ui->tap1WriteControlLineEdit, ui->tap1WriteDataLineEdit, ui->tap1ReadMaskLineEdit,
         ui->tap1ReadDataLineEdit, ui->tap1TimeoutSpinBox},
        {ui->tap2GroupBox, ui->tap2WriteCheckBox, ui->tap2ReadCheckBox, ui->tap2MatchCheckBox,
         ui->tap2WriteControlLineEdit, ui->tap2WriteDataLineEdit, ui->tap2ReadMaskLineEdit,
         ui->tap2ReadDataLineEdit, ui->tap2TimeoutSpinBox},
        {ui->tap3GroupBox, ui->tap3WriteCheckBox, ui->tap3ReadCheckBox, ui->tap3MatchCheckBox,
         ui->tap3WriteControlLineEdit, ui->tap3WriteDataLineEdit, ui->tap3ReadMaskLineEdit,
         ui->tap3ReadDataLineEdit, ui->tap3TimeoutSpinBox},
        {ui->tap4GroupBox, ui->tap4WriteCheckBox, ui->tap4ReadCheckBox, ui->tap4MatchCheckBox,
         ui->tap4WriteControlLineEdit, ui->tap4WriteDataLineEdit, ui->tap4ReadMaskLineEdit,
         ui->tap4ReadDataLineEdit, ui->tap4TimeoutSpinBox},
    }};

    auto *hexValidator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("(0[xX])?[0-9A-Fa-f]{0,8}")), this);
    for (const TapWidgets &tap : taps) {
        for (QLineEdit *edit : {tap.writeControl, tap.writeData, tap.readMask, tap.readData})
            edit->setValidator(hexValidator);
        for (QCheckBox *box : {tap.write, tap.read, tap.match})
            connect(box, &QCheckBox::toggled, this, [this, &tap] { enableTapFields(tap); });
    }
    // Without a reset the controller leaves the level alone.
    connect(ui->noResetCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        ui->levelComboBox->setEnabled(!on);
        ui->thresholdSpinBox->setEnabled(!on);
    });
    connect(ui->instrumentComboBox, &QComboBox::currentIndexChanged, this,
            &SeqIOPinsDialog::enableOfferedTaps);

    if (HostService<HxiWhatsThis> help(link, QStringLiteral("HxiWhatsThis")); help)
        help->registerTopic(QStringLiteral("ORVSequencer"), QStringLiteral("IO Pins Properties Dialog"),
                            this);
    showOptions();
}

SeqIOPinsDialog::~SeqIOPinsDialog() = default;

void SeqIOPinsDialog::loadParameters(const QMap<QString, QString> &parameters)
{
    setOptions(IoPinsOptions::fromParameters(parameters));
}

void SeqIOPinsDialog::storeParameters(QMap<QString, QString> &parameters) const
{
    record.writeParameters(parameters);
}

void SeqIOPinsDialog::setOptions(const IoPinsOptions &options)
{
    record = options;
    showOptions();
}

QString SeqIOPinsDialog::buildCommandLine(IoPinsOperation operation) const
{
    QString program;
    QString address;
    const IoPinsOptions options = commandOptions(program, address);
    return IoPinsCommandLine::buildCommandLine(options, operation, program, address);
}

QStringList SeqIOPinsDialog::buildCommandLines() const
{
    QString program;
    QString address;
    const IoPinsOptions options = commandOptions(program, address);
    return IoPinsCommandLine::buildCommandLines(options, program, address);
}

IoPinsCommandLine::Results SeqIOPinsDialog::readResults(const QString &folder) const
{
    return IoPinsCommandLine::readResults(QDir(folder).filePath(IoPinsCommandLine::ResultFileName));
}

void SeqIOPinsDialog::accept()
{
    record = editedOptions();
    QDialog::accept();
}

void SeqIOPinsDialog::reject()
{
    // The next time the dialog opens it shows the options, not the edits
    // that were thrown away.
    showOptions();
    QDialog::reject();
}

void SeqIOPinsDialog::showOptions()
{
    fillInstruments(record.instrumentName);
    fillLevels(record.level);
    // A larger stored threshold widens the range rather than being cut.
    ui->thresholdSpinBox->setMaximum(qMax(ui->thresholdSpinBox->maximum(), record.threshold / 10.0));
    ui->thresholdSpinBox->setValue(record.threshold < 0 ? ui->thresholdSpinBox->minimum()
                                                        : record.threshold / 10.0);
    ui->noResetCheckBox->setChecked(record.noReset);
    ui->noSetupCheckBox->setChecked(record.noSetup);
    for (int number = 1; number <= IoPinsOptions::TapCount; ++number) {
        const IoPinsTap &tap = record.tap(number);
        const TapWidgets &widgets = taps[size_t(number - 1)];
        widgets.write->setChecked(tap.writes());
        widgets.read->setChecked(tap.hasRead());
        widgets.match->setChecked(tap.hasMatch());
        widgets.writeControl->setText(hexText(tap.writeControl));
        widgets.writeData->setText(hexText(tap.writeData));
        widgets.readMask->setText(hexText(tap.readMask));
        widgets.readData->setText(hexText(tap.readData));
        widgets.timeout->setMinimum(qMin(0, tap.timeoutMs));
        widgets.timeout->setValue(tap.timeoutMs);
        enableTapFields(widgets);
    }
}

IoPinsOptions SeqIOPinsDialog::editedOptions() const
{
    // Starting from the options keeps what the dialog does not edit: the
    // flag words beyond the operation bits and the levels per TAP.
    IoPinsOptions edited = record;
    edited.instrumentName = ui->instrumentComboBox->currentData().toString();
    edited.level = ui->levelComboBox->currentData().toInt();
    const qint32 threshold = qRound(ui->thresholdSpinBox->value() * 10);
    // Every negative threshold means half the level; the one stored stays.
    if (threshold >= 0 || record.threshold >= 0)
        edited.threshold = threshold < 0 ? -1 : threshold;
    edited.noReset = ui->noResetCheckBox->isChecked();
    edited.noSetup = ui->noSetupCheckBox->isChecked();
    for (int number = 1; number <= IoPinsOptions::TapCount; ++number) {
        IoPinsTap &tap = edited.tap(number);
        const TapWidgets &widgets = taps[size_t(number - 1)];
        tap.setOperation(IoPinsTap::WriteBit, widgets.write->isChecked());
        tap.setOperation(IoPinsTap::ReadBit, widgets.read->isChecked());
        tap.setOperation(IoPinsTap::MatchBit, widgets.match->isChecked());
        tap.writeControl = hexValue(widgets.writeControl, tap.writeControl);
        tap.writeData = hexValue(widgets.writeData, tap.writeData);
        tap.readMask = hexValue(widgets.readMask, tap.readMask);
        tap.readData = hexValue(widgets.readData, tap.readData);
        tap.timeoutMs = widgets.timeout->value();
    }
    return edited;
}

void SeqIOPinsDialog::fillInstruments(const QString &selected)
{
    QComboBox *combo = ui->instrumentComboBox;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        QString preferred;
        QStringList names;
        if (HostService<HxiInstrument> instruments(link, QStringLiteral("HxiInstrument")); instruments) {
            preferred = instruments->preferredInstrument();
            names = instruments->instruments();
        }
        combo->addItem(preferred.isEmpty() ? Preferred
                                           : QStringLiteral("%1 (%2)").arg(Preferred, preferred),
                       Preferred);
        for (const QString &name : std::as_const(names))
            combo->addItem(name, name);
        int current = 0;
        if (!InstrumentLookup::isPreferred(selected)) {
            current = combo->findData(selected);
            // An instrument the project no longer has stays the step's
            // choice until someone picks another.
            if (current < 0) {
                combo->addItem(selected, selected);
                current = combo->count() - 1;
            }
        }
        combo->setCurrentIndex(current);
    }
    enableOfferedTaps();
}

void SeqIOPinsDialog::fillLevels(qint32 level)
{
    QComboBox *combo = ui->levelComboBox;
    combo->clear();
    for (qint32 offered : OfferedLevels)
        combo->addItem(voltText(offered), offered);
    int current = combo->findData(level);
    if (current < 0) {
        // A level set elsewhere (an imported sequence, a newer pod) is kept
        // and shown in its place in the list.
        current = 0;
        while (current < combo->count() && combo->itemData(current).toInt() < level)
            ++current;
        combo->insertItem(current, voltText(level), level);
    }
    combo->setCurrentIndex(current);
}

void SeqIOPinsDialog::enableOfferedTaps()
{
    int offered = IoPinsOptions::TapCount;
    int index = -1;
    const QString instrument =
        InstrumentLookup::resolve(link, ui->instrumentComboBox->currentData().toString(), index);
    if (!instrument.isEmpty()) {
        if (HostService<HxiInstrumentEx> values(link, QStringLiteral("HxiInstrumentEx")); values) {
            bool ok = false;
            const int maxTaps =
                values->instrumentValue(instrument, QStringLiteral("MaxTaps.%1").arg(index))
                    .trimmed()
                    .toInt(&ok);
            if (ok)
                offered = qBound(1, maxTaps, int(IoPinsOptions::TapCount));
        }
    }
    // TAPs beyond what the instrument has keep their settings; they only
    // cannot be edited.
    for (int number = 1; number <= IoPinsOptions::TapCount; ++number)
        taps[size_t(number - 1)].group->setEnabled(number <= offered);
}

void SeqIOPinsDialog::enableTapFields(const TapWidgets &tap)
{
    const bool writes = tap.write->isChecked();
    const bool reads = tap.read->isChecked();
    const bool matches = reads && tap.match->isChecked();
    tap.writeControl->setEnabled(writes);
    tap.writeData->setEnabled(writes);
    // Match only means something for a TAP that reads; mask, data and
    // time-out only for one that waits for its pattern.
    tap.match->setEnabled(reads);
    tap.readMask->setEnabled(matches);
    tap.readData->setEnabled(matches);
    tap.timeout->setEnabled(matches);
}

IoPinsOptions SeqIOPinsDialog::commandOptions(QString &program, QString &address) const
{
    IoPinsOptions options = record;
    int index = -1;
    options.instrumentName = InstrumentLookup::resolve(link, record.instrumentName, index);
    if (options.instrumentName.isEmpty())
        return options;
    if (HostService<HxiInstrumentEx> values(link, QStringLiteral("HxiInstrumentEx")); values) {
        program = values->instrumentValue(options.instrumentName, QStringLiteral("ExecBcu"));
        address = values->instrumentValue(options.instrumentName, QStringLiteral("Address"));
    }
    return options;
}
