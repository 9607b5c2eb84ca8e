#pragma once

#include "hostlink.h"

#include <QString>

#include <functional>

class HxReportList;
class HxSequence;
class HxSequenceList;
class QDomElement;
class QXmlStreamReader;
class QXmlStreamWriter;

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
    // The same content written into the open start tag of the root element
    // (its attributes, then its children), giving the bytes the host's
    // ordered writer gives for the DOM of `save(QDomElement &)`. False, with
    // `problem` naming the first element and attribute, when a text holds a
    // character XML cannot carry.
    bool save(QXmlStreamWriter &stream, QString &problem);
    // Replaces the sequences and reports with those of `root`; `version`
    // keeps the format found.
    void load(const QDomElement &root, VemoDatabase::HxProjectVersion &version);
    // The same from a stream standing on the root's start tag; reads up to
    // and including its end tag.
    void load(QXmlStreamReader &reader, VemoDatabase::HxProjectVersion &version);

private:
    // Takes in the stored format and empties the lists; the format index.
    int startLoad(const QString &versionText, VemoDatabase::HxProjectVersion &version);
    bool convertsImages() const;

    HostLink link;
    HxSequenceList &sequences;
    HxReportList &reports;
    LegacyCopyWriter legacyCopyWriter;
};
