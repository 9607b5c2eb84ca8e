#pragma once

#include <QString>
#include <QStringList>

// The programmable-logic device families a logic item may name: the
// two-digit family id behind each display name, and the current spelling of
// names that older projects still carry. Names are compared exactly.
namespace LogicFamilies {

// The family id ("20", "04", ...); empty for a name the table does not know.
QString familyId(const QString &displayName);
// The current spelling of a display name: the name itself, or the newer
// name an older spelling stands for; empty for an unknown name.
QString familyCanonicalName(const QString &displayName);

// Every display name the table knows, older spellings included, in table
// order.
QStringList familyDisplayNames();

} // namespace LogicFamilies
