#include "userprompt.h"

#include "hostservice.h"
#include "hxiprompt.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

using namespace VemoInterface;

namespace {

QMessageBox::Icon messageBoxIcon(int icon)
{
    switch (icon) {
    case HxiPrompt::Warning:
        return QMessageBox::Warning;
    case HxiPrompt::Critical:
        return QMessageBox::Critical;
    case HxiPrompt::Question:
        return QMessageBox::Question;
    default:
        return QMessageBox::Information;
    }
}

} // namespace

bool UserPrompt::hostAnswers() const
{
    HostService<HxiPrompt> prompt(link, QStringLiteral("HxiPrompt"));
    return static_cast<bool>(prompt);
}

void UserPrompt::information(const QString &caption, const QString &text) const
{
    ask(HxiPrompt::Information, caption, text, {QObject::tr("OK")}, 0);
}

void UserPrompt::warning(const QString &caption, const QString &text) const
{
    ask(HxiPrompt::Warning, caption, text, {QObject::tr("OK")}, 0);
}

void UserPrompt::critical(const QString &caption, const QString &text) const
{
    ask(HxiPrompt::Critical, caption, text, {QObject::tr("OK")}, 0);
}

bool UserPrompt::question(const QString &caption, const QString &text, bool defaultYes) const
{
    return ask(HxiPrompt::Question, caption, text, {QObject::tr("&Yes"), QObject::tr("&No")},
               defaultYes ? 0 : 1)
           == 0;
}

int UserPrompt::ask(int icon, const QString &caption, const QString &text,
                    const QStringList &buttons, int defaultButton) const
{
    HostService<HxiPrompt> prompt(link, QStringLiteral("HxiPrompt"));
    if (prompt)
        return prompt->message(icon, caption, text, buttons, defaultButton);

    QMessageBox box(messageBoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> added;
    for (const QString &label : buttons)
        added.append(box.addButton(label, QMessageBox::AcceptRole));
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(static_cast<QPushButton *>(added.at(defaultButton)));
    box.exec();
    return added.indexOf(box.clickedButton());
}

QString UserPrompt::openFileName(const QString &caption, const QString &startFolder,
                                 const QString &filter) const
{
    return fileName(false, caption, startFolder, filter);
}

QString UserPrompt::saveFileName(const QString &caption, const QString &startFolder,
                                 const QString &filter) const
{
    return fileName(true, caption, startFolder, filter);
}

QString UserPrompt::fileName(bool forSaving, const QString &caption, const QString &startFolder,
                             const QString &filter) const
{
    HostService<HxiPrompt> prompt(link, QStringLiteral("HxiPrompt"));
    if (prompt)
        return prompt->fileName(forSaving, caption, startFolder, filter);
    return forSaving ? QFileDialog::getSaveFileName(parent, caption, startFolder, filter)
                     : QFileDialog::getOpenFileName(parent, caption, startFolder, filter);
}

bool UserPrompt::sequenceTitle(int mode, const QStringList &existingTitles, QString &title,
                               QString &description, QString &instrument,
                               const SequenceTitleDialog &dialog) const
{
    QString answeredTitle = title;
    QString answeredDescription = description;
    QString answeredInstrument = instrument;
    bool accepted = false;
    if (HostService<HxiPrompt> prompt(link, QStringLiteral("HxiPrompt")); prompt) {
        accepted = prompt->sequenceTitle(mode, answeredTitle, answeredDescription,
                                         answeredInstrument);
    } else if (dialog) {
        accepted = dialog(parent, mode, existingTitles, answeredTitle, answeredDescription,
                          answeredInstrument);
    } else {
        answeredTitle = QInputDialog::getText(parent, QObject::tr("New Sequence"),
                                              QObject::tr("Title:"), QLineEdit::Normal, title,
                                              &accepted);
        if (answeredInstrument.isEmpty())
            answeredInstrument = QStringLiteral("Preferred");
    }
    // Whoever answered, a blank title names nothing.
    if (!accepted || answeredTitle.trimmed().isEmpty())
        return false;
    title = answeredTitle;
    description = answeredDescription;
    instrument = answeredInstrument;
    return true;
}
