#include "resultscommand.h"

#include "textboundary.h"

#include "hostsettings.h"
#include "logviewservice.h"
#include "resultsdatabase.h"
#include "resultspage.h"
#include "resultsstore.h"
#include "resultssummary.h"
#include "seqrun.h"
#include "sequencersettings.h"
#include "workbenchhost.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// "2026-02-03" is the start of that day at the station; a full ISO time is
// taken as it is.
QDateTime dateFrom(const QString &text, bool &ok)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid()) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        if (day.isValid())
            time = day.startOfDay();
    }
    ok = time.isValid();
    return time;
}

} // namespace

void ResultsCommand::tellResultProblems(WorkbenchHost &host, QTextStream &err)
{
    QObject::connect(&host.logview(), &LogviewService::lineAppended, [&err](const QString &tab, const QString &line) {
        if (tab == QLatin1String("Output") && line.contains(QLatin1String(" - Results: ")))
            err << "seqrun: " << TextBoundary::fromHtml(line).section(QStringLiteral(" - "), 1) << Qt::endl;
    });
}

ResultsCommand::ResultsCommand(QTextStream &out, QTextStream &err) : out(out), err(err)
{
}

QString ResultsCommand::serverFor(const QString &option)
{
    if (!option.isEmpty())
        return option;
    HostSettings settings;
    settings.load();
    SequencerSettings sequencer;
    sequencer.load(settings.root());
    return ResultsStore::serverLocation(sequencer.resultsDatabase);
}

int ResultsCommand::run(const QStringList &arguments, QString &problem)
{
    QStringList positional;
    QMap<QString, QString> options;
    const QStringList known = {QStringLiteral("sequence"), QStringLiteral("serial"), QStringLiteral("since"),
                               QStringLiteral("until"),    QStringLiteral("format"), QStringLiteral("html"),
                               QStringLiteral("db")};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            positional << argument;
            continue;
        }
        const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
        if (!known.contains(name)) {
            problem = QStringLiteral("unknown option --%1").arg(name);
            return Seqrun::UsageError;
        }
        if (argument.contains(QLatin1Char('=')))
            options.insert(name, argument.section(QLatin1Char('='), 1));
        else if (i + 1 < arguments.size())
            options.insert(name, arguments.at(++i));
        else {
            problem = QStringLiteral("option --%1 needs a value").arg(name);
            return Seqrun::UsageError;
        }
    }
    const QString server = serverFor(options.value(QStringLiteral("db")));
    if (positional.size() == 2 && positional.first() == QLatin1String("sync"))
        return sync(positional.at(1), server);
    if (positional.size() != 1) {
        problem = QStringLiteral("results takes a project folder (or: results sync PROJECT)");
        return Seqrun::UsageError;
    }
    const QString format = options.value(QStringLiteral("format"), QStringLiteral("table"));
    if (format != QLatin1String("table") && format != QLatin1String("csv") && format != QLatin1String("json")) {
        problem = QStringLiteral("--format takes table, csv or json");
        return Seqrun::UsageError;
    }
    ResultsDatabase::Filter filter;
    filter.sequence = options.value(QStringLiteral("sequence"));
    filter.serialNumber = options.value(QStringLiteral("serial"));
    for (const QString &name : {QStringLiteral("since"), QStringLiteral("until")}) {
        if (!options.contains(name))
            continue;
        bool ok = false;
        const QDateTime time = dateFrom(options.value(name), ok);
        if (!ok) {
            problem = QStringLiteral("--%1 takes a date such as 2026-02-03").arg(name);
            return Seqrun::UsageError;
        }
        // --until names the last day that counts
        if (name == QLatin1String("since"))
            filter.since = time;
        else
            filter.until = options.value(name).size() == 10 ? time.addDays(1) : time;
    }

    const QString project = positional.first();
    if (!QFileInfo(QDir(project).filePath(QStringLiteral("project.xml"))).isFile()) {
        err << "seqrun: there is no project in " << QDir::toNativeSeparators(project) << "\n";
        return Seqrun::MissingProject;
    }
    // A station of a line asks the line's server; runs that still wait for
    // it are delivered first so the answer includes them.
    QString location = ResultsStore::localLocation(project);
    if (!server.isEmpty()) {
        const ResultsStore::Outcome delivered = ResultsStore::deliver(project, server);
        if (delivered.problem.isEmpty()) {
            location = server;
        } else {
            err << "seqrun: the results server cannot be used (" << delivered.problem
                << "); showing this project's own results\n";
        }
    }
    ResultsDatabase database(location);
    if (!database.open()) {
        err << "seqrun: " << database.errorString() << "\n";
        return Seqrun::DamagedInput;
    }
    const ResultsSummary summary = ResultsSummary::of(database.runs(filter), filter.serialNumber);
    if (!database.errorString().isEmpty()) {
        err << "seqrun: " << database.errorString() << "\n";
        return Seqrun::DamagedInput;
    }
    if (options.contains(QStringLiteral("html"))) {
        const QString fileName = options.value(QStringLiteral("html"));
        QString title = QStringLiteral("Results of %1").arg(QFileInfo(QDir::cleanPath(QDir(project).absolutePath())).fileName());
        if (!filter.sequence.isEmpty())
            title += QStringLiteral(" - ") + filter.sequence;
        QSaveFile file(fileName);
        const QByteArray html = ResultsPage::toHtml(summary, title).toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(html) != html.size() || !file.commit()) {
            err << "seqrun: cannot write " << QDir::toNativeSeparators(fileName) << ": " << file.errorString() << "\n";
            return Seqrun::CannotCreate;
        }
    }
    if (format == QLatin1String("csv"))
        out << summary.toCsv();
    else if (format == QLatin1String("json"))
        out << QString::fromUtf8(summary.toJson());
    else
        out << summary.toTable();
    return Seqrun::Success;
}

int ResultsCommand::sync(const QString &project, const QString &server)
{
    if (server.isEmpty()) {
        err << "seqrun: no results server is set (--db, ORV_RESULTS_DB or the sequencer settings)\n";
        return Seqrun::UsageError;
    }
    if (!QFileInfo(ResultsStore::localLocation(project)).isFile()) {
        out << "Nothing to deliver: the project has no recorded runs\n";
        return Seqrun::Success;
    }
    const ResultsStore::Outcome outcome = ResultsStore::deliver(project, server);
    out << "Delivered " << outcome.delivered << " runs; " << outcome.pending << " waiting\n";
    if (!outcome.problem.isEmpty()) {
        err << "seqrun: " << outcome.problem << "\n";
        return Seqrun::CannotCreate;
    }
    return Seqrun::Success;
}
