#include "projecttreepanel.h"

#include "applicationdialog.h"
#include "applicationmanager.h"
#include "projectsession.h"
#include "projecttreeservice.h"

#include <QAction>
#include <QDataStream>
#include <QIODevice>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

#include <utility>

using VemoInterface::HxiTreeHandle;

namespace {

constexpr int HandleRole = Qt::UserRole;
constexpr int ApplicationRole = Qt::UserRole + 1;
// What a drag of a project item carries: its kind (an application is 102)
// and its name, as the sequencer reads them.
const QString ProjectDragFormat = QStringLiteral("HxProjectDrag");
constexpr qint32 ApplicationKind = 102;

} // namespace

ProjectTreePanel::ProjectTreePanel(ProjectTreeService &treeService, ProjectSession &projectSession,
                                   QWidget *parent)
    : QTreeWidget(parent), tree(treeService), session(projectSession)
{
    setObjectName(QStringLiteral("projectTree"));
    setHeaderLabel(tr("Project"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // a double click opens the entry; it must not fold it away as well
    setExpandsOnDoubleClick(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    // Long names scroll rather than being cut short.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &ProjectTreePanel::passSelectionOn);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { runDefaultAction(item); });
    connect(this, &QWidget::customContextMenuRequested, this, &ProjectTreePanel::showContextMenu);
}

HxiTreeHandle ProjectTreePanel::handleOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, HandleRole).toLongLong() : 0;
}

void ProjectTreePanel::scheduleRebuild()
{
    if (std::exchange(rebuildPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        if (rebuildPending)
            rebuild();
    });
}

void ProjectTreePanel::rebuild()
{
    rebuildPending = false;
    QList<HxiTreeHandle> selected;
    for (const QTreeWidgetItem *item : selectedItems())
        selected.append(handleOf(item));
    const QSignalBlocker quiet(this);
    clear();
    addApplicationItems();
    for (const ProjectTreeService::Entry &entry : tree.entries()) {
        QTreeWidgetItem *parentItem = folderItem(entry.parentPath);
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, entry.text);
        item->setData(0, HandleRole, entry.handle);
        item->setToolTip(0, entry.kind);
        if (!entry.pixmap.isEmpty())
            item->setIcon(0, QIcon(QStringLiteral(":/images/") + entry.pixmap));
        item->setSelected(selected.contains(entry.handle));
    }
    expandAll();
}

QTreeWidgetItem *ProjectTreePanel::findEntry(const QStringList &parentPath, const QString &text) const
{
    QTreeWidgetItem *parentItem = nullptr;
    for (const QString &name : parentPath) {
        QTreeWidgetItem *next = nullptr;
        const int count = parentItem ? parentItem->childCount() : topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem *child = parentItem ? parentItem->child(i) : topLevelItem(i);
            if (child->text(0) == name)
                next = child;
        }
        if (!next)
            return nullptr;
        parentItem = next;
    }
    const int count = parentItem ? parentItem->childCount() : topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem *child = parentItem ? parentItem->child(i) : topLevelItem(i);
        if (child->text(0) == text)
            return child;
    }
    return nullptr;
}

QTreeWidgetItem *ProjectTreePanel::folderItem(const QStringList &path)
{
    // Folders the plug-in names in a path but never added itself (the
    // project's own folders) are made here.
    QTreeWidgetItem *parentItem = nullptr;
    for (qsizetype depth = 0; depth < path.size(); ++depth) {
        QTreeWidgetItem *found = findEntry(path.mid(0, depth), path.at(depth));
        if (!found) {
            found = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
            found->setText(0, path.at(depth));
        }
        parentItem = found;
    }
    return parentItem;
}

void ProjectTreePanel::passSelectionOn()
{
    QList<HxiTreeHandle> handles;
    for (const QTreeWidgetItem *item : selectedItems()) {
        if (const HxiTreeHandle handle = handleOf(item))
            handles.append(handle);
    }
    tree.select(handles);
    session.updateActions();
    Q_EMIT selectionMoved();
}

void ProjectTreePanel::runDefaultAction(QTreeWidgetItem *item)
{
    const HxiTreeHandle handle = handleOf(item);
    for (const ProjectTreeService::Entry &entry : tree.entries()) {
        if (entry.handle != handle)
            continue;
        // An entry without a default action of its own does what the first
        // entry of its context menu does (a sequence opens).
        QString actionId = entry.defaultActionId;
        for (const ProjectTreeService::MenuEntry &menuEntry : tree.menuEntries()) {
            if (actionId.isEmpty() && menuEntry.kind == entry.kind)
                actionId = menuEntry.actionId;
        }
        if (actionId.isEmpty())
            return;
        tree.select({handle});
        session.triggerAction(actionId);
        return;
    }
}

