// Feeds arbitrary bytes to the sequence document loader the way a project
// file would reach it, then writes what was loaded and reads it again: the
// second load must find the same sequences, also when the document went
// through XML text the way a project file stores it.
#include "hxprojectversion.h"
#include "hxreportlist.h"
#include "hxsequence.h"
#include "hxsequencelist.h"
#include "sequencedocument.h"
#include "storedroundtrip.h"

#include <QDomDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QDomDocument source;
    if (!source.setContent(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))))
        return 0;

    HxSequenceList sequences;
    HxReportList reports;
    VemoDatabase::HxProjectVersion version;
    SequenceDocument document(HostLink(), sequences, reports);
    document.load(source.documentElement(), version);

    QDomDocument written;
    QDomElement root = written.createElement(QStringLiteral("plugin"));
    written.appendChild(root);
    document.save(root);

    HxSequenceList again;
    HxReportList againReports;
    SequenceDocument(HostLink(), again, againReports).load(root, version);
    if (again.titles() != sequences.titles() || againReports.count() != reports.count())
        std::abort();
    storeAndReadBack(sequences);
    return 0;
}
