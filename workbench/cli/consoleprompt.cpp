#include "consoleprompt.h"

namespace {

QString iconWord(int icon)
{
    switch (icon) {
    case VemoInterface::HxiPrompt::Warning:
        return QStringLiteral("warning");
    case VemoInterface::HxiPrompt::Critical:
        return QStringLiteral("error");
    case VemoInterface::HxiPrompt::Question:
        return QStringLiteral("question");
    default:
        return QStringLiteral("note");
    }
}

} // namespace

int ConsolePrompt::message(int icon, const QString &caption, const QString &text,
                           const QStringList &buttons, int defaultButton)
{
    shownCaptions.append(caption);
    const int answer = answers.value(caption, defaultButton);
    err << "seqrun: " << iconWord(icon) << ": " << caption << ": "
        << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (buttons.size() > 1 && answer >= 0 && answer < buttons.size())
        err << " [answered: " << QString(buttons.at(answer)).remove(QLatin1Char('&')) << "]";
    else if (answer < 0)
        err << " [not answered: the time-out runs out]";
    err << Qt::endl;
    return answer;
}

QString ConsolePrompt::fileName(bool, const QString &, const QString &, const QString &)
{
    return std::exchange(fileAnswer, QString());
}

bool ConsolePrompt::sequenceTitle(int, QString &title, QString &, QString &instrument)
{
    if (!titleAnswer.isEmpty())
        title = titleAnswer;
    instrument = instrumentAnswer.isEmpty() ? QStringLiteral("Preferred") : instrumentAnswer;
    lastTitle = title.trimmed();
    return !lastTitle.isEmpty();
}
