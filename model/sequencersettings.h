#pragma once

#include <QString>
#include <QStringList>

class QDomElement;

// The sequencer's settings that apply to every sequence of the installation.
// The host stores them in its own settings as the element
// "ORVSequencerSettings".
class SequencerSettings
{
public:
    bool saveReports = true;
    bool removeReports = false;
    bool defaultUnitReportsPath = true;
    QString unitReportsPath;
    bool perUnit = false;
    bool enableGang = false;
    QString gang = QStringLiteral("0");       // index into gangList(), as decimal text
    QString gangText = QStringLiteral("0");   // TAP digits of that entry; "0" without gang
    // Beyond the eight settings above: the run's data. JSON and JUnit files
    // beside every report, and the results server of the line (empty: the
    // project's own results database only).
    bool saveResultFiles = false;
    QString resultsDatabase;
    // How often one step may ask to be done again in a row before the run
    // ends with Error: a step that never passes must not run forever.
    int redoLimit = 100;

    // The fifteen TAP combinations of a four-TAP controller, for the masks 1
    // to 15: each entry lists the TAP digits of the bits set, ascending.
    static QStringList gangList();

    // Appends "ORVSequencerSettings" to `parent`.
    void save(QDomElement &parent) const;
    // Reads the first "ORVSequencerSettings" at any depth below `parent`;
    // settings without an attribute keep their values.
    void load(const QDomElement &parent);
};
