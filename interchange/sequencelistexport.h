#pragma once

#include "hostlink.h"
#include "hxsequenceitem.h"

#include <QCoreApplication>
#include <QString>

class HxSequence;
class QWidget;

// The export of a sequence to a sequence list file as the user runs it:
// the file request, the overwrite question, the log lines, the progress
// dialog (only when a person is there to see it) and the closing box.
class SequenceListExport
{
    Q_DECLARE_TR_FUNCTIONS(SequenceListExport)

public:
    enum class Result { Written, Cancelled, Failed };

    SequenceListExport(const HostLink &link, QWidget *parent) : link(link), parent(parent) {}

    // Asks for the file, starting at "<project>/Sequences/<title>.seql";
    // the answer gets ".seql" unless it ends so in any letter case. An
    // existing file is only taken when the person agrees to overwrite it.
    // Empty when no file was chosen or the overwrite was declined.
    QString chooseFile(const QString &sequenceTitle, const QString &projectDirectory) const;

    // Writes the sequence's items to `fileName` in one go at the end, so a
    // cancelled export leaves an existing file as it was. Failed when the
    // file cannot be written.
    Result write(const HxSequence &sequence, const QString &fileName) const;

    static QString withExtension(const QString &fileName);

    static inline const QString Extension = QStringLiteral(".seql");

private:
    // A warning per I/O-pin step whose pin patterns the file cannot keep.
    void warnOfLostPinPatterns(const QString &title, const HxSequenceItemList &items) const;

    HostLink link;
    QWidget *parent;
};
