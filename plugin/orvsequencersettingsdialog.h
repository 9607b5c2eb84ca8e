#pragma once

#include "hostlink.h"
#include "hxisettingspage.h"
#include "sequencersettings.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace Ui {
class ORVSequencerSettingsForm;
}

// The sequencer's page in the host's settings dialog: where reports go,
// unit reports, and the global gang. It edits a working copy; the record
// changes only when the host applies its dialog.
class ORVSequencerSettingsDialog : public QDialog, public VemoInterface::HxiSettingsPage
{
    Q_OBJECT

public:
    ORVSequencerSettingsDialog(const HostLink &link, SequencerSettings *record, QWidget *parent = nullptr);
    ~ORVSequencerSettingsDialog() override;

    // Shows the record again (the gang list, the values, who may see gang).
    void fill();
    const SequencerSettings &workingCopy() const { return working; }

    // HxiSettingsPage
    void apply() override;
    void cancel() override;
    QWidget *widget() override { return this; }
    QPixmap icon() override;
    QString title() override;

public Q_SLOTS:
    void on_defaultButton_clicked();
    void on_pathBrowseButton_clicked();
    void on_pathRadioButton_toggled(bool checked);
    void on_gangCheckBox_toggled(bool checked);
    void on_gangComboBox_activated(int index);

private:
    void showWorkingCopy();
    void updateGangText();
    void addResultsGroup();

    HostLink link;
    SequencerSettings *record;
    SequencerSettings working;
    std::unique_ptr<Ui::ORVSequencerSettingsForm> ui;
    QCheckBox *resultFilesCheckBox = nullptr;
    QLineEdit *resultsServerLineEdit = nullptr;
    QSpinBox *redoLimitSpinBox = nullptr;
};
