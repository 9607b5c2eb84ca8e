#include "workbenchwindow.h"

#include <QApplication>

// workbench [PROJECT]: the desktop host, with the project folder opened when
// one is given.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("workbench"));
    WorkbenchWindow window;
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty())
        window.openProject(arguments.first());
    window.show();
    return application.exec();
}
