#pragma once

#include <QTreeWidgetItem>

// A row of the operations palette: the palette name of an operation and
// the kind of step it creates.
class OperationListViewItem : public QTreeWidgetItem
{
public:
    OperationListViewItem(QTreeWidget *palette, const QString &text, int kind, const QIcon &icon)
        : QTreeWidgetItem(palette, {text}), operationKind(kind)
    {
        setIcon(0, icon);
    }

    int kind() const { return operationKind; }

private:
    int operationKind;
};
