#pragma once

#include "hostlink.h"

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class SequenceTitleForm;
}

// Asks for a sequence's title and description when a sequence is created,
// created from a legacy sequence file, renamed or given new properties; for
// a legacy file also where the instrument settings come from. OK stays
// disabled while the title is blank or taken by another sequence.
class SequenceTitleDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode : int {
        NewSequence = 1,
        NewFromLegacyFile = 2,
        Rename = 3,
        Properties = 4,
    };

    explicit SequenceTitleDialog(const HostLink &link, QWidget *parent = nullptr);
    ~SequenceTitleDialog() override;

    // Prepares the dialog for one use: captions, which widgets show, the
    // instrument list (mode 2), the fields, and the title check.
    void setup(const QStringList &existingTitles, const QString &title, const QString &description,
               int mode);

    int mode() const { return currentMode; }
    QString title() const;
    QString description() const;
    // "Preferred" while "From Preferred Instrument Settings" is chosen (or
    // there is no instrument to name), else the instrument shown.
    QString instrumentChoice() const;

    // The whole request through the host's prompt when it answers prompts,
    // else through this dialog.
    static bool ask(const HostLink &link, QWidget *parent, int mode,
                    const QStringList &existingTitles, QString &title, QString &description,
                    QString &instrument);

    // Shows or hides the instrument list as the radio button asks; wired to
    // "From Preferred Instrument Settings".
    void on_preferredInstrumentComboBox_toggled(bool on);

    // Refuses a title that cannot name a sequence's folder, with a warning
    // that names the rule; the dialog then stays open.
    void accept() override;

public Q_SLOTS:
    void on_titleLineEdit_textChanged(const QString &text);
    void on_sqcFileRadioButton_toggled(bool on);

private:
    void showInstrumentList(bool visible);

    std::unique_ptr<Ui::SequenceTitleForm> ui;
    HostLink link;
    int currentMode = NewSequence;
    QStringList existing;
    QString startingTitle;
};
