#include "commandslistview.h"

#include "commandeditordialog.h"
#include "commanditem.h"
#include "commandslistviewitem.h"
#include "sequenceelementitem.h"
#include "sequencelistviewtip.h"

#include <QDataStream>
#include <QHelpEvent>
#include <QIODevice>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QToolTip>

CommandsListView::CommandsListView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabels({tr("Type")});
    setRootIsDecorated(false);
    setAllColumnsShowFocus(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CommandsListView::slotShowContextMenu);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { slotDoubleClicked(item); });
}

void CommandsListView::setHostLink(const HostLink &hostLink)
{
    link = hostLink;
    commands.load(SequenceCommandCatalogue::filePath(link));
    refill();
}

void CommandsListView::refill()
{
    clear();
    const QIcon icon = SequenceElementItem::imageIcon(CommandItem::IconName);
    for (const SequenceCommand &command : commands.commands())
        new CommandsListViewItem(this, command, icon);
}

QMimeData *CommandsListView::dragData(const SequenceCommand &command)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << command.name() << command.command() << command.dir()
           << qint32(command.launchInDesignDir()) << qint32(command.consoleApp())
           << qint32(command.internal()) << qint32(command.passExitCode())
           << qint32(command.failExitCode());
    auto *data = new QMimeData;
    data->setData(DragFormat, payload);
    return data;
}

bool CommandsListView::readDragData(const QMimeData *data, SequenceCommand &command)
{
    if (!data || !data->hasFormat(DragFormat))
        return false;
    QDataStream stream(data->data(DragFormat));
    QString name, line, dir;
    qint32 designDir = 0, console = 0, internal = 0, passCode = 0, failCode = 0;
    stream >> name >> line >> dir >> designDir >> console >> internal >> passCode >> failCode;
    if (stream.status() != QDataStream::Ok)
        return false;
    command = SequenceCommand();
    command.setName(name);
    command.setCommand(line);
    command.setDir(dir);
    command.setLaunchInDesignDir(designDir != 0);
    command.setConsoleApp(console != 0);
    command.setInternal(internal != 0);
    command.setPassExitCode(passCode);
    command.setFailExitCode(failCode);
    return true;
}

QMimeData *CommandsListView::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    const auto *row = items.isEmpty() ? nullptr : dynamic_cast<const CommandsListViewItem *>(items.first());
    return row ? dragData(row->command) : nullptr;
}

void CommandsListView::slotShowContextMenu(const QPoint &position)
{
    QTreeWidgetItem *row = itemAt(position);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("Command Popup Menu"));
    QAction *add = menu.addAction(tr("&Add"));
    QAction *edit = menu.addAction(tr("&Edit"));
    QAction *remove = menu.addAction(tr("&Remove"));
    edit->setEnabled(row);
    remove->setEnabled(row);
    QAction *chosen = menu.exec(viewport()->mapToGlobal(position));
    if (chosen == add)
        addCommand();
    else if (chosen == edit)
        editCommand(row);
    else if (chosen == remove)
        removeCommand(row);
}

void CommandsListView::slotDoubleClicked(QTreeWidgetItem *item)
{
    if (item)
        editCommand(item);
}

bool CommandsListView::runEditor(int mode, const SequenceCommand &command)
{
    CommandEditorDialog editor(link, &commands, this);
    editor.setMode(mode);
    editor.load(command);
    if (editor.exec() != QDialog::Accepted)
        return false;
    refill();
    return true;
}

void CommandsListView::addCommand()
{
    runEditor(CommandEditorDialog::AddEntry, SequenceCommand());
}

void CommandsListView::editCommand(QTreeWidgetItem *item)
{
    if (const auto *row = dynamic_cast<CommandsListViewItem *>(item))
        runEditor(CommandEditorDialog::EditEntry, row->command);
}

void CommandsListView::removeCommand(QTreeWidgetItem *item)
{
    if (!item)
        return;
    commands.remove(item->text(0));
    delete item;
    (void)commands.save(SequenceCommandCatalogue::filePath(link));
}

void CommandsListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        removeCommand(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool CommandsListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const auto *row = dynamic_cast<CommandsListViewItem *>(itemAt(help->pos()));
        if (!row) {
            QToolTip::hideText();
            return true;
        }
        const QString html = SequenceListViewTip::head(tr("Command"), row->command.name())
                             + SequenceListViewTip::commandRows(row->command)
                             + SequenceListViewTip::tail();
        QToolTip::showText(help->globalPos(), html, viewport(), visualItemRect(row));
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}
