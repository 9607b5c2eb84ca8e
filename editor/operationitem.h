#pragma once

#include "sequenceelementitem.h"

// A control, report or instrument step: PAUSE, LABEL, IF, ELSE, ELIF,
// ENDIF, GOTO, Print, Export, Reset or the I/O-pins step.
class OperationItem : public SequenceElementItem
{
public:
    // `kind` is a ControlOperation code.
    explicit OperationItem(int kind = 0);

    int operationKind() const override { return kind; }
    int itemType() const override;
    // A pause question that nobody answered in time shows like an error.
    QColor statusColour(const QString &statusText) const override;
    void assignStoredItem(const HxSequenceItem &stored) override;

    // Flow-control and message steps (PAUSE to GOTO), as opposed to the
    // report and instrument steps, which run like applications.
    bool isControlKind() const;

    // Fills the Property and Item columns and the pause fields the way the
    // pause dialog's answers are kept.
    void setPause(const QString &message, int timeOutMs, const QString &soundFile,
                  int defaultAnswer, bool answerNoIsPass, bool countsForSequence);

    // The image shown in the Type column of a step of `kind`; empty for
    // the unused kinds.
    static QString iconName(int kind);
    // The kind the operations palette entry `paletteName` creates; the
    // operation keywords are accepted as well. -1 for anything else.
    static int kindForPaletteName(const QString &paletteName);
    // The Property column text of a pause: line breaks shown as " || ",
    // long messages cut to their first 20 characters and "...".
    static QString pauseMessageSummary(const QString &message);
    // The Property column text for a chosen instrument: every entry that
    // stands for the preferred instrument is kept as just "Preferred".
    static QString instrumentText(const QString &chosenInstrument);

    int kind = 0;
};
