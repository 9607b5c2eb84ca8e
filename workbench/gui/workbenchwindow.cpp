#include "workbenchwindow.h"

#include "logpanel.h"
#include "hxisettingspage.h"
#include "logviewservice.h"
#include "mainviewservice.h"
#include "projecttreepanel.h"
#include "projecttreeservice.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The plug-in's actions in the order of its menu, with separators between
// the groups.
const QStringList SequenceActions = {
    QStringLiteral("NewSequence"),        QStringLiteral("ImportSQC"),
    QStringLiteral("OpenSequence"),       QStringLiteral("RenameSequence"),
    QStringLiteral("SequenceProperties"), QStringLiteral("DeleteSequence"),
    QString(),
    QStringLiteral("StartSequence"),      QStringLiteral("StopSequence"),
    QStringLiteral("ContinueSequence"),   QStringLiteral("CancelSequence"),
    QString(),
    QStringLiteral("OpenSequenceReport"), QStringLiteral("OpenSequenceHistory"),
    QStringLiteral("DeleteSequenceHistory"),
    QString(),
    QStringLiteral("ImportSequenceData"), QStringLiteral("ExportSequenceData"),
};
const QStringList RunActions = {QStringLiteral("StartSequence"), QStringLiteral("StopSequence"),
                                QStringLiteral("ContinueSequence"),
                                QStringLiteral("CancelSequence")};
const QStringList Privileges = {QStringLiteral("Developer"), QStringLiteral("Engineer"),
                                QStringLiteral("Technician"), QStringLiteral("Operator")};

} // namespace

WorkbenchWindow::WorkbenchWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("workbench"));
    viewTabs = new QTabWidget(this);
    viewTabs->setObjectName(QStringLiteral("views"));
    viewTabs->setTabsClosable(true);
    viewTabs->setDocumentMode(true);
    setCentralWidget(viewTabs);

    tree = new ProjectTreePanel(workbenchHost.projectTree(), projectSession, this);
    auto *treeDock = new QDockWidget(tr("Project"), this);
    treeDock->setObjectName(QStringLiteral("projectDock"));
    treeDock->setWidget(tree);
    addDockWidget(Qt::LeftDockWidgetArea, treeDock);

    log = new LogPanel(this);
    auto *logDock = new QDockWidget(tr("Log"), this);
    logDock->setObjectName(QStringLiteral("logDock"));
    logDock->setWidget(log);
    addDockWidget(Qt::BottomDockWidgetArea, logDock);

    workbenchHost.projectTree().setChangeListener([this] { tree->scheduleRebuild(); });
    connect(&workbenchHost.logview(), &LogviewService::lineAppended, log, &LogPanel::appendLine);
    connect(&workbenchHost.mainView(), &MainViewService::viewShown, this, &WorkbenchWindow::showView);
    connect(viewTabs, &QTabWidget::currentChanged, this, &WorkbenchWindow::viewChanged);
    connect(viewTabs, &QTabWidget::tabCloseRequested, this, &WorkbenchWindow::closeView);

    createMenus();
    resize(1200, 800);
    updateTitle();
}

WorkbenchWindow::~WorkbenchWindow()
{
    // The plug-in's windows sit in the tabs; they must go while the plug-in
    // library that made them is still loaded.
    viewTabs->disconnect(this);
    projectSession.close();
    workbenchHost.projectTree().setChangeListener({});
}

void WorkbenchWindow::createMenus()
{
    QMenu *project = menuBar()->addMenu(tr("&Project"));
    project->addAction(tr("&Open..."), QKeySequence::Open, this, &WorkbenchWindow::chooseProject);
    project->addAction(tr("&Save"), QKeySequence::Save, this, [this] { saveProject(); });
    project->addAction(tr("&Close"), this, [this] {
        if (offerToSave())
            closeProject();
    });
    project->addSeparator();
    project->addAction(tr("S&ettings..."), this, &WorkbenchWindow::showSettings);
    project->addSeparator();
    project->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    sequenceMenu = menuBar()->addMenu(tr("&Sequence"));
    runToolBar = addToolBar(tr("Run"));
    runToolBar->setObjectName(QStringLiteral("runToolBar"));

    // Who works at the bench decides which actions and options the plug-in
    // offers; the reference host has no log-in, so the user picks.
    QMenu *user = menuBar()->addMenu(tr("&User"));
    privileges = new QActionGroup(this);
    for (const QString &privilege : Privileges) {
        QAction *action = user->addAction(privilege, this, [this, privilege] { setPrivilege(privilege); });
        action->setCheckable(true);
        action->setChecked(privilege == workbenchHost.value(QStringLiteral("UserPrivilege")));
        privileges->addAction(action);
    }
    rebuildSequenceMenu();
}

