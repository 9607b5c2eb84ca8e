#include "legacysequenceimport.h"
#include "sqcfile.h"
#include "storedroundtrip.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

// Feeds arbitrary bytes to the legacy sequence reader. Besides not crashing,
// whatever it accepts must survive the writer: the written file reads back,
// and writing that again gives the same bytes. Converted into a sequence, it
// must also be stored as a project stores it, as XML text read back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    SqcFile file;
    if (!file.readData(bytes)) {
        if (file.error() == SqcFile::NoError || !file.records().isEmpty())
            std::abort();
        return 0;
    }

    const QByteArray once = file.toData();
    SqcFile again;
    if (!again.readData(once) || again.records().size() != file.records().size())
        std::abort();
    if (again.toData() != once)
        std::abort();
    HxSequenceList stored;
    stored.append(LegacySequenceImport(HostLink(), QStringLiteral("Fuzz"), QStringLiteral("Preferred"))
                      .convert(file, QString())
                      .release());
    storeAndReadBack(stored);
    return 0;
}
