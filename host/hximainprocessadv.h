#pragma once

#include "hxiunknown.h"

#include <QString>

class QWidget;

namespace VemoInterface {

class HxiMainProcessAdv : public HxiUnknown
{
public:
    // slot 4: let the user choose a folder, starting in `startFolder`;
    // true with the folder in `folder`, false when cancelled
    virtual bool chooseFolder(QWidget *parent, const QString &startFolder, QString &folder,
                              const QString &caption) = 0;

protected:
    ~HxiMainProcessAdv() = default;
};

} // namespace VemoInterface
