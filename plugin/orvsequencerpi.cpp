#include "orvsequencerpi.h"

#include "outputlog.h"

#include "textboundary.h"

#include "hostservice.h"
#include "sequenceeditorwiring.h"
#include "hxiappsequence.h"
#include "hximainmenuex.h"
#include "hxreport.h"
#include "orvsequencermaindialog.h"
#include "runstamp.h"
#include "sequenceelementitem.h"
#include "hxapplicationrenameevent.h"
#include "hxidatabase.h"
#include "hxiprojectapplications.h"
#include "legacysequence.h"
#include "legacysequenceimport.h"
#include "sequencelistexport.h"
#include "sequencelistimport.h"
#include "orvsequencersettingsdialog.h"
#include "reporttexteditv2.h"
#include "sequencehistorydialog.h"
#include "sequencereportdialog.h"
#include "sequencetitledialog.h"
#include "sqcconversion.h"
#include "sqmfile.h"
#include "hximainlogview.h"
#include "hximainprojectex.h"
#include "hximainview.h"
#include "hxisubscribe.h"
#include "hxsequence.h"
#include "sequenceractions.h"
#include "sequencedocument.h"
#include "sequencersettings.h"
#include "sequenceenums.h"
#include "signalmultiplexer.h"
#include "userprivilege.h"
#include "userprompt.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDomElement>
#include <QTime>
#include <QWidget>

using namespace VemoInterface;

namespace {

const QString ObjectType = QStringLiteral("ORV");

// The interfaces the host may ask for, in the order they are compared.
const char *const InterfaceNames[] = {"HxiActions",      "HxiStartup",
                                      "HxiDatabasePersist", "HxiProject",
                                      "HxiArchive",      "HxiSettings",
                                      "HxiORVSequencer", "HxiDatabasePersistStream"};

} // namespace

ORVSequencerPI::ORVSequencerPI(const HostLink &link)
    : link(link),
      settingsRecord(std::make_unique<SequencerSettings>()),
      multiplexer(new SignalMultiplexer()),
      actions(std::make_unique<SequencerActions>())
{
    setObjectName(QStringLiteral("ORVSequencerPI"));
    connectActions();
    registerWithHost();
}

ORVSequencerPI::~ORVSequencerPI()
{
    actions.reset();
    delete multiplexer;
    multiplexer = nullptr;
    // the settings page edits the record: it goes first
    delete settingsDialog;
    settingsRecord.reset();
    qDeleteAll(windows());
    delete reportView;
    delete historyView;
    unsubscribeFromApplicationRenames();
    // the version, the lists and the windows list go with the members
}

void ORVSequencerPI::connectActions()
{
    const struct
    {
        const char *id;
        void (ORVSequencerPI::*slot)();
    } direct[] = {
        {"NewSequence", &ORVSequencerPI::slotNewSequence},
        {"ImportSQC", &ORVSequencerPI::slotImportSQC},
        {"OpenSequence", &ORVSequencerPI::slotOpenSequence},
        {"DeleteSequence", &ORVSequencerPI::slotDeleteSequence},
        {"RenameSequence", &ORVSequencerPI::slotRenameSequence},
        {"OpenSequenceReport", &ORVSequencerPI::slotOpenSequenceReport},
        {"OpenSequenceHistory", &ORVSequencerPI::slotOpenSequenceHistory},
        {"DeleteSequenceHistory", &ORVSequencerPI::slotDeleteSequenceHistory},
        {"ImportSequenceData", &ORVSequencerPI::slotImportSequenceData},
        {"ExportSequenceData", &ORVSequencerPI::slotExportSequenceData},
        {"SequenceProperties", &ORVSequencerPI::slotSequenceProperties},
    };
    for (const auto &entry : direct)
        connect(actions->find(QLatin1String(entry.id)), &QAction::triggered, this, entry.slot);

    // The run actions act on whichever sequencer window is active.
    multiplexer->connect(actions->find(QStringLiteral("StartSequence")), SIGNAL(triggered()),
                         SLOT(slotStartSequence()));
    multiplexer->connect(actions->find(QStringLiteral("StopSequence")), SIGNAL(triggered()),
                         SLOT(slotStopSequence()));
    multiplexer->connect(actions->find(QStringLiteral("ContinueSequence")), SIGNAL(triggered()),
                         SLOT(slotContinueSequence()));
    multiplexer->connect(actions->find(QStringLiteral("CancelSequence")), SIGNAL(triggered()),
                         SLOT(slotCancelSequence()));
}

void ORVSequencerPI::registerWithHost()
{
    if (HostService<HxiMainProjectEx> project(link, QStringLiteral("HxiMainProjectEx")); project) {
        project->registerObjectType(ObjectType, QStringLiteral("ORVSequencerIcon.png"),
                                    {QStringLiteral("Name")});
    }
    if (HostService<HxiMainView> view(link, QStringLiteral("HxiMainView")); view)
        view->connectActivated(multiplexer, SLOT(setCurrentObject(QWidget*)));
}

// --- HxiUnknown --------------------------------------------------------------

