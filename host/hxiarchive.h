#pragma once

#include "hxarchiveitem.h"
#include "hxiunknown.h"

// Offered by the plug-in: the files it adds to a project archive.
class HxiArchive : public VemoInterface::HxiUnknown
{
public:
    // slot 3: the files to pack
    virtual HxArchiveItemList archiveItems() = 0;
    // slot 4: the archive is being unpacked over existing files
    virtual bool replacesExistingFiles() = 0;
    // slot 5: whether the archive may go on
    virtual bool archiveMayProceed() = 0;

protected:
    ~HxiArchive() = default;
};
