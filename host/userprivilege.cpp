#include "userprivilege.h"

QString UserPrivilege::current() const
{
    return link.mainValue(QStringLiteral("UserPrivilege"));
}

bool UserPrivilege::isDeveloper() const
{
    const QString privilege = current();
    return privilege.isEmpty() || privilege == QLatin1String("Developer");
}

bool UserPrivilege::isEngineer() const
{
    return current() == QLatin1String("Engineer");
}

bool UserPrivilege::isTechnician() const
{
    return current() == QLatin1String("Technician");
}

bool UserPrivilege::isOperator() const
{
    return current() == QLatin1String("Operator");
}

QString UserPrivilege::userLogin() const
{
    return link.mainValue(QStringLiteral("UserLogin"));
}
