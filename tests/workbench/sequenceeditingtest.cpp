// A sequence built in the workbench the way a person builds one: steps
// dragged from the palettes and the project tree, dialogs filled through
// their widgets, rows removed from their menu, changes undone.

#include "democopy.h"
#include "modalanswer.h"
#include "projecttreepanel.h"
#include "seqrunprocess.h"
#include "workbenchwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Answer = std::function<void(QWidget *)>;

void clickOk(QWidget *dialog)
{
    QTest::mouseClick(child<QAbstractButton>(dialog, "okButton"), Qt::LeftButton);
}

// Picks an entry with the arrow keys, as a person does with a closed combo.
void choose(QComboBox *combo, const QString &text)
{
    const int wanted = combo->findText(text);
    ASSERT_GE(wanted, 0) << text.toStdString();
    while (combo->currentIndex() != wanted)
        QTest::keyClick(combo, combo->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
}

void type(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// The payload of a row of a palette or of the project tree, as its drag carries it.
QMimeData *dragOf(QTreeWidget *source, const QString &text)
{
    const QList<QTreeWidgetItem *> found = source->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    QTreeWidgetItem *item = found.value(0);
    QModelIndex index;
    if (item->parent())
        index = source->model()->index(item->parent()->indexOfChild(item), 0,
                                       source->model()->index(source->indexOfTopLevelItem(item->parent()), 0));
    else
        index = source->model()->index(source->indexOfTopLevelItem(item), 0);
    return source->model()->mimeData({index});
}

// Drops onto the row `target` (1-based), or below the last row for 0.
void drop(QTreeWidget *list, QMimeData *data, int target = 0)
{
    QWidget *viewport = list->viewport();
    const QPoint at = target > 0 ? list->visualItemRect(list->topLevelItem(target - 1)).center()
                                 : QPoint(20, viewport->height() - 4);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent dropped(QPointF(at), actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &dropped);
    delete data;
}

void doubleClick(QTreeWidget *list, int row)
{
    const QPointF at = list->visualItemRect(list->topLevelItem(row - 1)).center();
    const QPointF global = list->viewport()->mapToGlobal(at);
    for (const QEvent::Type kind : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonPress, QEvent::MouseButtonDblClick,
                                    QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = kind == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(kind, at, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    }
}

// Drags row `from` with the mouse and drops it on row `to` (both 1-based).
void moveRow(QTreeWidget *list, int from, int to)
{
    QWidget *viewport = list->viewport();
    const QPointF start = list->visualItemRect(list->topLevelItem(from - 1)).center();
    const QPointF end = list->visualItemRect(list->topLevelItem(to - 1)).center();
    QTimer::singleShot(20, list, [list, to] {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("SequenceListViewDrag"), QByteArray());
        drop(list, data, to);
        // the drag's own loop ends as a released Escape ends it
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(list->window()->windowHandle(), &escape);
    });
    QMouseEvent press(QEvent::MouseButtonPress, start, viewport->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    // the first move makes it a drag, the next one starts it
    for (int step = 0; step < 2; ++step) {
        QMouseEvent move(QEvent::MouseMove, end, viewport->mapToGlobal(end), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::qWait(50);
}

// Chooses the entry with mnemonic `key` from the row's menu.
void fromMenu(QTreeWidget *list, int row, Qt::Key key)
{
    whenShown([key](QWidget *menu) { QTest::keyClick(menu, key); });
    Q_EMIT list->customContextMenuRequested(list->visualItemRect(list->topLevelItem(row - 1)).center());
}

struct Editor
{
    QTreeWidget *list;
    QTreeWidget *operations;
    QTreeWidget *commands;
    QTreeWidget *tree;

    void addOperation(const QString &paletteName, int target, const Answer &dialog = {})
    {
        if (dialog)
            whenShown(dialog);
        drop(list, dragOf(operations, paletteName), target);
    }
    void addCommand(const QString &name, int target)
    {
        drop(list, dragOf(commands, name), target);
        // a command's output goes into the report
        editProperties(target > 0 ? target : list->topLevelItemCount(), [](QWidget *dialog) {
            child<QCheckBox>(dialog, "reportCheckBox")->setChecked(true);
        });
    }
    void addApplication(const QString &name)
    {
        drop(list, dragOf(tree, name));
    }
    void editProperties(int row, const Answer &fill)
    {
        whenShown([fill](QWidget *dialog) {
            fill(dialog);
            clickOk(dialog);
        });
        doubleClick(list, row);
    }
};

Answer condition(const QString &key, const QString &value)
{
    return [key, value](QWidget *dialog) {
        choose(child<QComboBox>(dialog, "keyComboBox"), key);
        if (auto *line = dialog->findChild<QLineEdit *>(QStringLiteral("valueLineEdit")); line->isVisible())
            type(line, value);
        else
            choose(child<QComboBox>(dialog, "valueComboBox"), value);
        clickOk(dialog);
    };
}

Answer label(const QString &text, bool report)
{
    return [text, report](QWidget *dialog) {
        type(child<QLineEdit>(dialog, "labelLineEdit"), text);
        child<QCheckBox>(dialog, "sequenceReportCheckBox")->setChecked(report);
        clickOk(dialog);
    };
}

void addCatalogueCommand(QTreeWidget *commands, const QString &name, const QString &line)
{
    whenShown([name, line](QWidget *menu) {
        whenShown([name, line](QWidget *dialog) {
            type(child<QLineEdit>(dialog, "nameLineEdit"), name);
            type(child<QLineEdit>(dialog, "commandLineEdit"), line);
            child<QGroupBox>(dialog, "consoleButtonGroup")->setChecked(true);
            clickOk(dialog);
        });
        QTest::keyClick(menu, Qt::Key_A);
    });
    Q_EMIT commands->customContextMenuRequested(QPoint(5, 5));
}

QByteArray exported(const QString &project, const QString &title, const QString &file)
{
    const SeqrunResult result = seqrun({QStringLiteral("export"), project, title, file, QStringLiteral("--force")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    QFile exportFile(file);
    return exportFile.open(QIODevice::ReadOnly) ? exportFile.readAll() : QByteArray();
}

} // namespace

TEST(SequenceEditingTest, BoardTestIsBuiltByHandAndEveryChangeIsUndone)
{
    TemporaryFolder folder;
    const QString project = copyDemo(folder);
    WorkbenchWindow window;
    window.host().setValue(QStringLiteral("StartupPath"), folder.filePath(QStringLiteral("startup")));
    window.resize(1920, 1080);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(window.openProject(project));

    whenShown([](QWidget *dialog) {
        type(child<QLineEdit>(dialog, "titleLineEdit"), QStringLiteral("Built Test"));
        clickOk(dialog);
    });
    ASSERT_TRUE(window.session().triggerAction(QStringLiteral("NewSequence")));
    ASSERT_EQ(window.views().count(), 1);
    QWidget *view = window.views().widget(0);
    Editor editor{view->findChild<QTreeWidget *>(QStringLiteral("sequenceListView")),
                  view->findChild<QTreeWidget *>(QStringLiteral("operationsListView")),
                  view->findChild<QTreeWidget *>(QStringLiteral("commandsListView")),
                  &window.projectTree()};
    ASSERT_TRUE(editor.list && editor.operations && editor.commands);

    // The catalogue starts empty and gets the four commands through its editor.
    EXPECT_EQ(editor.commands->topLevelItemCount(), 0);
    addCatalogueCommand(editor.commands, QStringLiteral("Label board"), QStringLiteral("echo Board passed the interconnect test"));
    addCatalogueCommand(editor.commands, QStringLiteral("Mark for repair"), QStringLiteral("echo Board goes to the repair station"));
    addCatalogueCommand(editor.commands, QStringLiteral("Second cycle"), QStringLiteral("echo This is the second cycle"));
    addCatalogueCommand(editor.commands, QStringLiteral("First cycle"), QStringLiteral("echo Everything passed so far"));
    ASSERT_EQ(editor.commands->topLevelItemCount(), 4);
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("startup/plugins/ORVSequencerCommands.xml"))));

    const Answer accept = [](QWidget *dialog) { clickOk(dialog); };
    editor.addApplication(QStringLiteral("Chain"));
    editor.addApplication(QStringLiteral("Interconnect"));
    editor.addOperation(QStringLiteral("IF <condition>"), 0, accept);   // IF, ELSE, ENDIF: rows 3 to 5
    editor.addCommand(QStringLiteral("Label board"), 4);
    editor.addCommand(QStringLiteral("Mark for repair"), 6);
    editor.addApplication(QStringLiteral("Flash"));
    editor.editProperties(8, [](QWidget *dialog) {
        choose(child<QComboBox>(dialog, "failComboBox"), QStringLiteral("Redo"));
    });
    editor.addApplication(QStringLiteral("Memory"));
    editor.editProperties(9, [](QWidget *dialog) {
        choose(child<QComboBox>(dialog, "showComboBox"), QStringLiteral("Diagnostics"));
        child<QCheckBox>(dialog, "reportCheckBox")->setChecked(true);
    });
    editor.addOperation(QStringLiteral("GOTO"), 0, label(QStringLiteral("finish"), true));
    editor.addApplication(QStringLiteral("Power"));
    editor.addOperation(QStringLiteral("Label / Comment"), 0, label(QStringLiteral("finish"), false));
    editor.addOperation(QStringLiteral("IF <condition>"), 0, condition(QStringLiteral("loop"), QStringLiteral("2")));
    fromMenu(editor.list, 14, Qt::Key_R);   // the ELSE of the second IF goes
    editor.addOperation(QStringLiteral("ELIF <condition>"), 14, condition(QStringLiteral("all"), QStringLiteral("pass")));
    editor.addCommand(QStringLiteral("Second cycle"), 14);
    editor.addCommand(QStringLiteral("First cycle"), 16);
    editor.addOperation(QStringLiteral("Export report"), 0);
    ASSERT_EQ(editor.list->topLevelItemCount(), 18);

    ASSERT_TRUE(window.saveProject());
    const QByteArray built = exported(project, QStringLiteral("Built Test"), folder.filePath(QStringLiteral("built.seql")));
    EXPECT_EQ(QString::fromUtf8(built),
              QString::fromUtf8(exported(project, QStringLiteral("Board Test"), folder.filePath(QStringLiteral("demo.seql")))));

    // A change made by mouse, undone with the workbench's "Edit > Undo",
    // leaves the saved sequence as it was (the list's own test undoes every
    // kind of change with Ctrl+Z).
    const auto undoRestores = [&](const char *change, const std::function<void()> &make) {
        SCOPED_TRACE(change);
        make();
        ASSERT_TRUE(window.saveProject());
        EXPECT_NE(exported(project, QStringLiteral("Built Test"), folder.filePath(QStringLiteral("changed.seql"))), built);
        for (QAction *menu : window.menuBar()->actions()) {
            if (menu->text() == QLatin1String("&Edit"))
                menu->menu()->actions().first()->trigger();
        }
        ASSERT_TRUE(window.saveProject());
        EXPECT_EQ(exported(project, QStringLiteral("Built Test"), folder.filePath(QStringLiteral("undone.seql"))), built);
    };
    undoRestores("move", [&] { moveRow(editor.list, 11, 2); });
}
