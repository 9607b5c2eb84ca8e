#pragma once

#include <QMap>
#include <QString>

// A job the host runs for the plug-in (an application or a command line).
// It travels with the job's end and output signals.
class HxmJob
{
public:
    enum CheckFlag : int {
        ImageCheckFailed = 128,    // the image CRC differed from "ImageCRC"
        ImageCheckNotMade = 256,   // the image file could not be read
    };

    QString applicationFilePath;   // the application file the job ran
    QString reportMode;            // the Show option the job ran with
    QString resultDirectory;       // where the job left its result files
    QMap<QString, QString> parameters;
    int statusId = 0;              // the host's status id of the outcome
    QString message;               // the host's status text of the outcome
    int flags = 0;                 // CheckFlag bits
};
