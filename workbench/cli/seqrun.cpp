#include "seqrun.h"

#include "textboundary.h"

#include "consoleprompt.h"
#include "hxiorvsequencer.h"
#include "logviewservice.h"
#include "mainviewservice.h"
#include "resultscommand.h"
#include "runmonitor.h"
#include "projectsession.h"
#include "workbenchhost.h"

#include <QCommandLineParser>
#include <QPointer>
#include <QRegularExpression>
#include <QDir>
#include <QAbstractButton>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QStringTokenizer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

#include <csignal>
#include <cstdio>

#include <unistd.h>

// The host, its prompt and the project session one command works with.
struct CommandSession
{
    WorkbenchHost host;
    ConsolePrompt prompt;
    ProjectSession session{host};

    CommandSession() { host.setPrompt(&prompt); }
};

namespace {

const char *const UsageText =
    "usage: seqrun <command> [arguments]\n"
    "\n"
    "commands:\n"
    "  init DIR [--name NAME]   create an empty project folder\n"
    "  list PROJECT             print the project's sequence titles, one per line\n"
    "  run PROJECT TITLE [--repeat N | --units N] [--start-at N] [--single N]\n"
    "           [--serial SN] [--folder NAME] [--privilege P] [--timeout SECONDS]\n"
    "           [--answer yes|no|timeout] [--ask] [--json FILE] [--junit FILE]\n"
    "                           run a sequence, print a line per finished step and the\n"
    "                           verdict; exit 0 passed, 1 failed, 2 error, 3 stopped or\n"
    "                           cancelled; --units runs N units one after another with\n"
    "                           unit identification; --serial and --folder identify\n"
    "                           the first unit; --answer answers every pause question\n"
    "                           (default: the step's default answer, or at a terminal\n"
    "                           the operator's; --ask asks on standard input always);\n"
    "                           --json and --junit write the run's results as JSON\n"
    "                           and as JUnit XML\n"
    "  results PROJECT [--sequence T] [--serial SN] [--since DATE] [--until DATE]\n"
    "           [--format table|csv|json] [--html FILE] [--db postgresql://...]\n"
    "                           runs, units, first-pass and final yield per sequence,\n"
    "                           the steps that fail most, every run of one serial;\n"
    "                           --html writes a page with charts\n"
    "  results sync PROJECT [--db postgresql://...]\n"
    "                           deliver the runs that wait for the results server\n"
    "  export PROJECT TITLE FILE [--force]\n"
    "                           write a sequence to a sequence list file (\".seql\" is\n"
    "                           added unless FILE ends so); --force overwrites\n"
    "  import PROJECT TITLE FILE\n"
    "                           replace a sequence's steps by those of a sequence list\n"
    "                           file (the sequence is created when the project has\n"
    "                           none); every refused step is named on standard error\n"
    "  import-sqc PROJECT FILE [--title T] [--instrument Preferred|NAME] [--force]\n"
    "                           make a new sequence of a legacy sequence file, creating\n"
    "                           the applications it runs; --force replaces the steps of\n"
    "                           a sequence of that title\n"
    "\n"
    "exit codes: 0 success, 64 usage error, 65 damaged input, 66 missing project,\n"
    "            70 the sequencer library could not be used, 73 cannot create,\n"
    "            75 another program is writing the project (list and export only\n"
    "            read it and never wait)\n";

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
    case ProjectSession::Outcome::Locked:
        return Seqrun::Busy;
    }
    return Seqrun::InternalError;
}

// Splits "--name value" and "--name=value" options off the positional
// arguments; unknown options are a usage error.
bool parseOptions(const QStringList &arguments, const QStringList &known, QStringList &positional,
                  QMap<QString, QString> &options, QString &problem,
                  const QStringList &switches = {})
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            positional.append(argument);
            continue;
        }
        QString name = argument.mid(2);
        QString value;
        if (switches.contains(name)) {
            options.insert(name, QStringLiteral("1"));
            continue;
        }
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

// A command's arguments: its positional ones and its options.
struct CommandLine
{
    QStringList positional;
    QMap<QString, QString> options;
};