void ORVSequencerPI::addRef()
{
    ++refCount;
}

void ORVSequencerPI::release()
{
    if (refCount-- == 1)
        delete this;
}

HxiResult ORVSequencerPI::queryInterface(const QString &name, void **result)
{
    if (!result)
        return HxiNotAvailable;
    void *found = nullptr;
    if (name == QLatin1String(InterfaceNames[0]))
        found = static_cast<HxiActions *>(this);
    else if (name == QLatin1String(InterfaceNames[1]))
        found = static_cast<HxiStartup *>(this);
    else if (name == QLatin1String(InterfaceNames[2]))
        found = static_cast<HxiDatabasePersist *>(this);
    else if (name == QLatin1String(InterfaceNames[3]))
        found = static_cast<HxiProject *>(this);
    else if (name == QLatin1String(InterfaceNames[4]))
        found = static_cast<HxiArchive *>(this);
    else if (name == QLatin1String(InterfaceNames[5]))
        found = static_cast<HxiSettings *>(this);
    else if (name == QLatin1String(InterfaceNames[6]))
        found = static_cast<HxiORVSequencer *>(this);
    else if (name == QLatin1String(InterfaceNames[7]))
        found = static_cast<HxiDatabasePersistStream *>(this);
    if (!found)
        return HxiNotAvailable;
    *result = found;
    addRef();
    return HxiOk;
}

void *ORVSequencerPI::castByName(const char *className)
{
    if (!className)
        return nullptr;
    if (qstrcmp(className, "ORVSequencerPI") == 0)
        return this;
    void *found = nullptr;
    for (const char *name : InterfaceNames) {
        if (qstrcmp(className, name) == 0) {
            // the same pointer the host gets, without taking a reference
            if (queryInterface(QLatin1String(name), &found) == HxiOk)
                --refCount;
            return found;
        }
    }
    return qt_metacast(className);
}

// --- HxiActions --------------------------------------------------------------

QAction *ORVSequencerPI::action(const QString &id)
{
    if (actions->isDeveloperOnly(id) && !isDeveloper())
        return nullptr;
    return actions->find(id);
}

QWidget *ORVSequencerPI::createWindow(const QString &name)
{
    if (name != QLatin1String("ORV Sequencer"))
        return nullptr;
    auto *window = new ORVSequencerMainDialog(this, QString(), QString());
    trackWindow(window);
    return window;
}

void ORVSequencerPI::trackWindow(ORVSequencerMainDialog *window)
{
    openWindows.append(window);
    connect(window, &QObject::destroyed, this, [this, window] {
        openWindows.removeAll(window);
        openWindows.removeAll(nullptr);
        if (currentWindow == window)
            currentWindow = nullptr;
    });
    connect(window, &ORVSequencerMainDialog::message, this, &ORVSequencerPI::message);
    SequenceEditorWiring::connectWindow(window, link, actions->find(QStringLiteral("StartSequence")));
}

QList<ORVSequencerMainDialog *> ORVSequencerPI::windows() const
{
    QList<ORVSequencerMainDialog *> result;
    for (const auto &window : openWindows) {
        if (window)
            result.append(window);
    }
    return result;
}

ORVSequencerMainDialog *ORVSequencerPI::openSequenceWindow(const QString &title)
{
    HostService<HxiMainView> view(link, QStringLiteral("HxiMainView"));
    for (ORVSequencerMainDialog *window : windows()) {
        if (window->sequenceName() == title) {
            if (view)
                view->showView(window);
            return window;
        }
    }
    HxSequence *sequence = sequenceList.find(title);
    if (!sequence)
        return nullptr;
    auto *window = new ORVSequencerMainDialog(this, title, sequence->description(), dialogParent());
    trackWindow(window);
    if (!window->loadSequence(sequence)) {
        delete window;
        return nullptr;
    }
    if (view) {
        view->showView(window);
        view->connectActivated(this, SLOT(activated(QWidget*)));
    }
    return window;
}

ORVSequencerMainDialog *ORVSequencerPI::runningWindow() const
{
    return activeRunWindow;
}

void ORVSequencerPI::setRunningWindow(ORVSequencerMainDialog *window)
{
    activeRunWindow = window;
}

HxSequence *ORVSequencerPI::findSequence(const QString &title) const
{
    return sequenceList.find(title);
}

