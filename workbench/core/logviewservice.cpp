#include "logviewservice.h"

void LogviewService::appendLine(const QString &tab, const QString &line)
{
    entries.append({tab, line});
    Q_EMIT lineAppended(tab, line);
}

QStringList LogviewService::lines(const QString &tab) const
{
    QStringList result;
    for (const auto &[entryTab, line] : entries) {
        if (entryTab == tab)
            result.append(line);
    }
    return result;
}
