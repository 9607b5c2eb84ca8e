#pragma once

#include "hxiprompt.h"
#include "serviceobject.h"

#include <QMap>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

// The prompt of the command-line host: every message is printed on standard
// error and answered with its default (or with the answer the command set
// for its caption), so a run never waits for a person. At a terminal it can
// instead ask the operator: pause questions and messages and the unit
// identification then wait for an answer typed on standard input.
class ConsolePrompt final : public ServiceObject<VemoInterface::HxiPrompt>
{
public:
    ConsolePrompt() : ServiceObject(QStringLiteral("HxiPrompt")), err(stderr) {}

    int message(int icon, const QString &caption, const QString &text, const QStringList &buttons,
                int defaultButton) override;
    QString fileName(bool forSaving, const QString &caption, const QString &startFolder,
                     const QString &filter) override;
    // The title the command gave (the proposal when it gave none), the
    // description as proposed, the instrument the command gave ("Preferred"
    // when none). Declined when the title would be blank.
    bool sequenceTitle(int mode, QString &title, QString &description,
                       QString &instrument) override;
    // The proposals, or for the first unit the texts the command gave, or
    // what the operator types at a terminal.
    bool unitIdentification(const QString &caption, QString &serialNumber,
                            QString &folder) override;

    // the file name answered to the next file request
    void setFileAnswer(const QString &fileName) { fileAnswer = fileName; }
    // the button answered to every message with this caption
    void setAnswer(const QString &caption, int button) { answers.insert(caption, button); }
    // the serial number and folder answered for the first unit; an empty
    // text keeps the proposal
    void setFirstUnitAnswer(const QString &serialNumber, const QString &folder)
    {
        firstSerialNumber = serialNumber;
        firstFolder = folder;
    }
    // Questions without an answer set by the command, pause messages and
    // units are asked on `input` (a terminal) rather than answered with
    // their defaults.
    void setOperatorInput(FILE *input) { operatorInput = input; }
    void setSequenceTitleAnswer(const QString &title, const QString &instrument)
    {
        titleAnswer = title;
        instrumentAnswer = instrument;
    }

    // the captions of the messages shown so far, in order
    const QStringList &captions() const { return shownCaptions; }
    // the title the last title request was answered with
    QString answeredTitle() const { return lastTitle; }

private:
    int askOperator(const QString &caption, const QStringList &buttons, int defaultButton);
    // one line typed by the operator; null at the end of the input
    QString readOperatorLine();

    QTextStream err;
    FILE *operatorInput = nullptr;
    QString firstSerialNumber;
    QString firstFolder;
    int unitsIdentified = 0;
    QString fileAnswer;
    QMap<QString, int> answers;
    QString titleAnswer;
    QString instrumentAnswer;
    QString lastTitle;
    QStringList shownCaptions;
};
