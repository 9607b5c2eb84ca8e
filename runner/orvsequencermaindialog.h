#pragma once

#include "iopinsoptions.h"
#include "runengine.h"
#include "runresults.h"
#include "runstamp.h"
#include "statusdlg.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QStringList>

#include <memory>

class HxmJob;
namespace VemoInterface {
class HxiProjectApplications;
}
class HxSequence;
class QSoundEffect;
class QLabel;
class QTimer;
class RunWindowHost;
class SequenceElementItem;
class SequenceReport;
class SeqIOPinsDialog;
class UnitIdentificationDialog;
struct ReportStep;
struct UnitSettings;

namespace Ui {
class ORVSequencerMainForm;
}

// The sequencer window: one sequence as a list of steps, and the runner that
// walks it step by step, cycle by cycle, with lamps, buttons and a report
// that grows with every row. Runs are event-driven: a step that needs a host
// job returns at once and is completed by the plug-in's job slots; every
// other step completes on the next turn of the event loop.
class ORVSequencerMainDialog : public QDialog
{
    Q_OBJECT

public:
    using Verdict = RunEngine::Verdict;

    ORVSequencerMainDialog(RunWindowHost *owner, const QString &sequenceName,
                           const QString &description, QWidget *parent = nullptr);
    ~ORVSequencerMainDialog() override;

    QString sequenceName() const { return sequenceTitle; }
    QString sequenceDescription() const { return description; }
    void setSequenceName(const QString &name);
    void setSequenceDescription(const QString &text) { description = text; }

    // Fills the window from the stored sequence; false when there is none or
    // the person cancelled.
    bool loadSequence(HxSequence *sequence);
    // Writes the rows and settings back into the stored sequence.
    void writeSequence(HxSequence *sequence) const;
    // Replaces an application's old name in the steps that run it.
    void renameApplication(const QString &oldName, const QString &newName);

    // the run
    void beginPass(bool newRun);
    void executeStep(SequenceElementItem *step);
    void endOfPass();
    int finishRun(bool markCancelled);
    void enterStoppedState();
    void appendRunStatus(const QString &text);
    void appendCycleStatus(const QString &text);
    void updateLamps();
    Verdict runAggregate() const;
    Verdict cycleVerdict() const;

    // unit identification at the start of each unit: next serial numbers,
    // the optional dialog, one unit per POD TAP in gang mode, unit rows
    bool prepareUnitIdentification();
    bool promptUnit();
    UnitIdentificationDialog &unitIdentificationDialog() const { return *unitDialog; }
    // the TAP digits of the sequence's first test application, taken at Start in gang mode
    QString tapInformation() const { return sequenceTapInformation; }

    // completions, reached through the plug-in's job slots
    void operationFinished();
    void applicationFinished(HxmJob *job, const QString &message, int exitCode);
    void commandFinished(HxmJob *job, const QString &message, int exitCode);
    void jobOutput(const QString &text, bool isError);
    void resetFinished(int exitCode);

    bool isStopped() const { return engine->stopped; }
    bool isBusy() const { return engine->busy; }
    bool isContinueLocked() const { return engine->continueLocked; }
    bool isCancelLocked() const { return engine->cancelLocked; }
    bool hasSteps() const;
    int loop() const { return engine->loopNumber; }
    SequenceElementItem *currentStep() const { return engine->current; }
    SequenceElementItem *resumeStep() const { return engine->resume; }
    const QStringList &runStatusList() const { return engine->runStatuses; }
    const QStringList &cycleStatusList() const { return engine->cycleStatuses; }
    SequenceReport &report() const { return *sequenceReport; }
    Ui::ORVSequencerMainForm &form() const { return *ui; }

