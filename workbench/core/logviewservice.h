#pragma once

#include "hximainlogview.h"
#include "serviceobject.h"

#include <QObject>
#include <QStringList>

// "HxiMainLogview": keeps every line per tab and tells whoever listens.
class LogviewService final : public QObject, public ServiceObject<VemoInterface::HxiMainLogview>
{
    Q_OBJECT

public:
    LogviewService() : ServiceObject(QStringLiteral("HxiMainLogview")) {}

    void appendLine(const QString &tab, const QString &line) override;
    QStringList lines(const QString &tab) const;
    void clear() { entries.clear(); }

Q_SIGNALS:
    void lineAppended(const QString &tab, const QString &line);

private:
    QList<QPair<QString, QString>> entries;
};
