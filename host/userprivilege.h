#pragma once

#include "hostlink.h"

// The user's privilege as the host reports it ("UserPrivilege"). An empty
// privilege, which is also what a missing host gives, counts as developer.
class UserPrivilege
{
public:
    explicit UserPrivilege(const HostLink &link) : link(link) {}

    QString current() const;
    bool isDeveloper() const;
    bool isEngineer() const;
    bool isTechnician() const;
    bool isOperator() const;
    // the login name of the user; empty when the host has none
    QString userLogin() const;

private:
    HostLink link;
};
