#pragma once

#include "hxiprompt.h"
#include "serviceobject.h"

#include <QMap>
#include <QStringList>
#include <QTextStream>

// The prompt of the command-line host: every message is printed on standard
// error and answered with its default (or with the answer the command set
// for its caption), so a run never waits for a person.
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

    // the file name answered to the next file request
    void setFileAnswer(const QString &fileName) { fileAnswer = fileName; }
    // the button answered to every message with this caption
    void setAnswer(const QString &caption, int button) { answers.insert(caption, button); }
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
    QTextStream err;
    QString fileAnswer;
    QMap<QString, int> answers;
    QString titleAnswer;
    QString instrumentAnswer;
    QString lastTitle;
    QStringList shownCaptions;
};