void ORVSequencerPI::registerReport(const QString &sequenceTitle, const QString &fileName,
                                    const RunStamp &stamp)
{
    const QString title = stamp.historyTitle();
    if (HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx")); tree)
        treeEntries.addHistoryEntry(tree.get(), sequenceTitle, title);
    reportList.append(new HxReport(sequenceTitle, title, fileName));
}

void ORVSequencerPI::showLiveReport(const QString &sequenceTitle, const QString &html)
{
    liveReportTitle = sequenceTitle;
    liveReportText = html;
    updateLiveReportView();
}

void ORVSequencerPI::appendLiveReport(const QString &sequenceTitle, const QString &html)
{
    if (sequenceTitle != liveReportTitle) {
        showLiveReport(sequenceTitle, html);
        return;
    }
    liveReportText += html;
    if (reportView && reportView->sequenceTitle() == sequenceTitle)
        reportView->appendLiveReport(html);
    else
        updateLiveReportView();
}

void ORVSequencerPI::updateLiveReportView()
{
    if (reportView)
        reportView->showLiveReport(liveReportTitle, liveReportText, sequenceFolder(liveReportTitle));
}

QString ORVSequencerPI::sequenceFolder(const QString &title) const
{
    const QString project = projectDirectory();
    if (project.isEmpty() || title.isEmpty())
        return QString();
    return QDir(project).filePath(QStringLiteral("Sequences/") + TextBoundary::sequenceFolderName(title));
}

void ORVSequencerPI::showReportView(QDialog *view)
{
    if (HostService<HxiMainView> host(link, QStringLiteral("HxiMainView")); host) {
        host->showView(view);
        host->connectActivated(this, SLOT(activated(QWidget*)));
    }
    // Start, Stop, Continue and Cancel act on sequencer windows only.
    multiplexer->setCurrentObject(view);
    updateActions();
}

void ORVSequencerPI::connectApplicationSignals(const QString &action, const QString &provider)
{
    if (action.isEmpty())
        return;
    HostService<HxiAppSequence> module(link, QStringLiteral("HxiAppSequence"), provider);
    if (!module)
        return;
    module->connectJobFinished(this, SLOT(AppExecFinished(HxmJob*,QString,int)));
    module->connectStdout(this, SLOT(OnExecStdout(HxmJob*,QString)));
    module->connectStderr(this, SLOT(OnExecStderr(HxmJob*,QString)));
}

// --- HxiStartup --------------------------------------------------------------

void ORVSequencerPI::updateActions()
{
    currentWindow = qobject_cast<ORVSequencerMainDialog *>(multiplexer->currentObject());
    bool projectOpen = false;
    {
        HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
        projectOpen = static_cast<bool>(database);
    }
    QAction *start = actions->find(QStringLiteral("StartSequence"));
    QAction *stop = actions->find(QStringLiteral("StopSequence"));
    QAction *resume = actions->find(QStringLiteral("ContinueSequence"));
    QAction *cancel = actions->find(QStringLiteral("CancelSequence"));
    QAction *newSequence = actions->find(QStringLiteral("NewSequence"));
    QAction *importSqc = actions->find(QStringLiteral("ImportSQC"));
    if (!currentWindow || !projectOpen) {
        for (QAction *action : {start, stop, resume, cancel})
            action->setEnabled(false);
        const bool mayCreate = projectOpen && isDeveloper();
        newSequence->setEnabled(mayCreate);
        importSqc->setEnabled(mayCreate);
        return;
    }
    const bool restricted = isOperator() || isEngineer() || isTechnician();
    newSequence->setEnabled(!restricted);
    importSqc->setEnabled(!restricted);
    stop->setEnabled(!currentWindow->isStopped());
    start->setEnabled(!currentWindow->isBusy() && currentWindow->hasSteps() && !activeRunWindow);
    resume->setEnabled(!currentWindow->isContinueLocked());
    cancel->setEnabled(!currentWindow->isCancelLocked());
    currentWindow->applyButtonStates(start->isEnabled(), stop->isEnabled(), resume->isEnabled(),
                                     cancel->isEnabled());
}

// --- HxiDatabasePersist ------------------------------------------------------

void ORVSequencerPI::writeLegacyCopy(const HxSequence &sequence, const QString &projectFolder,
                                     const QString &projectText) const
{
    const QString title = sequence.title();
    saveLegacySequence(link, legacySequenceFileName(projectFolder, title),
                       SqcConversion::NoInstrument, title,
                       legacySequenceFolder(projectFolder, title), sequence, projectText);
}

SequenceDocument ORVSequencerPI::documentForSave()
{
    // The document holds what the windows show.
    for (ORVSequencerMainDialog *window : windows())
        window->writeSequence(sequenceList.find(window->sequenceName()));
    SequenceDocument document(link, sequenceList, reportList);
    document.setLegacyCopyWriter(
        [this](const HxSequence &sequence, const QString &projectFolder, const QString &projectText) {
            writeLegacyCopy(sequence, projectFolder, projectText);
        });
    return document;
}

bool ORVSequencerPI::save(QDomElement &root)
{
    documentForSave().save(root);
    return true;
}

bool ORVSequencerPI::load(QDomElement &root)
{
    SequenceDocument document(link, sequenceList, reportList);
    treeEntries.clear();
    document.load(root, version);
    subscribeToApplicationRenames();
    return true;
}

bool ORVSequencerPI::saveTo(QXmlStreamWriter &writer, QString &problem)
{
    return documentForSave().save(writer, problem);
}

bool ORVSequencerPI::loadFrom(QXmlStreamReader &reader)
{
    SequenceDocument document(link, sequenceList, reportList);
    treeEntries.clear();
    document.load(reader, version);
    subscribeToApplicationRenames();
    return true;
}

// --- HxiProject --------------------------------------------------------------

bool ORVSequencerPI::buildTree(const QString &parent)
{
    if (!parent.isEmpty())
        return true;
    QString projectFolder;
    if (HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database)
        projectFolder = database->projectDirectory();
    treeEntries.build(link, sequenceList, reportList, projectFolder, isDeveloper());
    return true;
}

bool ORVSequencerPI::removeObject(const QString &type, const QString &name)
{
    if (type == QLatin1String("ClearAll")) {
        for (ORVSequencerMainDialog *window : windows())
            delete window;
        // the report views show the project that closes
        delete reportView;
        delete historyView;
        liveReportTitle.clear();
        liveReportText.clear();
        sequenceList.clear();
        reportList.clear();
        treeEntries.clear();
        return false;
    }
    if (type == ObjectType) {
        // The host took the entry out of its tree; the plug-in's records of
        // it go too, and with them the window, views and reports.
        if (const ProjectTreeEntries::Entry *entry = treeEntries.findSequence(name)) {
            removeSequence(entry->handle);
            return true;
        }
        if (HxSequence *sequence = sequenceList.find(name)) {
            for (ORVSequencerMainDialog *window : windows()) {
                if (window->sequenceName() == name)
                    delete window;
            }
            reportList.removeSequence(name);
            sequenceList.remove(sequence);
        }
        return true;
    }
    return false;
}

// --- HxiSettings -------------------------------------------------------------

HxiSettingsPage *ORVSequencerPI::settingsPage()
{
    // One page, made on first use; every later request shows the record
    // afresh, dropping what a cancelled dialog left in the widgets.
    if (!settingsDialog)
        settingsDialog = new ORVSequencerSettingsDialog(link, settingsRecord.get());
    else
        settingsDialog->fill();
    return settingsDialog;
}

bool ORVSequencerPI::saveSettings(QDomElement &parent)
{
    settingsRecord->save(parent);
    return true;
}

bool ORVSequencerPI::loadSettings(QDomElement &parent)
{
    settingsRecord->load(parent);
    return true;
}

// --- HxiArchive --------------------------------------------------------------

HxArchiveItemList ORVSequencerPI::archiveItems()
{
    HxArchiveItemList items;
    HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
    if (!database)
        return items;
    const QString projectFolder = database->projectDirectory();
    const QString projectText = database->projectName();
    HxiProjectApplications *applications = database->applications();
    for (const HxSequence *sequence : sequenceList) {
        const QString title = sequence->title();
        writeLegacyCopy(*sequence, projectFolder, projectText);
        const QString sqc = legacySequenceFileName(projectFolder, title);
        items.append({title, QDir::toNativeSeparators(sqc), 1, 17});
        items.append({title, QDir::toNativeSeparators(SqmFile::companionFileName(sqc)), 1, 17});
        for (const HxSequenceItemPtr &item : sequence->items()) {
            if (item->kind() != ItemType::Application || !applications)
                continue;
            const auto application = applications->application(item->columnItem);
            if (!application)
                continue;
            const QString image = application->convertFileNameRelativeApplicationPathToAbsolutePath(
                item->parameters.value(QStringLiteral("ImageLoadFileName")));
            if (!image.isEmpty())
                items.append({title, image, 1000, 5});
        }
    }
    if (applications)
        applications->release();
    return items;
}

// --- HxiORVSequencer ---------------------------------------------------------

bool ORVSequencerPI::importLegacySequence(QWidget *parent, const QString &fileName)
{
    const std::optional<SqcFile> file = loadLegacySequence(link, parent, fileName);
    if (!file)
        return false;

    // A fixed-size field of an old file may carry blanks around the name.
    QString title = file->header().windowName.trimmed();
    QString description;
    QString instrument;
    QStringList titles = sequenceList.titles();
    for (const ORVSequencerMainDialog *window : windows())
        titles.append(window->sequenceName());
    if (!SequenceTitleDialog::ask(link, parent, SequenceTitleDialog::NewFromLegacyFile, titles,
                                  title, description, instrument))
        return false;
    title = title.trimmed();
    if (instrument.isEmpty())
        instrument = QStringLiteral("Preferred");
    // A sequence's steps are never replaced without asking.
    //: %1 = Sequence Title, %2 = File Name
    if (sequenceList.find(title)
        && !UserPrompt(link, parent).question(
            tr("Sequence already exists"),
            tr("The project already has a sequence '%1'.\nDo you want to replace its steps with "
               "those of \"%2\"?")
                .arg(title, QDir::toNativeSeparators(fileName)),
            false))
        return false;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    LegacySequenceImport conversion(link, title, instrument);
    std::unique_ptr<HxSequence> converted = conversion.convert(*file, description);
    if (HxSequence *existing = sequenceList.find(title)) {
        // Taken over in place: an open window keeps pointing at it.
        *existing = *converted;
    } else {
        sequenceList.append(converted.release());
        if (HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx")); tree)
            treeEntries.addSequence(tree.get(), title);
    }
    if (windowFor(title))
        reloadWindow(title);
    else
        openSequenceWindow(title);
    QApplication::restoreOverrideCursor();
    return true;
}

// --- privileges and log ------------------------------------------------------

bool ORVSequencerPI::isDeveloper() const
{
    return UserPrivilege(link).isDeveloper();
}

bool ORVSequencerPI::isEngineer() const
{
    return UserPrivilege(link).isEngineer();
}

bool ORVSequencerPI::isTechnician() const
{
    return UserPrivilege(link).isTechnician();
}

bool ORVSequencerPI::isOperator() const
{
    return UserPrivilege(link).isOperator();
}

QString ORVSequencerPI::userLogin() const
{
    return UserPrivilege(link).userLogin();
}

// Log lines are HTML; OutputLog writes them in the one format the log
// shows and keeps what a user typed from being read as markup.
void ORVSequencerPI::logMessage(const QString &text) const
{
    OutputLog(link).message(text);
}

void ORVSequencerPI::logWarning(const QString &text) const
{
    OutputLog(link).warning(text);
}

void ORVSequencerPI::reportNotAvailable(const QString &command) const
{
    //: %1 = the command the user chose
    logWarning(tr("ORV Sequencer - '%1' is not available in this version.").arg(command));
}

// --- slots ---------------------------------------------------------------------

void ORVSequencerPI::message(const QString &text)
{
    HostService<HxiMainLogview> log(link, QStringLiteral("HxiMainLogview"));
    if (log)
        log->appendLine(QStringLiteral("ORV Sequencer"), text);
}

void ORVSequencerPI::activated(QWidget *window)
{
    currentWindow = qobject_cast<ORVSequencerMainDialog *>(window);
}

void ORVSequencerPI::slotClose()
{
    if (ORVSequencerMainDialog *window = currentWindow.data()) {
        if (window == activeRunWindow)
            return;   // a running sequence keeps its window
        currentWindow = nullptr;
        window->close();
        delete window;
    }
}

void ORVSequencerPI::slotNewSequence()
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    if (!tree)
        return;
    QString title = nextSequenceTitle(takenTitles());
    QString description;
    QString instrument;
    if (!SequenceTitleDialog::ask(link, dialogParent(), SequenceTitleDialog::NewSequence, takenTitles(),
                                  title, description, instrument))
        return;
    title = title.trimmed();
    if (takenTitles().contains(title)) {
        // A host that answers the dialog itself is not kept from a taken title.
        UserPrompt(link, dialogParent()).warning(tr("Warning"), tr("A sequence '%1' exists already.").arg(title));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto sequence = std::make_unique<HxSequence>(title, description);
    sequence->setExecuteMode(int(ExecuteMode::WholeSequence));
    sequence->setRepeatCount(1);
    sequenceList.append(sequence.release());
    treeEntries.addSequence(tree.get(), title);
    openSequenceWindow(title);
    QApplication::restoreOverrideCursor();
    //: %1 = Sequence Title
    logMessage(tr("ORV Sequencer '%1' - New Sequence created").arg(title));
}

QString ORVSequencerPI::nextSequenceTitle(const QStringList &titles)
{
    const QString prefix = QStringLiteral("Sequence ");
    qulonglong largest = 0;
    for (const QString &title : titles) {
        if (!title.startsWith(prefix))
            continue;
        const QString rest = QString(title).remove(prefix);
        bool number = !rest.isEmpty();
        for (const QChar c : rest)
            number = number && c.isDigit() && c.unicode() < 128;
        if (number)
            largest = qMax(largest, rest.toULongLong());
    }
    return prefix + QString::number(largest + 1);
}

QWidget *ORVSequencerPI::dialogParent() const
{
    HostService<HxiMainMenuEx> menu(link, QStringLiteral("HxiMainMenuEx"));
    return menu ? menu->mainWindow() : nullptr;
}

QStringList ORVSequencerPI::takenTitles() const
{
    QStringList titles = sequenceList.titles();
    for (const ORVSequencerMainDialog *window : windows()) {
        if (!titles.contains(window->sequenceName()))
            titles.append(window->sequenceName());
    }
    return titles;
}

const ProjectTreeEntries::Entry *ORVSequencerPI::selectedEntry(const QString &kind) const
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    const ProjectTreeEntries::Entry *entry = tree ? treeEntries.find(tree->selectedEntry(kind)) : nullptr;
    return entry && entry->kind == kind ? entry : nullptr;
}

bool ORVSequencerPI::refuseWhileRunning(const QString &title, const QString &firstLine,
                                        const QString &secondLine) const
{
    const ORVSequencerMainDialog *window = windowFor(title);
    if (!window || !window->isBusy())
        return false;
    UserPrompt(link, dialogParent()).warning(tr("Warning"), firstLine.arg(title) + QLatin1Char('\n')
                                                                + secondLine.arg(title));
    return true;
}

void ORVSequencerPI::removeSequence(HxiTreeHandle handle)
{
    const ProjectTreeEntries::Entry *entry = treeEntries.find(handle);
    if (!entry)
        return;
    const QString title = entry->text;
    treeEntries.forgetSequence(title);
    if (ORVSequencerMainDialog *window = windowFor(title)) {
        if (currentWindow == window)
            currentWindow = nullptr;
        delete window;
    }
    if (HxSequence *sequence = sequenceList.find(title))
        sequenceList.remove(sequence);
    if (liveReportTitle == title) {
        liveReportTitle.clear();
        liveReportText.clear();
        if (reportView)
            reportView->close();
        updateLiveReportView();
    }
    if (historyView && historyView->sequenceTitle() == title) {
        historyView->viewer().clearContents();
        historyView->close();
    }
    reportList.removeSequence(title);
}

void ORVSequencerPI::slotOpenSequence()
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    if (!tree)
        return;
    const ProjectTreeEntries::Entry *entry = treeEntries.find(tree->selectedEntry(QStringLiteral("Sequence")));
    if (!entry || !sequenceList.find(entry->text)) {
        UserPrompt(link).warning(tr("Sequence not found"), tr("Sequence not found"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    openSequenceWindow(entry->text);
    QApplication::restoreOverrideCursor();
}

void ORVSequencerPI::slotDeleteSequence()
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    if (!tree)
        return;
    const QList<HxiTreeHandle> selected = tree->selectedEntries(QStringLiteral("Sequence"));
    if (selected.isEmpty())
        return;
    if (!UserPrompt(link, dialogParent())
             .question(tr("Delete Sequence(s)?"), tr("Are you sure you want to delete these Sequence(s)?"), false))
        return;
    for (const HxiTreeHandle handle : selected) {
        const ProjectTreeEntries::Entry *entry = treeEntries.find(handle);
        if (!entry)
            continue;
        // A running sequence keeps its window, and so its place in the project.
        if (refuseWhileRunning(entry->text, tr("Can't delete sequence: '%1' while executing."),
                               tr("Please finish or cancel sequence: '%1' first before deleting.")))
            continue;
        //: %1 = Sequence Title
        logMessage(tr("ORV Sequencer '%1' - Sequence deleted").arg(entry->text));
        removeSequence(handle);
        tree->removeTreeEntry(handle, true);
    }
}

void ORVSequencerPI::slotRenameSequence()
{
    const ProjectTreeEntries::Entry *entry = selectedEntry(QStringLiteral("Sequence"));
    if (!entry || !sequenceList.find(entry->text)) {
        UserPrompt(link, dialogParent()).warning(tr("Warning"), tr("Sequence not found"));
        return;
    }
    const QString oldTitle = entry->text;
    if (refuseWhileRunning(oldTitle, tr("Can't rename sequence: '%1' while executing."),
                           tr("Please finish or cancel sequence: '%1' first before renaming.")))
        return;
    QString title = oldTitle;
    QString description = sequenceList.find(oldTitle)->description();
    QString instrument;
    QStringList others = takenTitles();
    others.removeAll(oldTitle);
    if (!SequenceTitleDialog::ask(link, dialogParent(), SequenceTitleDialog::Rename, others, title,
                                  description, instrument))
        return;
    title = title.trimmed();
    if (title == oldTitle)
        return;
    if (others.contains(title)) {
        UserPrompt(link, dialogParent()).warning(tr("Warning"), tr("A sequence '%1' exists already.").arg(title));
        return;
    }
    renameSequence(oldTitle, title);
}

void ORVSequencerPI::renameSequence(const QString &oldTitle, const QString &newTitle)
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    const ProjectTreeEntries::Entry *entry = treeEntries.findSequence(oldTitle);
    if (!tree || !entry)
        return;
    const HxiTreeHandle oldHandle = entry->handle;
    HxSequence *sequence = sequenceList.find(oldTitle);
    if (ORVSequencerMainDialog *window = windowFor(oldTitle)) {
        // The window takes the new title and stores its sequence under it.
        window->setSequenceName(newTitle);
        window->writeSequence(sequence);
    } else {
        sequence->setTitle(newTitle);
    }
    // The old title's entries and reports go; the renamed sequence starts a
    // history of its own (its reports stay on disk in the old folder).
    treeEntries.addSequence(tree.get(), newTitle);
    removeSequence(oldHandle);
    tree->removeTreeEntry(oldHandle, true);
    //: %1 = old Sequence Title, %2 = new Sequence Title
    logMessage(tr("ORV Sequencer '%1' - Sequence renamed to '%2'").arg(oldTitle, newTitle));
}

void ORVSequencerPI::slotOpenSequenceReport()
{
    if (!reportView) {
        reportView = new SequenceReportDialog();
        connect(reportView.data(), &SequenceReportDialog::message, this, &ORVSequencerPI::message);
        updateLiveReportView();
    }
    showReportView(reportView);
}

void ORVSequencerPI::slotOpenSequenceHistory()
{
    if (!historyView) {
        historyView = new SequenceHistoryDialog();
        connect(historyView.data(), &SequenceHistoryDialog::message, this, &ORVSequencerPI::message);
    }
    showReportView(historyView);
    const ProjectTreeEntries::Entry *entry = selectedEntry(QStringLiteral("SequenceHistory"));
    // "ORV Sequences" / sequence title / "Sequence Report History"
    const QString title = entry ? entry->parentPath.value(1) : QString();
    const HxReport *report = entry ? reportList.find(title, entry->text) : nullptr;
    if (!report) {
        UserPrompt(link, dialogParent()).warning(tr("Report not found"), tr("Report not found"));
        return;
    }
    const QString folder = sequenceFolder(title);
    if (folder.isEmpty())
        return;
    QFile file(QDir(folder).filePath(report->fileName));
    if (!file.open(QIODevice::ReadOnly))
        return;   // a report file that went away leaves the view as it was
    // The report is read line by line, the lines joined without a separator.
    QString text;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        text += QString::fromUtf8(line);
    }
    historyView->showHistoryReport(title, report->title, text, folder);
}

