#include "seqrun.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

int main(int argc, char **argv)
{
    // The sequencer's windows exist even here; they just never need a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Stations often run without a desktop session; give Qt the private
    // runtime folder it would otherwise warn about on every start.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::temp().filePath(QStringLiteral("runtime-seqrun-%1").arg(getuid()));
        if (QDir().mkpath(runtime)) {
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("seqrun"));
    Seqrun seqrun;
    return seqrun.run(QApplication::arguments().mid(1));
}
