#pragma once

#include "hximainprocessadv.h"
#include "serviceobject.h"

// "HxiMainProcessAdv": the host's folder chooser, for plug-in pages that
// ask for a folder.
class ProcessAdvService final : public ServiceObject<VemoInterface::HxiMainProcessAdv>
{
public:
    ProcessAdvService() : ServiceObject(QStringLiteral("HxiMainProcessAdv")) {}

    bool chooseFolder(QWidget *parent, const QString &startFolder, QString &folder,
                      const QString &caption) override;
};