// Splits a command's arguments and checks that it got `positionalCount`
// positional ones; the problem to show with the usage, or empty.
QString parseCommand(const QStringList &arguments, const QStringList &known,
                     const QStringList &switches, qsizetype positionalCount,
                     const QString &positionalProblem, CommandLine &line)
{
    QString problem;
    if (!parseOptions(arguments, known, line.positional, line.options, problem, switches))
        return problem;
    return line.positional.size() == positionalCount ? QString() : positionalProblem;
}

} // namespace

Seqrun::Seqrun() : out(stdout), err(stderr)
{
}

int Seqrun::openProject(CommandSession &command, const QString &directory, bool forWriting)
{
    const ProjectSession::Outcome outcome = command.session.open(
        directory, forWriting ? ProjectSession::Access::Write : ProjectSession::Access::ReadOnly);
    if (!command.session.settingsWarning().isEmpty())
        err << "seqrun: " << command.session.settingsWarning() << "\n";
    if (outcome == ProjectSession::Outcome::Done)
        return Success;
    err << "seqrun: " << command.session.errorString() << "\n";
    return exitCodeFor(outcome);
}

bool Seqrun::requireFile(const QString &fileName, const QString &what)
{
    if (QFileInfo(fileName).isFile())
        return true;
    err << "seqrun: there is no " << what << " " << QDir::toNativeSeparators(fileName) << "\n";
    return false;
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
    if (command == QLatin1String("run"))
        return runSequence(rest);
    if (command == QLatin1String("export"))
        return exportList(rest);
    if (command == QLatin1String("import"))
        return importList(rest);
    if (command == QLatin1String("import-sqc"))
        return importLegacy(rest);
    if (command == QLatin1String("results")) {
        QString problem;
        const int code = ResultsCommand(out, err).run(rest, problem);
        return problem.isEmpty() ? code : usage(problem);
    }
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        out << UsageText;
        return Success;
    }
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}

int Seqrun::init(const QStringList &arguments)
{
    CommandLine line;
    if (const QString problem = parseCommand(arguments, {QStringLiteral("name")}, {}, 1,
                                             QStringLiteral("init takes one folder"), line);
        !problem.isEmpty())
        return usage(problem);
    const QStringList &positional = line.positional;
    const QMap<QString, QString> &options = line.options;
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
    CommandLine line;
    if (const QString problem = parseCommand(arguments, {}, {}, 1,
                                             QStringLiteral("list takes one project folder"), line);
        !problem.isEmpty())
        return usage(problem);
    const QStringList &positional = line.positional;

    CommandSession command;
    if (const int opened = openProject(command, positional.first(), false); opened != Success)
        return opened;
    ProjectSession &session = command.session;
    for (const QString &title : session.sequenceTitles())
        out << title << "\n";
    return Success;
}

namespace {

volatile std::sig_atomic_t interruptRequested = 0;

// The window options a run command changes, put back as they were after
// the run so the stored sequence keeps its own.
class RunOptions
{
public:
    explicit RunOptions(QWidget *window)
        : repeatBox(window->findChild<QCheckBox *>(QStringLiteral("repeatCheckBox"))),
          repeatCount(window->findChild<QSpinBox *>(QStringLiteral("repeatSpinBox"))),
          unitBox(window->findChild<QGroupBox *>(QStringLiteral("unitIdentGroupBox"))),
          singleButton(window->findChild<QRadioButton *>(QStringLiteral("singleAppRadioButton"))),
          sequenceButton(window->findChild<QRadioButton *>(QStringLiteral("sequenceRadioButton"))),
          window(window),
          repeatOn(repeatBox->isChecked()),
          repeats(repeatCount->value()),
          unitsOn(unitBox->isChecked()),
          single(singleButton->isChecked())
    {
    }

    void setRepeat(int count)
    {
        repeatBox->setChecked(count > 1);
        repeatCount->setValue(count);
    }
    void setUnitIdentification(bool on) { unitBox->setChecked(on); }
    void setSingleApplication() { singleButton->setChecked(true); }
    // the first unit's texts: they stay, as the operator's entries would
    void setText(const QString &lineEdit, const QString &text)
    {
        window->findChild<QLineEdit *>(lineEdit)->setText(text);
    }

