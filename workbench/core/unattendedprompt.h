#pragma once

#include "hxiprompt.h"
#include "serviceobject.h"

// The prompt of a host that runs with nobody in front of it and nothing to
// say: every message box takes its default button and every file request
// is cancelled. Benchmarks and fuzz targets run the plug-in with it.
class UnattendedPrompt final : public ServiceObject<VemoInterface::HxiPrompt>
{
public:
    UnattendedPrompt() : ServiceObject(QStringLiteral("HxiPrompt")) {}

    int message(int, const QString &, const QString &, const QStringList &, int defaultButton) override
    {
        return defaultButton;
    }
    QString fileName(bool, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
};
