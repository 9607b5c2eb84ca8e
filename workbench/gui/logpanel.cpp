#include "logpanel.h"

#include <QTextEdit>

LogPanel::LogPanel(QWidget *parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("logPanel"));
    tabFor(QStringLiteral("Output"));
}

QTextEdit *LogPanel::tabFor(const QString &tab)
{
    if (QTextEdit *edit = tabs.value(tab))
        return edit;
    auto *edit = new QTextEdit(this);
    edit->setReadOnly(true);
    edit->setObjectName(tab);
    addTab(edit, tab);
    tabs.insert(tab, edit);
    return edit;
}

void LogPanel::appendLine(const QString &tab, const QString &line)
{
    // The plug-in colours its lines with HTML; plain lines stay plain.
    tabFor(tab)->append(line);
}

QString LogPanel::text(const QString &tab) const
{
    const QTextEdit *edit = tabs.value(tab);
    return edit ? edit->toPlainText() : QString();
}
