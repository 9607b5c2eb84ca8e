#include "operationslistview.h"

#include "controloperations.h"
#include "operationitem.h"
#include "operationlistviewitem.h"
#include "sequenceelementitem.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

using ControlOperations::ControlOperation;

OperationsListView::OperationsListView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabels({tr("Type")});
    setRootIsDecorated(false);
    setAllColumnsShowFocus(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    const struct
    {
        const char *text;
        ControlOperation kind;
    } rows[] = {
        {"Pause / Display Message", ControlOperation::Pause},
        {"Label / Comment", ControlOperation::Label},
        {"IF <condition>", ControlOperation::If},
        {"ELSE", ControlOperation::Else},
        {"ELIF <condition>", ControlOperation::Elif},
        {"ENDIF", ControlOperation::EndIf},
        {"GOTO", ControlOperation::Goto},
        {"Print report", ControlOperation::Print},
        {"Export report", ControlOperation::Export},
        {"Reset Instrument", ControlOperation::Reset},
        {"Read/Test/Write IO Pins", ControlOperation::IoPins},
    };
    for (const auto &row : rows) {
        new OperationListViewItem(this, QLatin1String(row.text), int(row.kind),
                                  SequenceElementItem::imageIcon(OperationItem::iconName(int(row.kind))));
    }
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
}

QMimeData *OperationsListView::dragData(const QString &paletteName, int kind)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << paletteName << qint32(kind);
    auto *data = new QMimeData;
    data->setData(DragFormat, payload);
    return data;
}

bool OperationsListView::readDragData(const QMimeData *data, QString &paletteName, int &kind)
{
    if (!data || !data->hasFormat(DragFormat))
        return false;
    QDataStream stream(data->data(DragFormat));
    qint32 code = -1;
    stream >> paletteName >> code;
    kind = code;
    return stream.status() == QDataStream::Ok;
}

QMimeData *OperationsListView::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    const auto *row = items.isEmpty() ? nullptr : dynamic_cast<const OperationListViewItem *>(items.first());
    return row ? dragData(row->text(0), row->kind()) : nullptr;
}
