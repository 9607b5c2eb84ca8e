#pragma once

#include "runrecord.h"

#include <QString>

// Where a project's runs are kept: always in the project's own
// "results.sqlite", and, when a server is named, on that server too. A run
// is written locally first and delivered afterwards, so a server that
// cannot be reached never loses a run; delivery is keyed by the run's id,
// so a run arrives once however often delivery is tried.
class ResultsStore
{
public:
    struct Outcome
    {
        bool recorded = false;      // the run is in the project's database
        int delivered = 0;          // runs handed to the server by this call
        int pending = 0;            // runs still waiting for the server
        QString problem;            // why something did not happen, empty when all did
    };

    // the server a station writes to: ORV_RESULTS_DB, else the setting
    static QString serverLocation(const QString &setting);
    static QString localLocation(const QString &projectDirectory);

    static Outcome record(const RunRecord &record, const QString &projectDirectory,
                          const QString &server);
    // hands every run the server has not yet got to it
    static Outcome deliver(const QString &projectDirectory, const QString &server);
};