void ORVSequencerPI::slotDeleteSequenceHistory()
{
    HostService<HxiMainProjectEx> tree(link, QStringLiteral("HxiMainProjectEx"));
    if (!tree)
        return;
    const QList<HxiTreeHandle> selected = tree->selectedEntries(QStringLiteral("SequenceHistory"));
    if (selected.isEmpty())
        return;
    if (!UserPrompt(link, dialogParent())
             .question(tr("Delete Report(s)?"), tr("Are you sure you want to delete these Report(s)?"), false))
        return;
    for (const HxiTreeHandle handle : selected) {
        const ProjectTreeEntries::Entry *entry = treeEntries.find(handle);
        if (!entry)
            continue;
        deleteReport(*entry, settingsRecord->removeReports);
        treeEntries.remove(tree.get(), handle);
    }
}

void ORVSequencerPI::deleteReport(const ProjectTreeEntries::Entry &entry, bool withFiles)
{
    // "ORV Sequences" / sequence title / "Sequence Report History"
    const QString sequenceTitle = entry.parentPath.value(1);
    HxReport *report = reportList.find(sequenceTitle, entry.text);
    if (!report)
        return;
    const QString fileName = report->fileName;
    reportList.remove(report);
    const QString folder = this->sequenceFolder(sequenceTitle);
    if (!withFiles || folder.isEmpty() || fileName.isEmpty())
        return;
    // The report file and the run folder of the same name beside it.
    const QDir sequenceFolder(folder);
    QFile::remove(sequenceFolder.filePath(fileName));
    const QString runFolder = QFileInfo(fileName).completeBaseName();
    if (!runFolder.isEmpty())
        QDir(sequenceFolder.filePath(runFolder)).removeRecursively();
}

