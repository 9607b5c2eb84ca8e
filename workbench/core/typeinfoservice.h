#pragma once

#include "hxitypeinfo.h"
#include "serviceobject.h"

// "HxiTypeInfo": attributes of the host's application types. The one the
// sequencer asks for is "Type": "Runner" for the types that program a
// device from an image (their names end in "Runner"), "Test" for the types
// that test the board. "Icon" is the resource path of the type's image.
class TypeInfoService final : public ServiceObject<VemoInterface::HxiTypeInfo>
{
public:
    TypeInfoService() : ServiceObject(QStringLiteral("HxiTypeInfo")) {}

    QString attribute(const QString &type, const QString &name) override;
};
