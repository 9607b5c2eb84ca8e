#pragma once

#include <QString>

// Whether `fileName` lies inside `folder` (at any depth); on success `rest`
// is its path relative to the folder, with forward slashes. Both may be
// given with either separator; the comparison follows the platform's case
// rules for file names.
bool HxFile_stripPathFromFileName(const QString &fileName, const QString &folder, QString &rest);
