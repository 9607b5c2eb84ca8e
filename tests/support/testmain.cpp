#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <unistd.h>

int main(int argc, char **argv)
{
    // Widgets are created in tests; they never need a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The host settings of whoever runs the tests must not change what the
    // tests see: every test program starts without any (the seqrun programs
    // they start inherit this).
    const QString settings =
        QDir::temp().filePath(QStringLiteral("orv-tests-%1/settings.xml").arg(getpid()));
    qputenv("ORV_SETTINGS_FILE", settings.toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QDir::temp().filePath(QStringLiteral("orv-tests-%1").arg(getpid()))).removeRecursively();
    return result;
}