void ORVSequencerPI::slotImportSequenceData()
{
    if (!importSequenceList())
        UserPrompt(link).warning(tr("Import Sequence List failed"),
                                 tr("Failed to import sequence list"));
}

void ORVSequencerPI::slotExportSequenceData()
{
    if (!exportSequenceList())
        UserPrompt(link).warning(tr("Export Sequence List failed"),
                                 tr("Failed to export sequence list"));
}

void ORVSequencerPI::slotImportSQC()
{
    QWidget *parent = dialogParent();
    const QString fileName = UserPrompt(link, parent).openFileName(
        tr("Choose a SQC file"), QString(), tr("Sequence Files") + QStringLiteral(" (*.sqc)"));
    if (!fileName.isEmpty())
        importLegacySequence(parent, fileName);
}

// --- sequence lists ------------------------------------------------------------

ORVSequencerMainDialog *ORVSequencerPI::windowFor(const QString &title) const
{
    for (ORVSequencerMainDialog *window : windows()) {
        if (window->sequenceName() == title)
            return window;
    }
    return nullptr;
}

void ORVSequencerPI::reloadWindow(const QString &title)
{
    ORVSequencerMainDialog *window = windowFor(title);
    if (window && !window->loadSequence(sequenceList.find(title)))
        delete window;
}

