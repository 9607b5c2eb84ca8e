#pragma once

#include "hostlink.h"
#include "hxsequenceitem.h"

#include <QCoreApplication>
#include <QString>

class CIniFile;
class ImportValidator;
class QWidget;

// The import of a sequence list file as the user runs it: the file
// request, the log lines, the progress dialog (only when a person is there
// to see it) and the items that pass validation. Replacing the sequence's
// items and reloading its window are the caller's.
class SequenceListImport
{
    Q_DECLARE_TR_FUNCTIONS(SequenceListImport)

public:
    struct Result
    {
        enum class Outcome { Read, Cancelled, Unreadable };

        Outcome outcome = Outcome::Read;
        HxSequenceItemList items;   // the items that passed, in file order
        int listed = 0;             // the items the file's SEQUENCE section lists
    };

    SequenceListImport(const HostLink &link, QWidget *parent) : link(link), parent(parent) {}

    // Asks for the file, starting in "<project>/Sequences"; empty when none
    // was chosen.
    QString chooseFile(const QString &projectDirectory) const;

    // The "started..." and "finished" lines of the log.
    void announce(const QString &sequenceTitle, const QString &fileName) const;
    void finish(const QString &sequenceTitle, const QString &fileName) const;

    // Reads the file and checks every item it lists. A file that cannot be
    // read, lists no items or has none that passes is reported in a warning
    // box and gives no items: the sequence is better left as it is than
    // emptied by a mistyped name.
    Result read(const QString &sequenceTitle, const QString &fileName) const;

    // The items of a loaded document that pass `validator`, without any
    // dialog: what read() does between its progress steps.
    static HxSequenceItemList validItems(const CIniFile &document, ImportValidator &validator);

private:
    Result refuse(const QString &sequenceTitle, const QString &fileName, const QString &reason) const;

    HostLink link;
    QWidget *parent;
};
