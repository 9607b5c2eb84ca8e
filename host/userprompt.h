#pragma once

#include "hostlink.h"

#include <QStringList>

#include <functional>

class QWidget;

// Every message box and file request of the plug-in. Goes to the host's
// "HxiPrompt" service when the host offers one and shows the ordinary
// dialog otherwise, so the same code runs in front of an operator, in a
// command-line host and in tests.
class UserPrompt
{
public:
    explicit UserPrompt(const HostLink &link, QWidget *parent = nullptr)
        : link(link), parent(parent)
    {
    }

    // Whether the host answers prompts itself (nobody sits in front of the
    // ordinary dialogs).
    bool hostAnswers() const;

    void information(const QString &caption, const QString &text) const;
    void warning(const QString &caption, const QString &text) const;
    void critical(const QString &caption, const QString &text) const;
    // Yes/No question; true for Yes
    bool question(const QString &caption, const QString &text, bool defaultYes = true) const;
    // any set of buttons; the index of the chosen one, -1 when none was chosen
    int ask(int icon, const QString &caption, const QString &text, const QStringList &buttons,
            int defaultButton) const;

    QString openFileName(const QString &caption, const QString &startFolder,
                         const QString &filter) const;
    QString saveFileName(const QString &caption, const QString &startFolder,
                         const QString &filter) const;

    // The sequence title dialog, shown by the caller's own code: it gets the
    // parent, the mode, the titles already taken and the proposals, and
    // returns false when cancelled.
    using SequenceTitleDialog =
        std::function<bool(QWidget *parent, int mode, const QStringList &existingTitles,
                           QString &title, QString &description, QString &instrument)>;
    // Asks for a sequence's title, description and (mode 2) instrument
    // choice: the host answers when it offers a prompt; otherwise `dialog`
    // is shown, or, without one, a plain text request for the title. The
    // proposals come in through the references and the answers go out
    // through them; false when cancelled or when the title is empty.
    bool sequenceTitle(int mode, const QStringList &existingTitles, QString &title,
                       QString &description, QString &instrument,
                       const SequenceTitleDialog &dialog = {}) const;

private:
    QString fileName(bool forSaving, const QString &caption, const QString &startFolder,
                     const QString &filter) const;

    HostLink link;
    QWidget *parent;
};