QString ORVSequencerPI::projectDirectory() const
{
    HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
    return database ? database->projectDirectory() : QString();
}

HxSequence *ORVSequencerPI::selectedSequence(QWidget *&parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    parent = dialogParent();
    const ProjectTreeEntries::Entry *entry = selectedEntry(QStringLiteral("Sequence"));
    HxSequence *sequence = nullptr;
    if (entry) {
        // What the window shows is what goes out.
        if (ORVSequencerMainDialog *window = windowFor(entry->text))
            window->writeSequence(sequenceList.find(entry->text));
        sequence = sequenceList.find(entry->text);
    }
    QApplication::restoreOverrideCursor();
    if (!sequence)
        UserPrompt(link, parent).warning(tr("Sequence not found"), tr("Sequence not found!"));
    return sequence;
}

HxSequence *ORVSequencerPI::selectedSequenceInProject(QWidget *&parent, QString &folder)
{
    HxSequence *sequence = selectedSequence(parent);
    if (!sequence)
        return nullptr;
    folder = projectDirectory();
    return folder.isEmpty() ? nullptr : sequence;
}

bool ORVSequencerPI::exportSequenceList()
{
    QWidget *parent = nullptr;
    QString folder;
    HxSequence *sequence = selectedSequenceInProject(parent, folder);
    if (!sequence)
        return false;
    const SequenceListExport exporter(link, parent);
    const QString fileName = exporter.chooseFile(sequence->title(), folder);
    if (fileName.isEmpty())
        return true;
    return exporter.write(*sequence, fileName) != SequenceListExport::Result::Failed;
}

