#pragma once

#include "hxiprompt.h"
#include "serviceobject.h"

#include <QList>
#include <QStringList>

// A prompt service that records what the plug-in asked and answers from a
// script: the queued answers first, the default button after that.
class ScriptedPrompt final : public ServiceObject<VemoInterface::HxiPrompt>
{
public:
    struct Question
    {
        int icon;
        QString caption;
        QString text;
        QStringList buttons;
    };

    ScriptedPrompt() : ServiceObject(QStringLiteral("HxiPrompt")) {}

    int message(int icon, const QString &caption, const QString &text, const QStringList &buttons,
                int defaultButton) override
    {
        asked.append({icon, caption, text, buttons});
        return answers.isEmpty() ? defaultButton : answers.takeFirst();
    }
    QString fileName(bool, const QString &caption, const QString &, const QString &) override
    {
        asked.append({VemoInterface::HxiPrompt::Question, caption, QString(), {}});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }

    QList<Question> asked;
    QList<int> answers;
    QStringList fileNames;

    QStringList texts() const
    {
        QStringList result;
        for (const Question &question : asked)
            result.append(question.text);
        return result;
    }
};