    // The run actions' enabled states follow the four flags.
    void applyButtonStates(bool startEnabled, bool stopEnabled, bool continueEnabled,
                           bool cancelEnabled);

public Q_SLOTS:
    void slotStartSequence();
    void slotStopSequence();
    void slotContinueSequence();
    void slotCancelSequence();
    void slotClosePauseDialog();
    void slotCloseStatusDialog();
    void animateBusyLed();
    void on_statusBannerSequenceCheckBox_toggled(bool on);
    void on_statusBannerAppCheckBox_toggled(bool on);
    void on_unitIdentSetupPushButton_clicked();
    void SlotIOPinsProcessReady(HxmJob *job, const QString &message, int exitCode);
    void updateApplicationStatus() {}
    void updateSequenceStatus() {}

Q_SIGNALS:
    void message(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    using ButtonState = RunEngine::ButtonState;
    using Outcome = RunEngine::Outcome;

    void setButtons(ButtonState state);
    // the engine runs the steps the list shows now
    void takeSteps();
    void setRunWidgetsEnabled(bool enabled);
    void resetSteps(bool newRun);
    void startBusyLamp();
    void stopBusyLamp();
    void setLamp(class QLabel *label, const QString &image);
    void detachRun();
    bool isSingleApplicationMode() const;
    SequenceElementItem *selectedStep() const;
    void selectStep(SequenceElementItem *step);
    void scheduleOperationFinished();
    bool isGangMode() const;
    // the TAP digits of the first test application, named in `applicationName`
    QString findSequenceTapInformation(QString &applicationName);
    // false, after saying so, when the gang and the test share no TAP
    bool gangSharesATap(const QString &application);
    // Identification of the next unit inside a run; a refused unit ends the run.
    bool identifyNextUnit();
    // The unit's serial number (folder name and mask) in turn: the one
    // `confirmed` by the operator, else the next of the count.
    void takeNextSerialNumber(bool confirmed);
    void takeNextFolderName(bool confirmed);
    QString unitResultPath() const;
    void takeUnitTexts(const QString &serialNumber, const QString &folderName, const QString &mask);

    void executeOperation(SequenceElementItem *step);
    void printReport();
    int runMessageDialog(StatusDlg::Mode mode, const QString &caption, const QString &text,
                         const QString &colour, int autoCloseMs, bool noIsDefault);
    void showStatusBanner(const QString &caption, const QString &text, const QString &colour,
                          int autoCloseMs);
    void runPause(SequenceElementItem *step);
    void playSound(const QString &fileName);
    static QString bannerColour(Outcome outcome);
    void resetInstrument(SequenceElementItem *step);
    void runIoPins(SequenceElementItem *step);

    void executeApplication(const QString &applicationName, SequenceElementItem *step);
    // why a step of `applicationName` cannot run; empty when it can
    static QString unusableReason(VemoInterface::HxiProjectApplications *applications,
                                  const QString &applicationName);
    static void markUnusable(SequenceElementItem *step, const QString &reason);
    void executeCommand(SequenceElementItem *step);
    QMap<QString, QString> globalGangParameters(const QMap<QString, QString> &parameters) const;
    int checkImageCrc(SequenceElementItem *step, HxmJob *job);
    void finishStep(SequenceElementItem *step, Outcome outcome, int exitCode, HxmJob *job,
                    const QString &message);
    void continueAfter(SequenceElementItem *step, SequenceElementItem *next, bool stopPending);
    // The run ends now, whatever cycles remain: cycle row, trailer, report
    // file and history, unit reports, the monitor told with `end`.
    void endRunHere(int end);
    // the running step's output so far and its "Cancelled" row
    void writeCancelledStep();
    void checkEndOfPass();

    ReportStep reportStep(const SequenceElementItem *step) const;
    UnitSettings unitSettings() const;
    void writeStepRow(const SequenceElementItem *step, const QString &colour);
    void writeReportFile();
    void copyUnitReports(bool afterEachUnit);

    // what a run leaves as data: the step's and the run's results
    void recordStepResult(const SequenceElementItem *step);
    void recordRunResult(int end, const QString &reportFile);

    RunWindowHost *owner;
    std::unique_ptr<Ui::ORVSequencerMainForm> ui;
    std::unique_ptr<SequenceReport> sequenceReport;
    RunResults runResults;
    QString sequenceTitle;
    QString description;
    RunEngine *engine;   // the run itself; a child of the window
    bool showAppStatusBanner = false;
    bool showSequenceStatusBanner = false;
    bool busyLampOn = false;
    QHash<const QLabel *, QString> shownLamps;   // the image each lamp shows
    QPointer<StatusDlg> pauseDialog;
    QPointer<StatusDlg> statusDialog;
    QString unitSerial;
    QString unitFolder;
    QString firstUnitSerial;
    // what the next unit gets when the texts count up on their own
    QString nextSerialNumber;
    QString nextFolderName;
    QString nextMask;
    QString currentMask;
    QString sequenceTapInformation;
    UnitIdentificationDialog *unitDialog = nullptr;
    SeqIOPinsDialog *ioPinsDialog = nullptr;
    QSoundEffect *pauseSound = nullptr;   // only with sound output
    bool soundMissingReported = false;
    QString lastReportFile;
    QString registeredReportFile;
    IoPinsOptions ioPinsOptions;
    QString ioPinsFolder;
};
