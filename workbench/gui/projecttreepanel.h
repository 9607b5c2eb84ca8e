#pragma once

#include "hximainprojectex.h"

#include <QTreeWidget>

class ProjectSession;
class ProjectTreeService;
class SubscribeService;

// The project tree of the desktop host: the entries the plug-in put into
// the host's tree, with their folders. Selecting entries tells the host's
// tree service (the plug-in's actions act on the selection); a double click
// runs the entry's default action, or the first of its context menu (a
// sequence opens); the context menu offers the actions the plug-in
// registered for the entry's kind. Above them, the project's applications
// with their types' icons: dragged into a sequence they become steps, and
// their menu adds, edits and removes them.
class ProjectTreePanel : public QTreeWidget
{
    Q_OBJECT

public:
    ProjectTreePanel(ProjectTreeService &tree, ProjectSession &session, QWidget *parent = nullptr);

    // Shows the tree service's entries again, keeping the selection.
    void rebuild();
    // Rebuilds once the current batch of changes is over: a project with
    // many sequences and reports adds its entries one by one.
    void scheduleRebuild();
    // the item of the entry `text` below `parentPath`; null when there is none
    QTreeWidgetItem *findEntry(const QStringList &parentPath, const QString &text) const;
    // Where a renamed application is announced (the sequencer follows it).
    void setSubscriptions(SubscribeService *service) { subscriptions = service; }

    static inline const QString ApplicationsFolder = QStringLiteral("Applications");
    // A new application, or an existing one's settings, through its dialog;
    // false when cancelled.
    bool addApplication();
    bool editApplication(const QString &name);
    bool removeApplication(const QString &name);

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;

Q_SIGNALS:
    // the selection changed; the plug-in's actions may follow it
    void selectionMoved();

private:
    QTreeWidgetItem *folderItem(const QStringList &path);
    void passSelectionOn();
    void runDefaultAction(QTreeWidgetItem *item);
    void showContextMenu(const QPoint &position);
    static VemoInterface::HxiTreeHandle handleOf(const QTreeWidgetItem *item);
    void addApplicationItems();
    bool showApplicationMenu(QTreeWidgetItem *item, const QPoint &position);
    // the name of the application an item stands for; empty for other items
    static QString applicationOf(const QTreeWidgetItem *item);

    ProjectTreeService &tree;
    ProjectSession &session;
    bool rebuildPending = false;
    SubscribeService *subscriptions = nullptr;
};
