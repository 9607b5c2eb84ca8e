#pragma once

#include "hostlink.h"

#include <QDialog>

#include <memory>

class HxSequence;

namespace Ui {
class UnitIdentificationForm;
}

// Gives each unit under test its serial number and the name of its results
// subfolder. The test engineer sets up once how both move on from unit to
// unit (counting up on their own, or adjusted by hand with "<<" and ">>")
// and whether the operator is asked for every unit; the runner then asks
// through this dialog at the start of each unit.
class UnitIdentificationDialog : public QDialog
{
    Q_OBJECT

public:
    // Setup: the engineer may change every option. Unit: the operator
    // identifies one unit; only the texts can be changed.
    enum class Mode { Setup, Unit };

    // The options as a sequence stores them, with the mask and the texts
    // last confirmed.
    struct Options
    {
        QString serialNumber;
        bool serialAutoIncrement = false;
        bool serialManualAdjust = false;
        bool autoPrompt = false;
        QString mask;
        QString folderName;
        bool subDirAutoIncrement = false;
        bool subDirManualAdjust = false;
        bool subDirIsSerialNumber = false;

        bool operator==(const Options &other) const = default;
    };

    explicit UnitIdentificationDialog(const HostLink &link, QWidget *parent = nullptr);
    ~UnitIdentificationDialog() override;

    void loadOptions(const HxSequence &sequence);
    // Writes the options and the mask; the serial number and folder texts
    // are the sequencer window's to store.
    void storeOptions(HxSequence &sequence) const;
    const Options &options() const { return stored; }
    void setOptions(const Options &options);

    // the texts as the dialog shows them now
    QString serialNumber() const;
    QString folderName() const;
    QString mask() const;
    void setSerialNumber(const QString &text);
    void setFolderName(const QString &text);
    void setMask(const QString &text);

    // Runs the dialog under `caption`. A host that answers prompts itself
    // gives the texts instead of a person; the options stay as they are.
    // True when confirmed; unitConfirmed() has then been sent.
    bool ask(Mode mode, const QString &caption);

Q_SIGNALS:
    // OK was pressed (or the host confirmed the unit): the window takes
    // over the texts.
    void unitConfirmed(const QString &serialNumber, const QString &folderName, const QString &mask);

public Q_SLOTS:
    void on_okButton_clicked();
    void on_cancelButton_clicked();
    void on_isSnCheckBox_toggled(bool on);
    void on_snLineEdit_textChanged(const QString &text);
    void on_maskLineEdit_textChanged(const QString &text);
    void on_snLeftPushButton_clicked();
    void on_snRightPushButton_clicked();
    void on_resultsSubDirLeftPushButton_clicked();
    void on_resultsSubDirRightPushButton_clicked();
    void on_resultsSubDirAutoIncrementRadioButton_toggled(bool on);
    void on_resultsSubDirManualAdjustRadioButton_toggled(bool on);
    void on_snAutoIncrementRadioButton_toggled(bool on);
    void on_snManualAdjustRadioButton_toggled(bool on);
    void on_nameLineEdit_textChanged(const QString &text);

private:
    void showOptions(const Options &options);
    Options shownOptions() const;
    void setOptionWidgetsEnabled(bool enabled);
    void updateAdjustButtons();
    bool askHost(const QString &caption);

    HostLink link;
    std::unique_ptr<Ui::UnitIdentificationForm> ui;
    Options stored;
    Mode currentMode = Mode::Setup;
};