bool ORVSequencerPI::importSequenceList()
{
    QWidget *parent = nullptr;
    QString folder;
    HxSequence *sequence = selectedSequenceInProject(parent, folder);
    if (!sequence)
        return false;
    const SequenceListImport importer(link, parent);
    const QString fileName = importer.chooseFile(folder);
    if (fileName.isEmpty())
        return true;

    const QString title = sequence->title();
    importer.announce(title, fileName);
    if (!windowFor(title))
        openSequenceWindow(title);
    const SequenceListImport::Result result = importer.read(title, fileName);
    if (result.outcome != SequenceListImport::Result::Outcome::Read)
        return true;
    importer.finish(title, fileName);
    if (HxSequence *target = sequenceList.find(title))
        target->setItems(result.items);
    reloadWindow(title);
    return true;
}

void ORVSequencerPI::slotSequenceProperties()
{
    const ProjectTreeEntries::Entry *entry = selectedEntry(QStringLiteral("Sequence"));
    HxSequence *sequence = entry ? sequenceList.find(entry->text) : nullptr;
    if (!sequence) {
        UserPrompt(link, dialogParent()).warning(tr("Sequence not found"), tr("Sequence not found"));
        return;
    }
    QString title = sequence->title();
    QString description = sequence->description();
    QString instrument;
    QStringList others = takenTitles();
    others.removeAll(title);
    if (!SequenceTitleDialog::ask(link, dialogParent(), SequenceTitleDialog::Properties, others, title,
                                  description, instrument))
        return;
    sequence->setDescription(description);
    if (ORVSequencerMainDialog *window = windowFor(sequence->title()))
        window->setSequenceDescription(description);
}

