#pragma once

#include "hxiunknown.h"

#include <QString>

class QWidget;

namespace VemoInterface {

class HxiMainProcessAdv : public HxiUnknown
{
public:
    // slot 3: let the user choose a folder; empty when cancelled
    virtual QString chooseFolder(QWidget *parent, const QString &caption,
                                 const QString &startFolder) = 0;

protected:
    ~HxiMainProcessAdv() = default;
};

} // namespace VemoInterface
