#pragma once

#include <QStringList>
#include <QTextStream>

struct CommandSession;

// The command-line host: runs one command against a project folder through
// the sequencer plug-in and tells its outcome in its exit code.
class Seqrun
{
public:
    enum ExitCode {
        Success = 0,
        UsageError = 64,
        DamagedInput = 65,
        MissingProject = 66,
        InternalError = 70,
        CannotCreate = 73,
        Busy = 75,
    };

    Seqrun();
    int run(const QStringList &arguments);

private:
    int init(const QStringList &arguments);
    int list(const QStringList &arguments);
    int runSequence(const QStringList &arguments);
    int exportList(const QStringList &arguments);
    int importList(const QStringList &arguments);
    int importLegacy(const QStringList &arguments);
    int usage(const QString &problem);
    // false, with a message naming the file, when `fileName` is no file
    bool requireFile(const QString &fileName, const QString &what);
    int openProject(CommandSession &command, const QString &directory, bool forWriting = true);

    QTextStream out;
    QTextStream err;
};
