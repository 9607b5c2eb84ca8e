#pragma once

#include "hxiunknown.h"

#include <QString>
#include <QStringList>

namespace VemoInterface {

// The one seam through which the plug-in asks a person something. A host
// that offers it answers every message box and file request itself (a
// command-line host answers from its arguments, a test from its script);
// without it the plug-in shows the ordinary dialogs.
class HxiPrompt : public HxiUnknown
{
public:
    enum Icon { Information = 0, Warning = 1, Critical = 2, Question = 3 };

    // slot 3: show `text` under `caption` with `buttons` (their texts);
    // returns the index of the button chosen, `defaultButton` when the
    // person just confirms, -1 when the box was closed without a choice
    virtual int message(int icon, const QString &caption, const QString &text,
                        const QStringList &buttons, int defaultButton) = 0;
    // slot 4: a file to open (`forSaving` false) or to write; empty when cancelled
    virtual QString fileName(bool forSaving, const QString &caption, const QString &startFolder,
                             const QString &filter) = 0;
    // slot 5: the sequence title dialog (mode 1 new, 2 new from a legacy
    // sequence file, 3 rename, 4 properties). `title` and `description` come
    // in as proposed and go out as answered; in mode 2 `instrument` goes out
    // as "Preferred" or the name of an instrument. False when cancelled.
    // A host that does not answer it keeps the proposals.
    virtual bool sequenceTitle(int mode, QString &title, QString &description,
                               QString &instrument)
    {
        Q_UNUSED(mode);
        Q_UNUSED(title);
        Q_UNUSED(description);
        if (instrument.isEmpty())
            instrument = QStringLiteral("Preferred");
        return true;
    }
    // slot 6: identify a unit under test. `caption` names the POD TAPs the
    // unit is tested on ("Unit Identification - POD TAPs: 1+3");
    // `serialNumber` and `folder` come in as proposed and go out as
    // answered. False when the unit is refused, which ends the run. A host
    // that does not answer it keeps the proposals.
    virtual bool unitIdentification(const QString &caption, QString &serialNumber,
                                     QString &folder)
    {
        Q_UNUSED(caption);
        Q_UNUSED(serialNumber);
        Q_UNUSED(folder);
        return true;
    }

protected:
    ~HxiPrompt() = default;
};

} // namespace VemoInterface