    void restore()
    {
        repeatBox->setChecked(repeatOn);
        repeatCount->setValue(repeats);
        unitBox->setChecked(unitsOn);
        (single ? singleButton : sequenceButton)->setChecked(true);
    }

private:
    QCheckBox *repeatBox;
    QSpinBox *repeatCount;
    QGroupBox *unitBox;
    QRadioButton *singleButton;
    QRadioButton *sequenceButton;
    QWidget *window;
    bool repeatOn;
    int repeats;
    bool unitsOn;
    bool single;
};

bool readPositive(const QMap<QString, QString> &options, const QString &name, int &value,
                  QString &problem)
{
    if (!options.contains(name))
        return true;
    bool ok = false;
    value = options.value(name).toInt(&ok);
    if (!ok || value < 1) {
        problem = QStringLiteral("--%1 needs a number of 1 or more").arg(name);
        return false;
    }
    return true;
}

} // namespace

int Seqrun::runSequence(const QStringList &arguments)
{
    const QStringList known = {QStringLiteral("repeat"), QStringLiteral("start-at"),
                               QStringLiteral("single"), QStringLiteral("privilege"),
                               QStringLiteral("timeout"), QStringLiteral("answer"),
                               QStringLiteral("units"), QStringLiteral("serial"),
                               QStringLiteral("folder"), QStringLiteral("json"), QStringLiteral("junit")};
    CommandLine line;
    QString problem = parseCommand(arguments, known, {QStringLiteral("ask")}, 2,
                                   QStringLiteral("run takes a project folder and a sequence title"), line);
    if (!problem.isEmpty())
        return usage(problem);
    const QStringList &positional = line.positional;
    const QMap<QString, QString> &options = line.options;
    int repeat = 0;
    int startAt = 0;
    int single = 0;
    int timeout = 0;
    int units = 0;
    if (!readPositive(options, QStringLiteral("units"), units, problem)
        || !readPositive(options, QStringLiteral("repeat"), repeat, problem)
        || !readPositive(options, QStringLiteral("start-at"), startAt, problem)
        || !readPositive(options, QStringLiteral("single"), single, problem)
        || !readPositive(options, QStringLiteral("timeout"), timeout, problem))
        return usage(problem);
    if (startAt && single)
        return usage(QStringLiteral("--start-at and --single exclude each other"));
    if (units && repeat)
        return usage(QStringLiteral("--units and --repeat exclude each other: every unit is one cycle"));
    const QString serial = options.value(QStringLiteral("serial")).trimmed();
    const QString unitFolder = options.value(QStringLiteral("folder")).trimmed();
    if (options.contains(QStringLiteral("serial")) && serial.isEmpty())
        return usage(QStringLiteral("--serial needs a serial number"));
    if (options.contains(QStringLiteral("answer")) && options.contains(QStringLiteral("ask")))
        return usage(QStringLiteral("--answer and --ask exclude each other"));
    // A pause question's buttons are Yes and No; no answer at all lets its
    // time-out run out.
    const QMap<QString, int> answers = {{QStringLiteral("yes"), 0},
                                        {QStringLiteral("no"), 1},
                                        {QStringLiteral("timeout"), -1}};
    const QString answer = options.value(QStringLiteral("answer"));
    if (options.contains(QStringLiteral("answer")) && !answers.contains(answer))
        return usage(QStringLiteral("--answer takes yes, no or timeout"));
    const QString title = positional.at(1);

    CommandSession command;
    if (!answer.isEmpty())
        command.prompt.setAnswer(QStringLiteral("Sequence Item"), answers.value(answer));
    // An operator at the terminal answers what the command did not.
    if (options.contains(QStringLiteral("ask")) || (answer.isEmpty() && isatty(fileno(stdin))))
        command.prompt.setOperatorInput(stdin);
    command.prompt.setFirstUnitAnswer(serial, unitFolder);
    RunMonitor monitor(out);
    command.host.setRunMonitor(&monitor);
    ResultsCommand::tellResultProblems(command.host, err);
    if (options.contains(QStringLiteral("privilege")))
        command.host.setValue(QStringLiteral("UserPrivilege"), options.value(QStringLiteral("privilege")));
    // the plug-in writes the run's results where these values say
    for (const auto &[option, key] : {std::pair(QStringLiteral("json"), QStringLiteral("ResultsJsonFile")),
                                      std::pair(QStringLiteral("junit"), QStringLiteral("ResultsJUnitFile"))}) {
        if (options.contains(option))
            command.host.setValue(key, QFileInfo(options.value(option)).absoluteFilePath());
    }
    if (const int opened = openProject(command, positional.first()); opened != Success)
        return opened;
    WorkbenchHost &host = command.host;
    ProjectSession &session = command.session;
    if (!session.selectSequence(title)) {
        err << "seqrun: the project has no sequence '" << title << "'; it has: "
            << session.sequenceTitles().join(QStringLiteral(", ")) << "\n";
        return MissingProject;
    }

    // Open the sequence as a click on its tree entry would; the plug-in
    // shows its window as a view of the host.
    QWidget *window = nullptr;
    const auto connection = QObject::connect(&host.mainView(), &MainViewService::viewShown,
                                             [&window](QWidget *shown) { window = shown; });
    session.triggerAction(QStringLiteral("OpenSequence"));
    QObject::disconnect(connection);
    if (!window) {
        err << "seqrun: the sequence '" << title << "' could not be opened\n";
        return InternalError;
    }

    // The options are set the way an operator sets them in the window.
    auto *list = window->findChild<QTreeWidget *>(QStringLiteral("sequenceListView"));
    const int stepCount = list ? list->topLevelItemCount() : 0;
    if (stepCount == 0) {
        err << "seqrun: the sequence '" << title << "' has no steps to run\n";
        return DamagedInput;
    }
    // The options hold for this run only; what the sequence stores stays.
    RunOptions runOptions(window);
    if (repeat || units)
        runOptions.setRepeat(qMax(repeat, units));
    if (units)
        runOptions.setUnitIdentification(true);
    if (!serial.isEmpty())
        runOptions.setText(QStringLiteral("serNumberLineEdit"), serial);
    if (!unitFolder.isEmpty())
        runOptions.setText(QStringLiteral("folderLineEdit"), unitFolder);
    const int row = single ? single : startAt;
    if (row > stepCount) {
        err << "seqrun: the sequence '" << title << "' has " << stepCount << " steps, not " << row << "\n";
        return UsageError;
    }
    if (single)
        runOptions.setSingleApplication();
    list->clearSelection();
    if (row) {
        list->setCurrentItem(list->topLevelItem(row - 1));
        list->topLevelItem(row - 1)->setSelected(true);
    }
    monitor.setStepCount(stepCount);

    out << "Running '" << title << "' (" << stepCount << " steps)" << Qt::endl;
    if (!session.triggerAction(QStringLiteral("StartSequence"))) {
        err << "seqrun: the sequence '" << title << "' cannot be started now\n";
        return InternalError;
    }
    QEventLoop loop;
    QObject::connect(&monitor, &RunMonitor::runEnded, &loop, &QEventLoop::quit);
    bool timedOut = false;
    if (timeout) {
        QTimer::singleShot(timeout * 1000, &loop, [&] {
            timedOut = true;
            session.triggerAction(QStringLiteral("CancelSequence"));
            loop.quit();
        });
    }
    // Ctrl-C at the station cancels the run the way the Cancel button does,
    // so the report is closed and the project saved; a second one ends
    // seqrun at once.
    interruptRequested = 0;
    std::signal(SIGINT, [](int) {
        interruptRequested = 1;
        std::signal(SIGINT, SIG_DFL);
    });
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, &loop, [&] {
        if (!interruptRequested)
            return;
        interruptRequested = 0;
        err << "seqrun: interrupted, cancelling the run" << Qt::endl;
        if (!session.triggerAction(QStringLiteral("CancelSequence")))
            loop.quit();
    });
    interruptWatch.start(100);
    if (!monitor.hasEnded())
        loop.exec();
    interruptWatch.stop();
    std::signal(SIGINT, SIG_DFL);

    // The last run's results are part of the stored steps, and so is the
    // last unit's serial number.
    runOptions.restore();
    if (session.save() != ProjectSession::Outcome::Done)
        err << "seqrun: " << session.errorString() << "\n";

    if (timedOut)
        err << "seqrun: the run did not end within " << timeout << " s and was cancelled\n";
    const bool completed = monitor.end() == VemoInterface::HxiRunMonitor::Completed && !timedOut;
    out << "Verdict: " << (completed ? monitor.verdict() : (monitor.end() == VemoInterface::HxiRunMonitor::Stopped
                                                               ? QStringLiteral("Stopped")
                                                               : QStringLiteral("Cancelled")))
        << Qt::endl;
    if (!monitor.reportFile().isEmpty())
        out << "Report: " << QDir::toNativeSeparators(monitor.reportFile()) << Qt::endl;
    if (!completed)
        return 3;
    if (monitor.verdict() == QLatin1String("Passed"))
        return 0;
    if (monitor.verdict() == QLatin1String("Failed"))
        return 1;
    return 2;
}

