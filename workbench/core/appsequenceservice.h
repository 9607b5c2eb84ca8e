#pragma once

#include "hxiappsequence.h"
#include "serviceobject.h"

#include <QDateTime>
#include <QHash>
#include <QObject>

class DatabaseService;
class HxmJob;
class JobRunner;

// "HxiAppSequence" of every application type of the reference host: the
// execute settings come from the project's application entries.
class AppSequenceService final : public QObject, public ServiceObject<HxiAppSequence>
{
    Q_OBJECT

public:
    explicit AppSequenceService(DatabaseService *database);
    ~AppSequenceService() override;

    bool openSettings(const QString &settingsId) override;
    bool hasSettingsList(const QString &settingsId, const QString &listName) override;
    void prepareParametersForSave(const QString &, const QString &, bool,
                                  QMap<QString, QString> &) override
    {
    }
    void completeParametersForSave(const QString &, const QString &, bool,
                                   QMap<QString, QString> &) override
    {
    }
    bool connectJobFinished(QObject *receiver, const char *slot) override;
    bool connectStdout(QObject *receiver, const char *slot) override;
    bool connectStderr(QObject *receiver, const char *slot) override;
    bool loadSettings(const QString &settingsId, bool infrastructureOnly,
                      QMap<QString, QString> &parameters) override;
    int settingsListCount(const QString &settingsId, const QString &listName) override;
    QString settingsListEntry(const QString &settingsId, const QString &listName,
                              int index) override;
    bool editSettings(const QString &settingsId, QWidget *parent,
                      QMap<QString, QString> &parameters) override;
    int execute(const QString &application, const QMap<QString, QString> &parameters,
                bool infrastructureOnly) override;
    void setResultsDirectory(const QString &application, const QString &directory,
                             int copyMode) override;

Q_SIGNALS:
    void jobFinished(HxmJob *job, const QString &message, int exitCode);
    void jobStdout(HxmJob *job, const QString &text);
    void jobStderr(HxmJob *job, const QString &text);

public:
    JobRunner *jobs() const { return runner; }

    // How a test application's exit code reads for the host: its status id
    // and status text.
    static int statusIdForExitCode(int exitCode);
    static QString statusTextForExitCode(int exitCode);

private:
    struct ResultsSetting
    {
        QString directory;
        int copyMode = 0;
    };

    struct FileState
    {
        QDateTime modified;
        qint64 size = 0;
        bool operator==(const FileState &other) const
        {
            return modified == other.modified && size == other.size;
        }
    };
    using FileStates = QHash<QString, FileState>;
    // a job whose results are copied when its outcome asks for it
    struct ResultCopy
    {
        ResultsSetting setting;
        FileStates before;   // the job folder as the job found it
    };

    QStringList settingsList(const QString &settingsId, const QString &listName) const;
    static FileStates filesOf(const QString &folder);
    void copyResults(HxmJob *job, int exitCode);
    void jobEnded(HxmJob *job, const QString &message, int exitCode);

    DatabaseService *database;
    JobRunner *runner;
    QHash<QString, ResultsSetting> results;
    QHash<const HxmJob *, ResultCopy> resultCopies;
};
