#pragma once

#include <QMap>
#include <QStringList>

class HostLink;
class QWidget;
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
    // With `loadedParameters`, the step's parameters as the host's settings
    // complete them are put there.
    static ApplicationOperations query(const HostLink &link, const HxSequenceItem &item,
                                       QMap<QString, QString> *loadedParameters = nullptr);
    // Lets the user edit the application's execute settings into
    // `parameters`; false when the host has no such dialog or a lookup
    // failed (told to the user).
    static bool editSettings(const HostLink &link, const HxSequenceItem &item,
                             QMap<QString, QString> &parameters, QWidget *parent);
};
