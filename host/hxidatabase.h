#pragma once

#include "hxiunknown.h"

#include <QString>

namespace VemoInterface {

class HxiProjectApplications;

// The open project's database. Obtainable only while a project is open.
class HxiDatabase : public HxiUnknown
{
public:
    // slot 3: the project folder
    virtual QString projectDirectory() = 0;
    // slot 4: the project's name
    virtual QString projectName() = 0;
    // slot 14: the project's applications (a counted reference; null when none)
    virtual HxiProjectApplications *applications() = 0;
    // slot 60: the project-version text to save with, and its format index
    virtual QString formatVersion(int &index) = 0;
    // slot 64: tell the database which version the loaded document has
    virtual void setFormatVersion(const QString &version) = 0;

protected:
    ~HxiDatabase() = default;
};

} // namespace VemoInterface
