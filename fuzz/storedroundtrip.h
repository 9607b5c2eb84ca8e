#pragma once

#include "hostlink.h"
#include "hxprojectversion.h"
#include "hxreportlist.h"
#include "hxsequence.h"
#include "hxsequencelist.h"
#include "orderedxmlwriter.h"
#include "sequencedocument.h"

#include <QDomDocument>

#include <cstdlib>

// What a reader let in is stored the way a project stores it: the sequence
// document is written as XML text and read back. The writer must never
// refuse it (a project that cannot be saved is as lost as one that cannot be
// read), and the text must read back to the same sequences and steps.
inline void storeAndReadBack(const HxSequenceList &sequences)
{
    HxSequenceList copy;
    for (const HxSequence *sequence : sequences)
        copy.append(new HxSequence(*sequence));
    HxReportList reports;

    QDomDocument written;
    QDomElement root = written.createElement(QStringLiteral("plugin"));
    written.appendChild(root);
    SequenceDocument(HostLink(), copy, reports).save(root);
    QByteArray bytes;
    QString problem;
    if (!OrderedXmlWriter::toByteArray(root, bytes, problem))
        std::abort();

    QDomDocument read;
    if (!read.setContent(bytes))
        std::abort();
    HxSequenceList again;
    HxReportList againReports;
    VemoDatabase::HxProjectVersion version;
    SequenceDocument(HostLink(), again, againReports).load(read.documentElement(), version);
    if (again.titles() != sequences.titles())
        std::abort();
    for (int i = 0; i < again.count(); ++i) {
        if (again.at(i)->items().size() != sequences.at(i)->items().size())
            std::abort();
    }
}