void WorkbenchWindow::rebuildSequenceMenu()
{
    sequenceMenu->clear();
    runToolBar->clear();
    projectSession.updateActions();
    bool pendingSeparator = false;
    for (const QString &id : SequenceActions) {
        if (id.isEmpty()) {
            pendingSeparator = !sequenceMenu->isEmpty();
            continue;
        }
        QAction *action = projectSession.action(id);
        if (!action)
            continue;   // not for this user, or no project yet
        if (pendingSeparator)
            sequenceMenu->addSeparator();
        pendingSeparator = false;
        sequenceMenu->addAction(action);
        if (RunActions.contains(id) || id == QLatin1String("OpenSequence"))
            runToolBar->addAction(action);
    }
    if (sequenceMenu->isEmpty())
        sequenceMenu->addAction(tr("Open a project to work with its sequences"))->setEnabled(false);
}

void WorkbenchWindow::chooseProject()
{
    const QString directory = QFileDialog::getExistingDirectory(this, tr("Open Project"));
    if (!directory.isEmpty() && offerToSave())
        openProject(directory);
}

bool WorkbenchWindow::openProject(const QString &directory)
{
    // Opening closes the old project, and the sequencer closes its windows
    // with it; their tabs go as they do.
    if (projectSession.open(directory, ProjectSession::Access::WriteIfFree)
        != ProjectSession::Outcome::Done) {
        showError(projectSession.errorString());
        return false;
    }
    if (projectSession.isReadOnly())
        log->appendLine(QStringLiteral("Output"),
                        tr("%1 The project is open read-only.").arg(projectSession.readOnlyReason()));
    rebuildSequenceMenu();
    tree->rebuild();
    updateTitle();
    if (!projectSession.settingsWarning().isEmpty())
        log->appendLine(QStringLiteral("Output"), projectSession.settingsWarning());
    return true;
}

void WorkbenchWindow::showSettings()
{
    VemoInterface::HxiSettingsPage *page = projectSession.settingsPage();
    if (!page) {
        showError(tr("The sequencer's settings can be changed once a project is open."));
        return;
    }
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("settingsDialog"));
    dialog.setWindowTitle(tr("Settings"));
    auto *pages = new QTabWidget(&dialog);
    pages->addTab(page->widget(), page->icon(), page->title());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(pages);
    layout->addWidget(buttons);
    page->widget()->show();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted)
        page->apply();
    else
        page->cancel();
    // The page is the plug-in's, not this dialog's.
    page->widget()->setParent(nullptr);
    if (accepted && projectSession.saveSettings() != ProjectSession::Outcome::Done)
        showError(projectSession.errorString());
}

bool WorkbenchWindow::saveProject()
{
    if (!projectSession.isOpen())
        return true;
    if (projectSession.save() != ProjectSession::Outcome::Done) {
        showError(projectSession.errorString());
        return false;
    }
    statusBar()->showMessage(tr("Project saved"), 3000);
    return true;
}

void WorkbenchWindow::closeProject()
{
    projectSession.close();
    rebuildSequenceMenu();
    tree->rebuild();
    updateTitle();
}

bool WorkbenchWindow::offerToSave()
{
    if (!projectSession.isOpen() || projectSession.isReadOnly())
        return true;
    const auto answer = QMessageBox::question(
        this, tr("ORV Workbench"), tr("Save the project before closing it?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::Discard || saveProject();
}

void WorkbenchWindow::setPrivilege(const QString &privilege)
{
    workbenchHost.setValue(QStringLiteral("UserPrivilege"), privilege);
    rebuildSequenceMenu();
}

void WorkbenchWindow::showView(QWidget *view)
{
    int index = viewTabs->indexOf(view);
    if (index < 0) {
        index = viewTabs->addTab(view, view->windowIcon(), view->windowTitle());
        // The sequencer names its window after the sequence; a rename shows.
        connect(view, &QWidget::windowTitleChanged, viewTabs, [this, view](const QString &title) {
            if (const int at = viewTabs->indexOf(view); at >= 0)
                viewTabs->setTabText(at, title);
        });
    }
    view->show();
    viewTabs->setCurrentIndex(index);
}

void WorkbenchWindow::closeView(int index)
{
    QWidget *view = viewTabs->widget(index);
    // The window may refuse, as a running sequencer does.
    if (view && view->close())
        viewTabs->removeTab(viewTabs->indexOf(view));
}

void WorkbenchWindow::viewChanged(int index)
{
    workbenchHost.mainView().activate(viewTabs->widget(index));
    projectSession.updateActions();
}

void WorkbenchWindow::updateTitle()
{
    setWindowTitle(projectSession.isOpen()
                       ? tr("ORV Workbench - %1%2")
                             .arg(QDir::toNativeSeparators(projectSession.project().directory()),
                                  projectSession.isReadOnly() ? tr(" (read-only)") : QString())
                       : tr("ORV Workbench"));
}

void WorkbenchWindow::showError(const QString &text)
{
    QMessageBox::critical(this, tr("ORV Workbench"), text);
}

void WorkbenchWindow::closeEvent(QCloseEvent *event)
{
    if (!offerToSave()) {
        event->ignore();
        return;
    }
    closeProject();
    event->accept();
}