// A job's end or output only matters to a window that is running a
// sequence; a window whose run was cancelled or has finished lets go of it.
ORVSequencerMainDialog *ORVSequencerPI::windowToContinue()
{
    if (!activeRunWindow)
        return nullptr;
    if (activeRunWindow->isCancelLocked()) {
        activeRunWindow = nullptr;
        updateActions();
        return nullptr;
    }
    return activeRunWindow;
}

void ORVSequencerPI::AppExecFinished(HxmJob *job, const QString &message, int exitCode)
{
    if (ORVSequencerMainDialog *window = windowToContinue())
        window->applicationFinished(job, message, exitCode);
}

void ORVSequencerPI::OperationExecFinished()
{
    if (ORVSequencerMainDialog *window = windowToContinue())
        window->operationFinished();
}

void ORVSequencerPI::CommandExecFinished(HxmJob *job, const QString &message, int exitCode)
{
    if (ORVSequencerMainDialog *window = windowToContinue())
        window->commandFinished(job, message, exitCode);
}

void ORVSequencerPI::SetSlots(const QString &action)
{
    connectApplicationSignals(action, QString());
}

void ORVSequencerPI::SlotIOPinsProcessReady(HxmJob *, const QString &, int)
{
    // I/O-pin steps end before they start a job in this version.
}

void ORVSequencerPI::ResetInstrumentReady(HxmJob *, const QString &, int exitCode)
{
    if (ORVSequencerMainDialog *window = windowToContinue())
        window->resetFinished(exitCode);
}

void ORVSequencerPI::OnExecStdout(HxmJob *, const QString &text)
{
    if (activeRunWindow)
        activeRunWindow->jobOutput(text, false);
}

void ORVSequencerPI::OnExecStderr(HxmJob *, const QString &text)
{
    if (activeRunWindow)
        activeRunWindow->jobOutput(text, true);
}

// --- application renames -------------------------------------------------------

void ORVSequencerPI::subscribeToApplicationRenames()
{
    if (HostService<HxiSubscribe> subscribe(link, QStringLiteral("HxiSubscribe")); subscribe)
        subscribe->subscribe(this, HxApplicationRenameEvent::EventType);
}

void ORVSequencerPI::unsubscribeFromApplicationRenames()
{
    if (HostService<HxiSubscribe> subscribe(link, QStringLiteral("HxiSubscribe")); subscribe)
        subscribe->unsubscribe(this);
}

void ORVSequencerPI::customEvent(QEvent *event)
{
    if (event->type() != QEvent::Type(HxApplicationRenameEvent::EventType))
        return;
    const auto *rename = static_cast<HxApplicationRenameEvent *>(event);
    renameApplication(rename->oldName, rename->newName);
}

void ORVSequencerPI::renameApplication(const QString &oldName, const QString &newName)
{
    for (HxSequence *sequence : sequenceList) {
        bool renamed = false;
        for (const HxSequenceItemPtr &item : sequence->items()) {
            if (item->kind() == ItemType::Application && item->columnItem == oldName) {
                item->columnItem = newName;
                renamed = true;
            }
        }
        if (!renamed)
            continue;
        for (ORVSequencerMainDialog *window : windows()) {
            if (window->sequenceName() == sequence->title())
                window->renameApplication(oldName, newName);
        }
    }
}
