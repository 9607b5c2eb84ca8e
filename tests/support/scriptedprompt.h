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

    // One answer of the sequence title dialog; a null text keeps the
    // proposal.
    struct TitleAnswer
    {
        bool accept = true;
        QString title;
        QString description;
        QString instrument;
    };
    struct TitleRequest
    {
        int mode;
        QString title;
        QString description;
    };

    bool sequenceTitle(int mode, QString &title, QString &description,
                       QString &instrument) override
    {
        titleRequests.append({mode, title, description});
        const TitleAnswer answer = titleAnswers.isEmpty() ? TitleAnswer() : titleAnswers.takeFirst();
        if (!answer.title.isNull())
            title = answer.title;
        if (!answer.description.isNull())
            description = answer.description;
        instrument = answer.instrument.isNull() ? QStringLiteral("Preferred") : answer.instrument;
        return answer.accept;
    }

    // One answer of the unit identification; a null text keeps the proposal.
    struct UnitAnswer
    {
        bool accept = true;
        QString serialNumber;
        QString folder;
    };
    struct UnitRequest
    {
        QString caption;
        QString serialNumber;
        QString folder;
    };

    bool unitIdentification(const QString &caption, QString &serialNumber, QString &folder) override
    {
        unitRequests.append({caption, serialNumber, folder});
        const UnitAnswer answer = unitAnswers.isEmpty() ? UnitAnswer() : unitAnswers.takeFirst();
        if (!answer.serialNumber.isNull())
            serialNumber = answer.serialNumber;
        if (!answer.folder.isNull())
            folder = answer.folder;
        return answer.accept;
    }

    QList<UnitAnswer> unitAnswers;
    QList<UnitRequest> unitRequests;
    QList<Question> asked;
    QList<int> answers;
    QStringList fileNames;
    QList<TitleAnswer> titleAnswers;
    QList<TitleRequest> titleRequests;

    QStringList texts() const
    {
        QStringList result;
        for (const Question &question : asked)
            result.append(question.text);
        return result;
    }
};
