#pragma once

#include "hximain.h"
#include "serviceobject.h"

#include <QMap>

// "HxiMain": the host's named values (privilege, login, start-up path, ...).
class MainService final : public ServiceObject<VemoInterface::HxiMain>
{
public:
    MainService() : ServiceObject(QStringLiteral("HxiMain")) {}

    QString value(const QString &key) override { return values.value(key); }
    void setValue(const QString &key, const QString &value) { values.insert(key, value); }

private:
    QMap<QString, QString> values;
};
