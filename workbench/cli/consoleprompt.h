#pragma once

#include "hxiprompt.h"
#include "serviceobject.h"

#include <QTextStream>

// The prompt of the command-line host: every message is printed on standard
// error and answered with its default, so a run never waits for a person.
class ConsolePrompt final : public ServiceObject<VemoInterface::HxiPrompt>
{
public:
    ConsolePrompt() : ServiceObject(QStringLiteral("HxiPrompt")), err(stderr) {}

    int message(int icon, const QString &caption, const QString &text, const QStringList &buttons,
                int defaultButton) override;
    QString fileName(bool forSaving, const QString &caption, const QString &startFolder,
                     const QString &filter) override;

    // the file name answered to the next file request
    void setFileAnswer(const QString &fileName) { fileAnswer = fileName; }

private:
    QTextStream err;
    QString fileAnswer;
};
