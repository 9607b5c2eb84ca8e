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
    err << "seqrun: " << iconWord(icon) << ": " << caption << ": "
        << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // A pause message waits for the operator, who confirms it; every other
    // one-button message is only a note in a command-line run.
    const bool pauseMessage = caption == QLatin1String("Sequence Item");
    if (operatorInput && !answers.contains(caption) && (buttons.size() > 1 || pauseMessage)) {
        err << Qt::endl;
        return askOperator(caption, buttons, defaultButton);
    }
    const int answer = answers.value(caption, defaultButton);
    if (buttons.size() > 1 && answer >= 0 && answer < buttons.size())
        err << " [answered: " << QString(buttons.at(answer)).remove(QLatin1Char('&')) << "]";
    else if (answer < 0)
        err << " [not answered: the time-out runs out]";
    err << Qt::endl;
    return answer;
}

int ConsolePrompt::askOperator(const QString &caption, const QStringList &buttons, int defaultButton)
{
    Q_UNUSED(caption);
    if (buttons.size() <= 1) {
        err << "seqrun: press Enter to go on: " << Qt::flush;
        return readOperatorLine().isNull() ? -1 : 0;
    }
    QStringList choices;
    for (const QString &button : buttons)
        choices.append(QString(button).remove(QLatin1Char('&')));
    for (;;) {
        err << "seqrun: " << choices.join(QLatin1Char('/')) << " [" << choices.value(defaultButton)
            << "]: " << Qt::flush;
        const QString line = readOperatorLine();
        if (line.isNull())
            return -1;   // end of input: nobody answers, as when the time-out runs out
        const QString typed = line.trimmed();
        if (typed.isEmpty())
            return defaultButton;
        for (qsizetype i = 0; i < choices.size(); ++i) {
            if (choices.at(i).startsWith(typed, Qt::CaseInsensitive))
                return int(i);
        }
        err << "seqrun: please type one of " << choices.join(QStringLiteral(", ")) << Qt::endl;
    }
}

QString ConsolePrompt::readOperatorLine()
{
    char buffer[1024];
    if (!operatorInput || !std::fgets(buffer, sizeof buffer, operatorInput))
        return QString();
    QString line = QString::fromLocal8Bit(buffer);
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line.isNull() ? QStringLiteral("") : line;
}

bool ConsolePrompt::unitIdentification(const QString &caption, QString &serialNumber,
                                       QString &folder)
{
    shownCaptions.append(caption);
    err << "seqrun: unit: " << caption << ": S/N " << serialNumber << ", folder " << folder;
    if (unitsIdentified++ == 0 && (!firstSerialNumber.isEmpty() || !firstFolder.isEmpty())) {
        // Only what the command gave is answered: a folder that follows the
        // serial number follows the answered one.
        QStringList answered;
        if (!firstSerialNumber.isEmpty()) {
            serialNumber = firstSerialNumber;
            answered.append(QStringLiteral("S/N ") + serialNumber);
        }
        if (!firstFolder.isEmpty()) {
            folder = firstFolder;
            answered.append(QStringLiteral("folder ") + folder);
        }
        err << " [answered: " << answered.join(QStringLiteral(", ")) << "]" << Qt::endl;
        return true;
    }
    if (!operatorInput) {
        err << Qt::endl;
        return true;
    }
    err << Qt::endl << "seqrun: S/N [" << serialNumber << "]: " << Qt::flush;
    const QString serialLine = readOperatorLine();
    if (serialLine.isNull())
        return false;   // end of input refuses the unit
    if (!serialLine.trimmed().isEmpty())
        serialNumber = serialLine.trimmed();
    err << "seqrun: folder [" << folder << "]: " << Qt::flush;
    const QString folderLine = readOperatorLine();
    if (folderLine.isNull())
        return false;
    if (!folderLine.trimmed().isEmpty())
        folder = folderLine.trimmed();
    return true;
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
