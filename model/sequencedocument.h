#pragma once

#include "hostlink.h"

#include <QString>

#include <functional>

class HxReportList;
class HxSequence;
class HxSequenceList;
class QDomElement;

namespace VemoDatabase {
class HxProjectVersion;
}

// The sequences and stored reports of a project as XML inside the element
// the host keeps for the sequencer. Two spellings exist: format index 0
// uses long element and attribute names, index 1 two-letter names and a
// "version" attribute on the root.
class SequenceDocument
{
public:
    // Writes the legacy sequence file of a sequence beside the project;
    // called once per sequence on save, with the project folder and the
    // project text the host reports.
    using LegacyCopyWriter = std::function<void(const HxSequence &sequence,
                                                const QString &projectFolder,
                                                const QString &projectText)>;

    SequenceDocument(const HostLink &link, HxSequenceList &sequences, HxReportList &reports)
        : link(link), sequences(sequences), reports(reports)
    {
    }

    void setLegacyCopyWriter(LegacyCopyWriter writer) { legacyCopyWriter = std::move(writer); }

    // The host's format for saving: its version text, and the index in `index`.
    QString formatIndex(int &index) const;

    // Fills `root`. Steps get their "ItemNumber" parameter set to their number.
    void save(QDomElement &root);
    // Replaces the sequences and reports with those of `root`; `version`
    // keeps the format found.
    void load(const QDomElement &root, VemoDatabase::HxProjectVersion &version);

private:
    HostLink link;
    HxSequenceList &sequences;
    HxReportList &reports;
    LegacyCopyWriter legacyCopyWriter;
};
