#pragma once

#include <QStringList>
#include <QTextStream>

// "seqrun results": the numbers of a project's recorded runs, as a table,
// CSV, JSON or an HTML page, and the delivery of waiting runs to the
// line's results server ("seqrun results sync PROJECT").
class WorkbenchHost;

class ResultsCommand
{
public:
    // A run whose results could not be recorded or delivered says so on
    // `err` while the host lives; the run itself goes on.
    static void tellResultProblems(WorkbenchHost &host, QTextStream &err);

    ResultsCommand(QTextStream &out, QTextStream &err);
    // returns seqrun's exit code; a usage problem is told through `problem`
    int run(const QStringList &arguments, QString &problem);

    // the server named by --db, ORV_RESULTS_DB or the plug-in's setting
    static QString serverFor(const QString &option);

private:
    int sync(const QString &project, const QString &server);

    QTextStream &out;
    QTextStream &err;
};
