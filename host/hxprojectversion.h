#pragma once

#include <QString>

namespace VemoDatabase {

// The format of a stored sequence document. A document written with short
// names carries a version text; one written with long names carries none.
// So the rule is: no version text is format index 0 (long names), any
// version text is index 1 (short names).
class HxProjectVersion
{
public:
    static inline const QString ShortNamesVersion = QStringLiteral("1.1");

    void analyzeVersion(const QString &versionText) { version = versionText.trimmed(); }
    QString getVersion() const { return version; }
    int getHxpIndex() const { return version.isEmpty() ? 0 : 1; }

    // the version text a document of `index` is written with
    static QString versionForIndex(int index) { return index > 0 ? ShortNamesVersion : QString(); }

private:
    QString version;
};

} // namespace VemoDatabase