namespace {

// A log line as plain text: no markup, no time of day in front.
QString plainLogText(const QString &line)
{
    static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d: "));
    return TextBoundary::fromHtml(line).remove(time);
}

// Every line of the log's "Output" tab while the object lives.
class OutputLines
{
public:
    explicit OutputLines(WorkbenchHost &host)
    {
        connection = QObject::connect(&host.logview(), &LogviewService::lineAppended,
                                      [this](const QString &tab, const QString &line) {
                                          if (tab == QLatin1String("Output"))
                                              lines.append(plainLogText(line));
                                      });
    }
    ~OutputLines() { QObject::disconnect(connection); }

    bool contains(const QString &text) const
    {
        for (const QString &line : lines) {
            if (line.contains(text))
                return true;
        }
        return false;
    }
    QStringList matching(const QString &text) const
    {
        QStringList result;
        for (const QString &line : lines) {
            if (line.contains(text))
                result.append(line);
        }
        return result;
    }

private:
    QMetaObject::Connection connection;
    QStringList lines;
};

// The window a command makes the sequencer show, and its step count.
class ShownWindow
{
public:
    explicit ShownWindow(WorkbenchHost &host)
    {
        connection = QObject::connect(&host.mainView(), &MainViewService::viewShown,
                                      [this](QWidget *shown) { window = shown; });
    }
    ~ShownWindow() { QObject::disconnect(connection); }

