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
    err << "seqrun: " << iconWord(icon) << ": " << caption << ": "
        << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (buttons.size() > 1 && defaultButton >= 0 && defaultButton < buttons.size())
        err << " [answered: " << QString(buttons.at(defaultButton)).remove(QLatin1Char('&')) << "]";
    err << Qt::endl;
    return defaultButton;
}

QString ConsolePrompt::fileName(bool, const QString &, const QString &, const QString &)
{
    return std::exchange(fileAnswer, QString());
}
