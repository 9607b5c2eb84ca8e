#pragma once

#include "hostlink.h"
#include "sequencecommandcatalogue.h"

#include <QTreeWidget>

class QMimeData;

// The commands palette of the sequencer window: the command catalogue, from
// which commands are dragged into the sequence list, and edited through
// the palette's menu.
class CommandsListView : public QTreeWidget
{
    Q_OBJECT

public:
    // What a drag carries, written with a QDataStream: name, command and
    // directory (strings); launch in the project directory, console
    // application and internal (32-bit integers, 0 or 1); pass and fail
    // exit codes (32-bit integers).
    static inline const QString DragFormat = QStringLiteral("CommandsListViewDrag");

    explicit CommandsListView(QWidget *parent = nullptr);

    // Where the catalogue comes from and where the editor's dialogs go;
    // loads the catalogue.
    void setHostLink(const HostLink &hostLink);
    void refill();
    const SequenceCommandCatalogue &catalogue() const { return commands; }

    static QMimeData *dragData(const SequenceCommand &command);
    // The command a payload describes (the flags that do not travel are
    // off); false when the data holds none.
    static bool readDragData(const QMimeData *data, SequenceCommand &command);

    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;

public Q_SLOTS:
    void slotShowContextMenu(const QPoint &position);
    void slotDoubleClicked(QTreeWidgetItem *item);
    void addCommand();
    void editCommand(QTreeWidgetItem *item);
    void removeCommand(QTreeWidgetItem *item);

protected:
    QStringList mimeTypes() const override { return {DragFormat}; }
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    bool runEditor(int mode, const SequenceCommand &command);

    HostLink link;
    SequenceCommandCatalogue commands;
};
