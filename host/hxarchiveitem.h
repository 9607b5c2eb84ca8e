#pragma once

#include <QList>
#include <QString>

// One file the host's archiver packs into a project archive.
struct HxArchiveItem
{
    QString name;
    QString path;
    int kind = 0;
    int flags = 0;
};

using HxArchiveItemList = QList<HxArchiveItem>;
