#include "bcuoptions.h"
#include "simulatedcontroller.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    BcuOptions options;
    if (!options.parse(QCoreApplication::arguments().mid(1))) {
        err << "bcusim: " << options.errorString() << '\n'
            << "Try 'bcusim --help'.\n";
        return SimulatedController::Error;
    }
    if (options.mode == BcuOptions::Mode::Help) {
        out << BcuOptions::usage();
        return SimulatedController::Done;
    }
    SimulatedController controller(QDir::currentPath(), out, err);
    return controller.run(options);
}
