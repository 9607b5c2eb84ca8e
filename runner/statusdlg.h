#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The sequencer's message dialog: a text on a coloured background with one
// button (a status banner or a pause message) or two (a pause question).
// exec() gives 0 for the first button ("Yes"), 1 for the second ("No") and
// 66000 when nobody answered in time. The time-out belongs to the dialog: it
// dies with it and can never close a later one.
class StatusDlg : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Banner = 0, Message = 1, Question = 2 };
    enum Answer { Yes = 0, No = 1 };
    static constexpr int TimedOut = 66000;

    StatusDlg(Mode mode, const QString &caption, const QString &text, const QString &colour,
              QWidget *parent = nullptr);

    Mode mode() const { return dialogMode; }
    // A question gives the focus to "No" when `noIsDefault`, else to "Yes".
    void setDefaultAnswer(bool noIsDefault);
    // Presses the first button, as the operator would.
    void pressButton();
    // After `ms` a question ends as timed out; a message or banner is confirmed.
    void closeAfter(int ms);
    // What the time-out does when it runs out.
    void closeForTimeOut();
    QString text() const;

private:
    Mode dialogMode;
    QLabel *label;
    QPushButton *firstButton;
    QPushButton *secondButton = nullptr;
};
