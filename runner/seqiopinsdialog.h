#pragma once

#include "hostlink.h"
#include "iopinscommandline.h"
#include "iopinsoptions.h"

#include <QDialog>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace Ui {
class SeqIOPinsForm;
}

// Edits the I/O-pin options of an instrument step and builds the controller
// command lines from them. The runner never shows it: it loads a step's
// parameters into a hidden dialog only to build the commands.
//
// The level list shows volts while the options keep tenths of a volt, so
// "1.8" is stored as 18; a stored level the list does not offer is added to
// it rather than lost. The threshold is edited in volts as well.
class SeqIOPinsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SeqIOPinsDialog(const HostLink &link, QWidget *parent = nullptr);
    ~SeqIOPinsDialog() override;

    // Reads the options from a step's parameters and shows them.
    void loadParameters(const QMap<QString, QString> &parameters);
    // Writes the options (as last accepted) into `parameters`, leaving every
    // other key alone.
    void storeParameters(QMap<QString, QString> &parameters) const;

    // The options as last loaded or accepted; what the widgets show only
    // counts once OK takes it.
    IoPinsOptions options() const { return record; }
    void setOptions(const IoPinsOptions &options);

    // The controller command for `operation` with the options, for the
    // instrument they name ("Preferred": the host's preferred instrument).
    // Empty without such an instrument or without a TAP for the operation.
    QString buildCommandLine(IoPinsOperation operation) const;
    // One command line per operation the options use, in the order they run.
    QStringList buildCommandLines() const;
    // What the read left in `folder`.
    IoPinsCommandLine::Results readResults(const QString &folder) const;

public Q_SLOTS:
    void accept() override;
    void reject() override;

private:
    struct TapWidgets
    {
        QGroupBox *group = nullptr;
        QCheckBox *write = nullptr;
        QCheckBox *read = nullptr;
        QCheckBox *match = nullptr;
        QLineEdit *writeControl = nullptr;
        QLineEdit *writeData = nullptr;
        QLineEdit *readMask = nullptr;
        QLineEdit *readData = nullptr;
        QSpinBox *timeout = nullptr;
    };

    void showOptions();
    IoPinsOptions editedOptions() const;
    void fillInstruments(const QString &selected);
    void fillLevels(qint32 level);
    void enableOfferedTaps();
    void enableTapFields(const TapWidgets &tap);
    // The options with the instrument resolved, and the instrument's program
    // and address; the name stays empty when there is no instrument.
    IoPinsOptions commandOptions(QString &program, QString &address) const;

    std::unique_ptr<Ui::SeqIOPinsForm> ui;
    HostLink link;
    IoPinsOptions record;
    std::array<TapWidgets, IoPinsOptions::TapCount> taps;
};
