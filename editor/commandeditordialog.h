#pragma once

#include "hostlink.h"
#include "sequencecommand.h"

#include <QDialog>

#include <memory>

class SequenceCommandCatalogue;

namespace Ui {
class CommandEditorForm;
}

// Edits one system command: a new catalogue entry, an existing one (whose
// name identifies it and stays locked), or the command of a single step,
// which leaves the catalogue alone.
class CommandEditorDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { EditEntry = 0, AddEntry = 1, EditStepCommand = 2 };

    // `catalogue` is changed and written by OK in the two catalogue modes.
    CommandEditorDialog(const HostLink &link, SequenceCommandCatalogue *catalogue,
                        QWidget *parent = nullptr);
    ~CommandEditorDialog() override;

    void setMode(int mode);
    int mode() const { return editorMode; }
    void load(const SequenceCommand &command);
    // The command as the widgets describe it.
    SequenceCommand command() const;

public Q_SLOTS:
    void on_okButton_clicked();
    void on_commandBrowseButton_clicked();
    void on_dirBrowseButton_clicked();
    void on_nameLineEdit_textChanged(const QString &name);
    void on_launchDesignDirCheckBox_toggled(bool on);

private:
    std::unique_ptr<Ui::CommandEditorForm> ui;
    HostLink link;
    SequenceCommandCatalogue *catalogue;
    int editorMode = AddEntry;
};
