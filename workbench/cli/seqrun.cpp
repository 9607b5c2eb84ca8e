#include "seqrun.h"

#include "consoleprompt.h"
#include "projectsession.h"
#include "workbenchhost.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const char *const UsageText =
    "usage: seqrun <command> [arguments]\n"
    "\n"
    "commands:\n"
    "  init DIR [--name NAME]   create an empty project folder\n"
    "  list PROJECT             print the project's sequence titles, one per line\n"
    "\n"
    "exit codes: 0 success, 64 usage error, 65 damaged input, 66 missing project,\n"
    "            70 the sequencer library could not be used, 73 cannot create\n";

int exitCodeFor(ProjectSession::Outcome outcome)
{
    switch (outcome) {
    case ProjectSession::Outcome::Done:
        return Seqrun::Success;
    case ProjectSession::Outcome::MissingProject:
        return Seqrun::MissingProject;
    case ProjectSession::Outcome::DamagedProject:
        return Seqrun::DamagedInput;
    case ProjectSession::Outcome::PluginFailed:
        return Seqrun::InternalError;
    case ProjectSession::Outcome::WriteFailed:
        return Seqrun::CannotCreate;
    }
    return Seqrun::InternalError;
}

// Splits "--name value" and "--name=value" options off the positional
// arguments; unknown options are a usage error.
bool parseOptions(const QStringList &arguments, const QStringList &known, QStringList &positional,
                  QMap<QString, QString> &options, QString &problem)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            positional.append(argument);
            continue;
        }
        QString name = argument.mid(2);
        QString value;
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            problem = QStringLiteral("option --%1 needs a value").arg(name);
            return false;
        }
        if (!known.contains(name)) {
            problem = QStringLiteral("unknown option --%1").arg(name);
            return false;
        }
        options.insert(name, value);
    }
    return true;
}

} // namespace

Seqrun::Seqrun() : out(stdout), err(stderr)
{
}

int Seqrun::usage(const QString &problem)
{
    if (!problem.isEmpty())
        err << "seqrun: " << problem << "\n";
    err << UsageText;
    err.flush();
    return UsageError;
}

int Seqrun::run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("init"))
        return init(rest);
    if (command == QLatin1String("list"))
        return list(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        out << UsageText;
        return Success;
    }
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}

int Seqrun::init(const QStringList &arguments)
{
    QStringList positional;
    QMap<QString, QString> options;
    QString problem;
    if (!parseOptions(arguments, {QStringLiteral("name")}, positional, options, problem))
        return usage(problem);
    if (positional.size() != 1)
        return usage(QStringLiteral("init takes one folder"));
    const QString directory = positional.first();
    const QString name = options.value(QStringLiteral("name"),
                                       QFileInfo(QDir::cleanPath(directory)).fileName());

    WorkbenchHost host;
    ConsolePrompt prompt;
    host.setPrompt(&prompt);
    ProjectSession session(host);
    const ProjectSession::Outcome outcome = session.create(directory, name);
    if (outcome != ProjectSession::Outcome::Done) {
        err << "seqrun: " << session.errorString() << "\n";
        return exitCodeFor(outcome);
    }
    out << "Created project '" << name << "' in " << QDir::toNativeSeparators(session.project().directory())
        << "\n";
    return Success;
}

int Seqrun::list(const QStringList &arguments)
{
    QStringList positional;
    QMap<QString, QString> options;
    QString problem;
    if (!parseOptions(arguments, {}, positional, options, problem))
        return usage(problem);
    if (positional.size() != 1)
        return usage(QStringLiteral("list takes one project folder"));

    WorkbenchHost host;
    ConsolePrompt prompt;
    host.setPrompt(&prompt);
    ProjectSession session(host);
    const ProjectSession::Outcome outcome = session.open(positional.first());
    if (outcome != ProjectSession::Outcome::Done) {
        err << "seqrun: " << session.errorString() << "\n";
        return exitCodeFor(outcome);
    }
    for (const QString &title : session.sequenceTitles())
        out << title << "\n";
    return Success;
}
