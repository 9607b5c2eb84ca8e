#pragma once

#include "projectsession.h"
#include "workbenchhost.h"

#include <QMainWindow>

class LogPanel;
class ProjectTreePanel;
class QActionGroup;
class QMenu;
class QTabWidget;
class QToolBar;
class QUndoStack;

// The desktop host: the project tree on the left, the plug-in's views
// (sequencer windows) as tabs in the middle, the log below, and the
// plug-in's actions in the "Sequence" menu and the tool bar. A person sits
// in front of it, so the plug-in shows its own dialogs.
class WorkbenchWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit WorkbenchWindow(QWidget *parent = nullptr);
    ~WorkbenchWindow() override;

    // Opens the project folder; on failure says why and keeps what was open.
    bool openProject(const QString &directory);
    bool saveProject();

    WorkbenchHost &host() { return workbenchHost; }
    ProjectSession &session() { return projectSession; }
    ProjectTreePanel &projectTree() const { return *tree; }
    LogPanel &logPanel() const { return *log; }
    QTabWidget &views() const { return *viewTabs; }
    // The history of the sequence shown now; null when there is none or it
    // is running.
    QUndoStack *currentUndoStack() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void rebuildSequenceMenu();
    void chooseProject();
    // The host's settings dialog with the sequencer's page; OK stores them.
    void showSettings();
    void closeProject();
    void setPrivilege(const QString &privilege);
    void showView(QWidget *view);
    void closeView(int index);
    void viewChanged(int index);
    // false when the person cancelled
    bool offerToSave();
    void updateTitle();
    void showError(const QString &text);
    void updateEditMenu();
    void restoreWindowState();
    void saveWindowState() const;

    WorkbenchHost workbenchHost;
    ProjectSession projectSession{workbenchHost};
    ProjectTreePanel *tree = nullptr;
    LogPanel *log = nullptr;
    QTabWidget *viewTabs = nullptr;
    QMenu *sequenceMenu = nullptr;
    QToolBar *runToolBar = nullptr;
    QActionGroup *privileges = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
};
