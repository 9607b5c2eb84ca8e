#pragma once

#include <QTreeWidget>

class QMimeData;

// The operations palette of the sequencer window: the control, report and
// instrument operations, dragged from here into the sequence list.
class OperationsListView : public QTreeWidget
{
    Q_OBJECT

public:
    // What a drag carries: the palette name (a string) and the operation
    // kind (a 32-bit integer), written with a QDataStream.
    static inline const QString DragFormat = QStringLiteral("OperationsListViewDrag");

    explicit OperationsListView(QWidget *parent = nullptr);

    // The drag payload of a palette entry.
    static QMimeData *dragData(const QString &paletteName, int kind);
    // Reads a payload back; false when the data does not hold one.
    static bool readDragData(const QMimeData *data, QString &paletteName, int &kind);

    // the payload of the row being dragged
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;

protected:
    QStringList mimeTypes() const override { return {DragFormat}; }
};