void ProjectTreePanel::addApplicationItems()
{
    if (!session.isOpen())
        return;
    auto *folder = new QTreeWidgetItem(this, {ApplicationsFolder});
    folder->setFlags(folder->flags() & ~Qt::ItemIsDragEnabled);
    for (const ProjectApplication &application : session.project().applications) {
        auto *item = new QTreeWidgetItem(folder, {application.name});
        item->setData(0, ApplicationRole, application.name);
        item->setToolTip(0, application.type);
        item->setIcon(0, QIcon(ApplicationManager::typeIcon(application.type)));
    }
}

QString ProjectTreePanel::applicationOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, ApplicationRole).toString() : QString();
}

QStringList ProjectTreePanel::mimeTypes() const
{
    return {ProjectDragFormat};
}

QMimeData *ProjectTreePanel::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    const QString application = items.isEmpty() ? QString() : applicationOf(items.first());
    if (application.isEmpty())
        return nullptr;
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << ApplicationKind << application;
    auto *data = new QMimeData;
    data->setData(ProjectDragFormat, payload);
    return data;
}

bool ProjectTreePanel::addApplication()
{
    ApplicationDialog::Fields fields;
    fields.type = ApplicationManager::types().value(0);
    fields.program = QStringLiteral("apps/");
    while (true) {
        ApplicationDialog dialog(fields, true, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        fields = dialog.fields();
        ApplicationManager manager(session.project(), subscriptions);
        if (manager.add(fields.name, fields.type)
            && manager.setRunSettings(fields.name, fields.program, fields.folder, fields.taps))
            break;
        QMessageBox::warning(this, tr("New Application"), manager.errorString());
    }
    rebuild();
    return true;
}

bool ProjectTreePanel::editApplication(const QString &name)
{
    const ProjectApplication *stored = session.project().application(name);
    if (!stored)
        return false;
    ApplicationDialog::Fields fields{stored->name, stored->type, stored->program, stored->folder,
                                     stored->tapConnectors};
    while (true) {
        ApplicationDialog dialog(fields, false, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        fields = dialog.fields();
        ApplicationManager manager(session.project(), subscriptions);
        if (manager.rename(name, fields.name)
            && manager.setRunSettings(fields.name, fields.program, fields.folder, fields.taps))
            break;
        QMessageBox::warning(this, tr("Application Properties"), manager.errorString());
    }
    rebuild();
    return true;
}

bool ProjectTreePanel::removeApplication(const QString &name)
{
    ApplicationManager manager(session.project(), subscriptions);
    if (!manager.remove(name))
        return false;
    rebuild();
    return true;
}

bool ProjectTreePanel::showApplicationMenu(QTreeWidgetItem *item, const QPoint &position)
{
    const QString application = applicationOf(item);
    const bool onFolder = item && !item->parent() && item->text(0) == ApplicationsFolder
                          && application.isEmpty();
    if (!session.isOpen() || (!onFolder && application.isEmpty()))
        return false;
    QMenu menu(this);
    menu.addAction(tr("&New Application..."), this, [this] { addApplication(); });
    if (!application.isEmpty()) {
        menu.addAction(tr("&Properties..."), this, [this, application] { editApplication(application); });
        menu.addAction(tr("&Remove"), this, [this, application] { removeApplication(application); });
    }
    menu.exec(viewport()->mapToGlobal(position));
    return true;
}

void ProjectTreePanel::showContextMenu(const QPoint &position)
{
    if (showApplicationMenu(itemAt(position), position))
        return;
    const HxiTreeHandle handle = handleOf(itemAt(position));
    QString kind;
    for (const ProjectTreeService::Entry &entry : tree.entries()) {
        if (entry.handle == handle)
            kind = entry.kind;
    }
    if (kind.isEmpty())
        return;
    session.updateActions();
    QMenu menu(this);
    for (const ProjectTreeService::MenuEntry &entry : tree.menuEntries()) {
        if (entry.kind != kind)
            continue;
        if (QAction *action = session.action(entry.actionId))
            menu.addAction(action);
    }
    if (!menu.isEmpty())
        menu.exec(viewport()->mapToGlobal(position));
}