    int stepCount() const
    {
        const auto *list =
            window ? window->findChild<QTreeWidget *>(QStringLiteral("sequenceListView")) : nullptr;
        return list ? list->topLevelItemCount() : -1;
    }

private:
    QMetaObject::Connection connection;
    QPointer<QWidget> window;
};

// The entries of a sequence list file's SEQUENCE section, counted the way
// the sequencer reads the file: headers up to "]", "key=value" lines and
// bare words alike.
int listedItems(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // Walked line by line in place: a large file split into a list of
    // lines cost the import more than reading its items.
    const QString text = QString::fromUtf8(file.readAll());
    QStringView section;
    int count = 0;
    for (const QStringView line : QStringTokenizer(text, u'\n')) {
        const QStringView stripped = line.trimmed();
        if (stripped.isEmpty())
            continue;
        const bool header = stripped.startsWith(u'[');
        if (header) {
            const qsizetype open = line.indexOf(u'[');
            const qsizetype close = line.indexOf(u']', open + 1);
            section = close < 0 ? line.sliced(open + 1) : line.sliced(open + 1, close - open - 1);
        }
        if (section == u"SEQUENCE" && (!header || stripped.contains(u'=')))
            ++count;
    }
    return count;
}

QString droppedText(int count)
{
    return count == 1 ? QStringLiteral("1 item was dropped")
                      : QStringLiteral("%1 items were dropped").arg(count);
}

QString absolute(const QString &fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

} // namespace

int Seqrun::exportList(const QStringList &arguments)
{
    CommandLine line;
    if (const QString problem = parseCommand(arguments, {}, {QStringLiteral("force")}, 3,
                                             QStringLiteral("export takes a project folder, a sequence title and a file"), line);
        !problem.isEmpty())
        return usage(problem);
    const QStringList &positional = line.positional;
    const QMap<QString, QString> &options = line.options;
    const QString title = positional.at(1);
    // The sequencer adds the extension the same way.
    QString target = absolute(positional.at(2));
    if (!target.endsWith(QLatin1String(".seql"), Qt::CaseInsensitive))
        target += QLatin1String(".seql");
    const bool force = options.contains(QStringLiteral("force"));
    if (QFileInfo::exists(target) && !force) {
        err << "seqrun: " << QDir::toNativeSeparators(target)
            << " exists; add --force to overwrite it\n";
        return CannotCreate;
    }

    CommandSession command;
    if (const int opened = openProject(command, positional.first(), false); opened != Success)
        return opened;
    WorkbenchHost &host = command.host;
    ConsolePrompt &prompt = command.prompt;
    ProjectSession &session = command.session;
    if (!session.selectSequence(title)) {
        err << "seqrun: the project has no sequence '" << title << "'\n";
        return MissingProject;
    }
    prompt.setFileAnswer(absolute(positional.at(2)));
    prompt.setAnswer(QStringLiteral("Sequence List file already exists"), force ? 0 : 1);
    OutputLines log(host);
    if (!session.triggerAction(QStringLiteral("ExportSequenceData"))) {
        err << "seqrun: this user may not export sequence lists\n";
        return InternalError;
    }
    if (!log.contains(QStringLiteral("Export Sequence List: \"%1\" finished")
                          .arg(QDir::toNativeSeparators(target)))) {
        err << "seqrun: the sequence '" << title << "' was not exported to "
            << QDir::toNativeSeparators(target) << "\n";
        return CannotCreate;
    }
    for (const QString &line : log.matching(QStringLiteral("does not keep")))
        err << "seqrun: " << line << "\n";
    out << "Exported '" << title << "' to " << QDir::toNativeSeparators(target) << "\n";
    return Success;
}

int Seqrun::importList(const QStringList &arguments)
{
    CommandLine line;
    if (const QString problem = parseCommand(arguments, {}, {}, 3,
                                             QStringLiteral("import takes a project folder, a sequence title and a file"), line);
        !problem.isEmpty())
        return usage(problem);
    const QStringList &positional = line.positional;
    const QString title = positional.at(1);
    const QString fileName = absolute(positional.at(2));
    if (!requireFile(fileName, QStringLiteral("sequence list file")))
        return MissingProject;

    CommandSession command;
    if (const int opened = openProject(command, positional.first()); opened != Success)
        return opened;
    WorkbenchHost &host = command.host;
    ConsolePrompt &prompt = command.prompt;
    ProjectSession &session = command.session;
    // The import fills the sequence's window, opened by "New Sequence" or by
    // the import itself.
    ShownWindow window(host);
    if (!session.sequenceTitles().contains(title)) {
        // As in the tree: "New Sequence", with the title answered.
        prompt.setSequenceTitleAnswer(title, QString());
        if (!session.triggerAction(QStringLiteral("NewSequence"))
            || !session.sequenceTitles().contains(title)) {
            // The sequencer names the title rule it refused.
            if (prompt.captions().contains(QStringLiteral("Sequence already exists"))) {
            err << "seqrun: the project already has a sequence '" << prompt.answeredTitle()
                << "'; add --force to replace its steps\n";
            return CannotCreate;
        }
        if (prompt.captions().contains(QStringLiteral("Warning")))
                return usage(QStringLiteral("'%1' cannot be a sequence title").arg(title));
            err << "seqrun: the sequence '" << title << "' could not be created\n";
            return InternalError;
        }
        out << "Created sequence '" << title << "'\n";
    }
    session.selectSequence(title);
    prompt.setFileAnswer(fileName);

    OutputLines log(host);
    if (!session.triggerAction(QStringLiteral("ImportSequenceData"))) {
        err << "seqrun: this user may not import sequence lists\n";
        return InternalError;
    }
    for (const QString &line : log.matching(QStringLiteral("(item removed from sequence)"))
                                   + log.matching(QStringLiteral("(characters removed)")))
        err << line << "\n";
    err.flush();
    if (!log.contains(QStringLiteral("Import Sequence List: \"%1\" finished")
                          .arg(QDir::toNativeSeparators(fileName)))) {
        err << "seqrun: " << QDir::toNativeSeparators(fileName)
            << " could not be read as a sequence list\n";
        return DamagedInput;
    }
    if (session.save() != ProjectSession::Outcome::Done) {
        err << "seqrun: " << session.errorString() << "\n";
        return CannotCreate;
    }
    const int listed = listedItems(fileName);
    const int imported = window.stepCount();
    out << "Imported " << imported << " of " << listed << " items into '" << title << "'\n";
    if (imported >= 0 && imported < listed)
        out << droppedText(listed - imported) << "\n";
    return Success;
}

int Seqrun::importLegacy(const QStringList &arguments)
{
    CommandLine line;
    if (const QString problem = parseCommand(arguments, {QStringLiteral("title"), QStringLiteral("instrument")},
                                             {QStringLiteral("force")}, 2,
                                             QStringLiteral("import-sqc takes a project folder and a legacy sequence file"), line);
        !problem.isEmpty())
        return usage(problem);
    const QStringList &positional = line.positional;
    const QMap<QString, QString> &options = line.options;
    const QString fileName = absolute(positional.at(1));
    if (!requireFile(fileName, QStringLiteral("legacy sequence file")))
        return MissingProject;

    CommandSession command;
    if (const int opened = openProject(command, positional.first()); opened != Success)
        return opened;
    WorkbenchHost &host = command.host;
    ConsolePrompt &prompt = command.prompt;
    ProjectSession &session = command.session;
    const QString instrument =
        options.value(QStringLiteral("instrument"), QStringLiteral("Preferred"));
    if (instrument != QLatin1String("Preferred") && !session.project().instrument(instrument)) {
        QStringList names;
        for (const ProjectInstrument &known : session.project().instruments)
            names.append(known.name);
        return usage(QStringLiteral("the project has no instrument '%1'; it has: Preferred%2")
                         .arg(instrument, names.isEmpty() ? QString()
                                                          : QStringLiteral(", ") + names.join(QStringLiteral(", "))));
    }
    prompt.setSequenceTitleAnswer(options.value(QStringLiteral("title")), instrument);
    const bool force = options.contains(QStringLiteral("force"));
    prompt.setAnswer(QStringLiteral("Sequence already exists"), force ? 0 : 1);
    const QStringList titlesBefore = session.sequenceTitles();
    if (!session.sequencer()) {
        err << "seqrun: the sequencer library does not convert legacy sequence files\n";
        return InternalError;
    }

    OutputLines log(host);
    ShownWindow window(host);
    if (!session.sequencer()->importLegacySequence(nullptr, fileName)) {
        if (prompt.captions().contains(QStringLiteral("Loading Sequence..."))) {
            err << "seqrun: " << QDir::toNativeSeparators(fileName)
                << " is not a legacy sequence file this sequencer can read\n";
            return DamagedInput;
        }
        if (prompt.captions().contains(QStringLiteral("Sequence already exists"))) {
            err << "seqrun: the project already has a sequence '" << prompt.answeredTitle()
                << "'; add --force to replace its steps\n";
            return CannotCreate;
        }
        if (prompt.captions().contains(QStringLiteral("Warning")))
            return usage(QStringLiteral("'%1' cannot be a sequence title; give another with --title")
                             .arg(prompt.answeredTitle()));
        return usage(QStringLiteral("the file names no sequence; give it a title with --title"));
    }
    for (const QString &line : log.matching(QStringLiteral(" - Nr. '"))
                                   + log.matching(QStringLiteral("created without a program")))
        err << "seqrun: " << line << "\n";
    if (session.save() != ProjectSession::Outcome::Done) {
        err << "seqrun: " << session.errorString() << "\n";
        return CannotCreate;
    }
    const int dropped = int(log.matching(QStringLiteral("removed from Sequence")).size());
    out << (titlesBefore.contains(prompt.answeredTitle()) ? "Replaced" : "Created") << " sequence '"
        << prompt.answeredTitle() << "' with " << window.stepCount()
        << " steps from " << QDir::toNativeSeparators(fileName) << "\n";
    if (dropped > 0)
        out << droppedText(dropped) << "\n";
    return Success;
}
