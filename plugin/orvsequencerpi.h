#pragma once

#include "hostlink.h"
#include "hxiactions.h"
#include "hxiarchive.h"
#include "hxidatabasepersist.h"
#include "hxidatabasepersiststream.h"
#include "hxiorvsequencer.h"
#include "hxiproject.h"
#include "hxisettings.h"
#include "hxistartup.h"
#include "hxprojectversion.h"
#include "hxreportlist.h"
#include "hxsequencelist.h"
#include "projecttreeentries.h"
#include "runwindowhost.h"
#include "sequencedocument.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class HxSequence;
class ORVSequencerMainDialog;
class HxmJob;
class QAction;
class ORVSequencerSettingsDialog;
class QDialog;
class SequenceHistoryDialog;
class SequenceReportDialog;
class SequencerActions;
class SequencerSettings;
class SignalMultiplexer;

// The plug-in object: one per host, reached only through the eight
// interfaces the host asks for by name. All of them share one reference
// count; the object deletes itself when the last reference is released.
class ORVSequencerPI : public QObject,
                       public VemoInterface::HxiActions,
                       public VemoInterface::HxiStartup,
                       public VemoInterface::HxiDatabasePersist,
                       public VemoInterface::HxiDatabasePersistStream,
                       public VemoInterface::HxiProject,
                       public VemoInterface::HxiSettings,
                       public HxiArchive,
                       public HxiORVSequencer,
                       public RunWindowHost
{
    Q_OBJECT

public:
    explicit ORVSequencerPI(const HostLink &link);
    ~ORVSequencerPI() override;

    // HxiUnknown, shared by all eight interfaces
    void addRef() override;
    void release() override;
    VemoInterface::HxiResult queryInterface(const QString &name, void **result) override;

    // HxiActions
    QAction *action(const QString &id) override;
    QWidget *createWindow(const QString &name) override;

    // HxiStartup
    void startupComplete() override {}
    void updateActions() override;
    void shutdownPending() override {}

    // HxiDatabasePersist
    bool save(QDomElement &root) override;
    bool load(QDomElement &root) override;

    // HxiDatabasePersistStream
    bool saveTo(QXmlStreamWriter &writer, QString &problem) override;
    bool loadFrom(QXmlStreamReader &reader) override;

    // HxiProject
    bool buildTree(const QString &parent) override;
    bool removeObject(const QString &type, const QString &name) override;

    // HxiSettings
    VemoInterface::HxiSettingsPage *settingsPage() override;
    bool saveSettings(QDomElement &parent) override;
    bool loadSettings(QDomElement &parent) override;

    // HxiArchive
    HxArchiveItemList archiveItems() override;
    bool replacesExistingFiles() override { return false; }
    bool archiveMayProceed() override { return true; }

    // HxiORVSequencer
    bool importLegacySequence(QWidget *parent, const QString &fileName) override;

    // The cast by class name: the plug-in's own name and the eight interface
    // names give the same pointers queryInterface gives; anything else is
    // left to QObject.
    void *castByName(const char *className);

    bool isDeveloper() const;
    bool isEngineer() const;
    bool isTechnician() const;
    bool isOperator() const;
    QString userLogin() const;

    // Lines for the host's log view, tab "Output".
    void logMessage(const QString &text) const override;
    void logWarning(const QString &text) const;

    // RunWindowHost
    HostLink hostLink() const override { return link; }
    const SequencerSettings &sequencerSettings() const override { return *settingsRecord; }
    ORVSequencerMainDialog *runningWindow() const override;
    void setRunningWindow(ORVSequencerMainDialog *window) override;
    HxSequence *findSequence(const QString &title) const override;
    QObject *jobReceiver() override { return this; }
    void connectApplicationSignals(const QString &action, const QString &provider) override;
    void registerReport(const QString &sequenceTitle, const QString &fileName,
                        const RunStamp &stamp) override;
    void showLiveReport(const QString &sequenceTitle, const QString &html) override;
    void appendLiveReport(const QString &sequenceTitle, const QString &html) override;
    void runStateChanged() override { updateActions(); }

    // Opens the window of a stored sequence, or brings it to the front.
    ORVSequencerMainDialog *openSequenceWindow(const QString &title);
    // "Sequence " and one more than the largest number that follows
    // "Sequence " in `titles` ("Sequence 1" when none does).
    static QString nextSequenceTitle(const QStringList &titles);
    QList<ORVSequencerMainDialog *> windows() const;
    // the HTML of the last report written, for the report view
    QString currentReportText() const { return liveReportText; }
    HxSequenceList &sequences() { return sequenceList; }
    HxReportList &reports() { return reportList; }
    SequencerSettings &settings() { return *settingsRecord; }
    int referenceCount() const { return refCount; }
    const ProjectTreeEntries &projectTree() const { return treeEntries; }
    const VemoDatabase::HxProjectVersion &projectVersion() const { return version; }

public Q_SLOTS:
    void message(const QString &text);
    void activated(QWidget *window);
    void slotClose();
    void slotNewSequence();
    void slotOpenSequence();
    void slotDeleteSequence();
    void slotRenameSequence();
    void slotOpenSequenceReport();
    void slotOpenSequenceHistory();
    void slotDeleteSequenceHistory();
    void slotImportSequenceData();
    void slotExportSequenceData();
    void slotImportSQC();
    void slotSequenceProperties();
    void AppExecFinished(HxmJob *job, const QString &message, int exitCode);
    void OperationExecFinished();
    void CommandExecFinished(HxmJob *job, const QString &message, int exitCode);
    void SetSlots(const QString &moduleName);
    void SlotIOPinsProcessReady(HxmJob *job, const QString &message, int exitCode);
    void ResetInstrumentReady(HxmJob *job, const QString &message, int exitCode);
    void OnExecStdout(HxmJob *job, const QString &text);
    void OnExecStderr(HxmJob *job, const QString &text);

protected:
    void customEvent(QEvent *event) override;

private:
    void connectActions();
    void registerWithHost();
    void subscribeToApplicationRenames();
    void unsubscribeFromApplicationRenames();
    void renameApplication(const QString &oldName, const QString &newName);
    void reportNotAvailable(const QString &command) const;
    void trackWindow(ORVSequencerMainDialog *window);
    ORVSequencerMainDialog *windowToContinue();
    // The sequences and reports as the windows show them, ready to be saved.
    SequenceDocument documentForSave();
    void writeLegacyCopy(const HxSequence &sequence, const QString &projectFolder,
                         const QString &projectText) const;

    // Sequence list export and import, and what they share: the sequence
    // selected in the project tree, with its window's edits written back
    // first ("Sequence not found!" when there is none), and the dialogs'
    // parent.
    bool exportSequenceList();
    bool importSequenceList();
    HxSequence *selectedSequence(QWidget *&parent);
    // The selected sequence of an open project, with the project folder;
    // null when either is missing.
    HxSequence *selectedSequenceInProject(QWidget *&parent, QString &folder);
    QString projectDirectory() const;
    ORVSequencerMainDialog *windowFor(const QString &title) const;
    // Makes an open window of the sequence show its stored items again; a
    // window that cannot load them is closed.
    void reloadWindow(const QString &title);

    // The project tree's commands, and what they share.
    QWidget *dialogParent() const;
    // every title in use: the stored sequences' and the open windows'
    QStringList takenTitles() const;
    // the plug-in's record of the entry of this kind selected in the tree
    const ProjectTreeEntries::Entry *selectedEntry(const QString &kind) const;
    // Warns and answers true when the sequence's window is running it.
    bool refuseWhileRunning(const QString &title, const QString &firstLine,
                            const QString &secondLine) const;
    // Forgets a sequence everywhere: its tree records, its window, its
    // reports; the host's tree entry stays for the caller to remove.
    void removeSequence(VemoInterface::HxiTreeHandle handle);
    void renameSequence(const QString &oldTitle, const QString &newTitle);
    void deleteReport(const ProjectTreeEntries::Entry &entry, bool withFiles);
    // Shows a report view as a view of the host, where the run actions do
    // not reach.
    void showReportView(QDialog *view);
    void updateLiveReportView();
    QString sequenceFolder(const QString &title) const;

    HostLink link;
    int refCount = 1;
    std::unique_ptr<SequencerSettings> settingsRecord;
    SignalMultiplexer *multiplexer = nullptr;
    std::unique_ptr<SequencerActions> actions;
    QPointer<ORVSequencerMainDialog> currentWindow;
    QPointer<ORVSequencerMainDialog> activeRunWindow;
    QList<QPointer<ORVSequencerMainDialog>> openWindows;
    QString liveReportTitle;
    QString liveReportText;
    QPointer<SequenceReportDialog> reportView;
    QPointer<SequenceHistoryDialog> historyView;
    QPointer<ORVSequencerSettingsDialog> settingsDialog;
    ProjectTreeEntries treeEntries;
    HxSequenceList sequenceList;
    HxReportList reportList;
    VemoDatabase::HxProjectVersion version;
};
