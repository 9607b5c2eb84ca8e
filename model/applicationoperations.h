#pragma once

#include <QStringList>

class HostLink;
class HxSequenceItem;

// The operations and Show options an application step may use: what the
// host's execute settings of its application list under "Oper" and "Show",
// followed by the sequencer's own forced operations.
class ApplicationOperations
{
public:
    QStringList operations;
    QStringList showOptions;

    // Asks the host about the application the step names (column "Item").
    // Each failure is reported to the user in an information box and leaves
    // the lists as far as they were filled.
    static ApplicationOperations query(const HostLink &link, const HxSequenceItem &item);
};
