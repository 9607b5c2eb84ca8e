#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The sequencer's message dialog: a text on a coloured background with one
// button (a status banner or a pause message) or two (a pause question).
// exec() gives 0 for the first button, 1 for the second and 66000 when the
// runner closes it because nobody answered in time.
class StatusDlg : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Banner = 0, Message = 1, Question = 2 };
    static constexpr int TimedOut = 66000;

    StatusDlg(Mode mode, const QString &caption, const QString &text, const QString &colour,
              QWidget *parent = nullptr);

    Mode mode() const { return dialogMode; }
    // A question gives the focus to "No" when `noIsDefault`, else to "Yes".
    void setDefaultAnswer(bool noIsDefault);
    // Presses the first button, as the operator would.
    void pressButton();
    QString text() const;

private:
    Mode dialogMode;
    QLabel *label;
    QPushButton *firstButton;
    QPushButton *secondButton = nullptr;
};
