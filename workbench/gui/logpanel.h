#pragma once

#include <QHash>
#include <QTabWidget>

class QTextEdit;

// The host's log view: one tab per log the plug-in writes to ("Output"
// and any other), each line as the plug-in formatted it.
class LogPanel : public QTabWidget
{
    Q_OBJECT

public:
    explicit LogPanel(QWidget *parent = nullptr);

    void appendLine(const QString &tab, const QString &line);
    // the plain text of a tab; empty when there is no such tab
    QString text(const QString &tab) const;

private:
    QTextEdit *tabFor(const QString &tab);

    QHash<QString, QTextEdit *> tabs;
};
