#pragma once

#include "sequencecommand.h"

#include <QList>
#include <QString>

class HostLink;

// The system commands a user may drop into a sequence, kept in an XML file
// beside the host's plug-ins. A missing or damaged file is an empty
// catalogue; the next save creates it.
class SequenceCommandCatalogue
{
public:
    // "<start-up path>/plugins/ORVSequencerCommands.xml", or the path
    // relative to the working folder when the host names no start-up path.
    static QString filePath(const HostLink &link);

    void load(const QString &path);
    // Writes the whole catalogue atomically; false when it could not be
    // written (the old file then stays as it was).
    [[nodiscard]] bool save(const QString &path) const;

    const QList<SequenceCommand> &commands() const { return list; }
    // the command called exactly `name`; null when there is none
    const SequenceCommand *find(const QString &name) const;
    void add(const SequenceCommand &command) { list.append(command); }
    // Takes the entry of the command's name out and appends the command.
    void replace(const SequenceCommand &command);
    void remove(const QString &name);

private:
    QList<SequenceCommand> list;
};
