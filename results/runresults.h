#pragma once

#include "hostlink.h"
#include "resultsrecorder.h"

#include <QSet>
#include <QString>

// What the sequencer window hands over while a run goes on, turned into
// the run's data: the JSON and JUnit files and the results database.
// It asks the host for the project, the user and the files a host wants
// written ("ResultsJsonFile", "ResultsJUnitFile").
class RunResults
{
public:
    struct Settings
    {
        bool saveResultFiles = false;   // JSON and JUnit beside the HTML report
        QString server;                 // the line's results server, empty for none
    };

    void runStarted(const HostLink &link, const QString &sequence, const QString &runFolderName);
    void unitIdentified(int cycle, const QString &serialNumber, const QString &folder,
                        const QString &taps);
    // `outputHtml` is the step's console output as the report holds it
    void stepFinished(RunRecord::Step step, const QString &outputHtml);
    // Writes the files and records the run; returns what went wrong, empty
    // when nothing did. `end` is "completed", "stopped" or "cancelled".
    QString runEnded(const HostLink &link, const QString &end, const QString &verdict,
                     const QString &reportFile, const Settings &settings);

    // "yes", "no" or "timeout" for a pause question's status
    static QString pauseAnswer(const QString &status, bool noIsPass);

private:
    QStringList newRunFiles();
    // the names of files in the run folder not seen before, now seen
    QStringList unseenFileNames();

    ResultsRecorder recorder;
    QString projectDirectory;
    QString runFolder;
    QSet<QByteArray> seenFiles;   // names in the run folder, as the system gives them
};
