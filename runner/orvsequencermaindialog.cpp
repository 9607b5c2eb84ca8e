#include "orvsequencermaindialog.h"

#include "applicationtypes.h"
#include "condition.h"
#include "controloperations.h"
#include "hostservice.h"
#include "hxiappsequence.h"
#include "hxiinstrument.h"
#include "hxiinstrumentex.h"
#include "hxiprompt.h"
#include "hxidatabase.h"
#include "hximain.h"
#include "hximainjob.h"
#include "hximainprocessex.h"
#include "hximainprojectex.h"
#include "hxiprojectapplications.h"
#include "hxirunmonitor.h"
#include "hxitypeactions.h"
#include "hxmjob.h"
#include "hxsequence.h"
#include "imagecrc.h"
#include "instrumentlookup.h"
#include "iopinscommandline.h"
#include "hximainprocess.h"
#include "operationitem.h"
#include "reportpaths.h"
#include "runwindowhost.h"
#include "sequenceelementitem.h"
#include "sequenceenums.h"
#include "sequencelistview.h"
#include "sequencereport.h"
#include "sequencersettings.h"
#include "taptext.h"
#include "ui_orvsequencermainform.h"
#include "hxitypeinfo.h"
#include "seqiopinsdialog.h"
#include "unitidentificationdialog.h"
#include "unittext.h"
#include "userprompt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>
#include <QTimer>
#include <QUrl>

#if defined(ORV_HAVE_MULTIMEDIA)
#include <QSoundEffect>
#endif

using namespace VemoInterface;

namespace {

const QString Caption = QStringLiteral("ORVSequencer");
const QString Busy = QStringLiteral("Busy");
const QString White = QStringLiteral("#FFFFFF");
// the texts of a sequence that never identified a unit
const QString InitialSerialNumber = QStringLiteral("Unit 0000");
const QString InitialFolderName = QStringLiteral("Batch 0000");

// Exit codes of application jobs with a fixed meaning.
constexpr int TimeoutExitCode = 66000;
// Exit code of a command job that was cancelled.
constexpr int CommandCancelledExitCode = 198;

struct OutcomeInfo
{
    // the colour of the step's report row; banners use brighter ones
    QString text;
    QString reportColour;
    int statusCode;
    int hostStatusId;
};

int operationKindOf(const SequenceElementItem *step)
{
    return step ? step->operationKind() : -1;
}

bool isOperation(const SequenceElementItem *step, ControlOperations::ControlOperation kind)
{
    return step && step->itemType() == int(ItemType::Operation)
           && step->operationKind() == int(kind);
}

} // namespace

ORVSequencerMainDialog::ORVSequencerMainDialog(RunWindowHost *runHost, const QString &sequenceName,
                                               const QString &sequenceDescription, QWidget *parent)
    : QDialog(parent),
      owner(runHost),
      ui(std::make_unique<Ui::ORVSequencerMainForm>()),
      sequenceReport(std::make_unique<SequenceReport>(runHost->hostLink())),
      description(sequenceDescription)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("ORV Sequencer"));
    ui->sequenceListView->setHostLink(owner->hostLink());
    sequenceReport->setDialogParent(this);
    setSequenceName(sequenceName);
    ui->serNumberLineEdit->setText(InitialSerialNumber);
    ui->folderLineEdit->setText(InitialFolderName);
    unitDialog = new UnitIdentificationDialog(owner->hostLink(), this);
    ioPinsDialog = new SeqIOPinsDialog(owner->hostLink(), this);
    connect(unitDialog, &UnitIdentificationDialog::unitConfirmed, this,
            &ORVSequencerMainDialog::takeUnitTexts);

    connect(ui->startSequenceButton, &QPushButton::clicked, this,
            &ORVSequencerMainDialog::slotStartSequence);
    connect(ui->stopSequenceButton, &QPushButton::clicked, this,
            &ORVSequencerMainDialog::slotStopSequence);
    connect(ui->continueSequenceButton, &QPushButton::clicked, this,
            &ORVSequencerMainDialog::slotContinueSequence);
    connect(ui->cancelSequenceButton, &QPushButton::clicked, this,
            &ORVSequencerMainDialog::slotCancelSequence);
    connect(ui->sequenceListView, &SequenceListView::stepsRemoved, this, [this] {
        runStatuses.clear();
        cycleStatuses.clear();
        updateLamps();
        owner->runStateChanged();
    });
    connect(sequenceReport.get(), &SequenceReport::liveReportChanged, this,
            [this](const QString &html) { owner->showLiveReport(sequenceTitle, html); });

    // Operators, engineers and technicians run sequences; only developers
    // build them from the palettes or switch gang mode.
    const QString privilege = owner->hostLink().mainValue(QStringLiteral("UserPrivilege"));
    const bool restricted = privilege == QLatin1String("Engineer")
                            || privilege == QLatin1String("Technician")
                            || privilege == QLatin1String("Operator");
    ui->OperCommandsTabWidget->setVisible(!restricted);
    ui->globalGangCheckBox->setVisible(!restricted);

    for (QLabel *lamp : {ui->seqStatusPassPixmapLabel, ui->seqStatusFailPixmapLabel,
                         ui->seqStatusErrorPixmapLabel, ui->busyPixmapLabel})
        setLamp(lamp, QStringLiteral("LED_white.png"));
    setButtons(ButtonState::Idle);
}

ORVSequencerMainDialog::~ORVSequencerMainDialog()
{
    if (owner->runningWindow() == this)
        owner->setRunningWindow(nullptr);
}

void ORVSequencerMainDialog::setSequenceName(const QString &name)
{
    sequenceTitle = name;
    sequenceReport->setSequence(name, description);
    //: %1 = Sequence Title
    setWindowTitle(tr("ORV Sequencer: %1").arg(name));
}

bool ORVSequencerMainDialog::hasSteps() const
{
    return ui->sequenceListView->stepCount() > 0;
}

// --- loading and writing back ------------------------------------------------

bool ORVSequencerMainDialog::loadSequence(HxSequence *sequence)
{
    if (!sequence)
        return false;
    //: %1 = Sequence Title
    owner->logMessage(tr("ORV Sequencer '%1' - Load Sequence started...").arg(sequence->title()));

    ui->singleAppRadioButton->setChecked(sequence->executeMode() == int(ExecuteMode::SingleApplication));
    ui->sequenceRadioButton->setChecked(sequence->executeMode() != int(ExecuteMode::SingleApplication));
    ui->globalGangCheckBox->setChecked(sequence->globalGang());
    ui->repeatCheckBox->setChecked(sequence->repeat());
    ui->repeatSpinBox->setValue(qMax(1, sequence->repeatCount()));
    ui->statusBannerSequenceCheckBox->setChecked(sequence->statusBannerSequence());
    ui->statusBannerAppCheckBox->setChecked(sequence->statusBannerApp());
    showSequenceStatusBanner = sequence->statusBannerSequence();
    showAppStatusBanner = sequence->statusBannerApp();
    ui->unitIdentGroupBox->setChecked(sequence->unitIdentification());
    ui->serNumberLineEdit->setText(sequence->unitSerialNumber().isEmpty() ? InitialSerialNumber
                                                                           : sequence->unitSerialNumber());
    ui->folderLineEdit->setText(sequence->unitFolder().isEmpty() ? InitialFolderName
                                                                 : sequence->unitFolder());
    unitDialog->loadOptions(*sequence);
    currentMask = sequence->unitSubDirMask();
    nextSerialNumber.clear();
    nextFolderName.clear();
    nextMask.clear();

    const HxSequenceItemList items = sequence->items();
    QProgressDialog progress(tr("Loading Sequence..."), tr("Cancel"), 0, int(items.size()), this);
    progress.setWindowTitle(tr("Load Sequence"));
    progress.setFixedSize(300, 100);
    progress.setWindowModality(Qt::WindowModal);

    HostService<HxiDatabase> database(owner->hostLink(), QStringLiteral("HxiDatabase"));
    HxiProjectApplications *applications = database ? database->applications() : nullptr;
    ui->sequenceListView->clear();
    int number = 0;
    for (const HxSequenceItemPtr &item : items) {
        ++number;
        progress.setValue(number - 1);
        if (progress.wasCanceled()) {
            //: %1 = Sequence Title
            owner->logMessage(tr("ORV Sequencer '%1' - Load Sequence cancelled").arg(sequence->title()));
            if (applications)
                applications->release();
            return false;
        }
        if (item->kind() == ItemType::Application) {
            const auto application =
                applications ? applications->application(item->columnItem) : std::nullopt;
            if (!application) {
                //: %1 = Sequence Title, %2 = Item Number, %3 and %4 = Application Name
                owner->logMessage(tr("ORV Sequencer '%1' - Nr. '%2': Application '%3' is not available "
                                     "in current project: Application '%4' is removed from Sequence")
                                      .arg(sequence->title())
                                      .arg(number)
                                      .arg(item->columnItem, item->columnItem));
                continue;
            }
            if (ApplicationTypes::applicationUsability(application->type()) > 0) {
                //: %1 = Sequence Title, %2 = Item Number, %3 and %4 = Application Name
                owner->logMessage(tr("ORV Sequencer '%1' - Nr. '%2': Application '%3' is not a valid "
                                     "Application to use within ORV Sequencer: Application '%4' is "
                                     "removed from Sequence")
                                      .arg(sequence->title())
                                      .arg(number)
                                      .arg(item->columnItem, item->columnItem));
                continue;
            }
        }
        ui->sequenceListView->insertStoredStep(*item);
    }
    if (applications)
        applications->release();
    progress.setValue(int(items.size()));
    ui->sequenceListView->renumberSteps();
    setButtons(ButtonState::Idle);
    //: %1 = Sequence Title
    owner->logMessage(tr("ORV Sequencer '%1' - Load Sequence finished").arg(sequence->title()));
    return true;
}

void ORVSequencerMainDialog::writeSequence(HxSequence *sequence) const
{
    if (!sequence)
        return;
    sequence->setTitle(sequenceTitle);
    sequence->setDescription(description);
    sequence->setExecuteMode(ui->singleAppRadioButton->isChecked()
                                 ? int(ExecuteMode::SingleApplication)
                                 : int(ExecuteMode::WholeSequence));
    sequence->setGlobalGang(ui->globalGangCheckBox->isChecked());
    sequence->setRepeat(ui->repeatCheckBox->isChecked());
    sequence->setRepeatCount(ui->repeatSpinBox->value());
    sequence->setStatusBannerSequence(ui->statusBannerSequenceCheckBox->isChecked());
    sequence->setStatusBannerApp(ui->statusBannerAppCheckBox->isChecked());
    sequence->setUnitIdentification(ui->unitIdentGroupBox->isChecked());
    sequence->setUnitSerialNumber(ui->serNumberLineEdit->text());
    sequence->setUnitFolder(ui->folderLineEdit->text());
    unitDialog->storeOptions(*sequence);
    sequence->setUnitSubDirMask(currentMask);
    // New step objects: copies of the sequence made earlier keep the steps
    // they had.
    HxSequenceItemList items;
    for (const SequenceElementItem *step : ui->sequenceListView->steps())
        items.append(std::make_shared<HxSequenceItem>(step->toStoredItem()));
    sequence->setItems(items);
}

void ORVSequencerMainDialog::renameApplication(const QString &oldName, const QString &newName)
{
    for (SequenceElementItem *step : ui->sequenceListView->steps()) {
        if (step->itemType() == int(ItemType::Application)
            && step->text(SequenceElementItem::ItemColumn) == oldName) {
            step->setText(SequenceElementItem::ItemColumn, newName);
            step->stepName = newName;
        }
    }
}

// --- buttons, lamps and widgets ----------------------------------------------

void ORVSequencerMainDialog::setButtons(ButtonState state)
{
    switch (state) {
    case ButtonState::Idle:
        busy = false;
        stopped = true;
        continueLocked = true;
        cancelLocked = true;
        break;
    case ButtonState::Running:
        busy = true;
        stopped = false;
        continueLocked = true;
        cancelLocked = false;
        break;
    case ButtonState::StopPending:
        busy = true;
        stopped = true;
        continueLocked = true;
        cancelLocked = false;
        break;
    case ButtonState::Stopped:
        busy = true;
        stopped = true;
        continueLocked = false;
        cancelLocked = false;
        break;
    }
    applyButtonStates(!busy && hasSteps() && !owner->runningWindow(), !stopped, !continueLocked,
                      !cancelLocked);
    owner->runStateChanged();
}

void ORVSequencerMainDialog::applyButtonStates(bool startEnabled, bool stopEnabled,
                                               bool continueEnabled, bool cancelEnabled)
{
    ui->startSequenceButton->setEnabled(startEnabled);
    ui->stopSequenceButton->setEnabled(stopEnabled);
    ui->continueSequenceButton->setEnabled(continueEnabled);
    ui->cancelSequenceButton->setEnabled(cancelEnabled);
}

void ORVSequencerMainDialog::enterStoppedState()
{
    setButtons(ButtonState::Stopped);
}

void ORVSequencerMainDialog::setRunWidgetsEnabled(bool enabled)
{
    for (QWidget *widget : {static_cast<QWidget *>(ui->sequenceListView),
                            static_cast<QWidget *>(ui->unitIdentGroupBox),
                            static_cast<QWidget *>(ui->repeatCheckBox),
                            static_cast<QWidget *>(ui->repeatSpinBox),
                            static_cast<QWidget *>(ui->globalGangCheckBox),
                            static_cast<QWidget *>(ui->statusBannerSequenceCheckBox),
                            static_cast<QWidget *>(ui->statusBannerAppCheckBox)})
        widget->setEnabled(enabled);
}

void ORVSequencerMainDialog::setLamp(QLabel *label, const QString &image)
{
    label->setPixmap(SequenceElementItem::imageIcon(image).pixmap(16, 16));
    label->setProperty("lamp", image);
}

void ORVSequencerMainDialog::updateLamps()
{
    QString pass = QStringLiteral("LED_white.png");
    QString fail = pass;
    QString error = pass;
    if (!cycleStatuses.isEmpty()) {
        if (cycleStatuses.contains(StatusText::Cancelled) || cycleStatuses.contains(StatusText::Error)
            || cycleStatuses.contains(StatusText::Timeout))
            error = QStringLiteral("LED_yellow.png");
        else if (cycleStatuses.contains(StatusText::Failed))
            fail = QStringLiteral("LED_red.png");
        else
            pass = QStringLiteral("LED_green.png");
    }
    setLamp(ui->seqStatusPassPixmapLabel, pass);
    setLamp(ui->seqStatusFailPixmapLabel, fail);
    setLamp(ui->seqStatusErrorPixmapLabel, error);
}

ORVSequencerMainDialog::Verdict ORVSequencerMainDialog::cycleVerdict() const
{
    if (cycleStatuses.contains(StatusText::Cancelled) || cycleStatuses.contains(StatusText::Error)
        || cycleStatuses.contains(StatusText::Timeout))
        return {QStringLiteral("ERRORS"), QStringLiteral("#FFFF00"), 4};
    if (cycleStatuses.contains(StatusText::Failed))
        return {QStringLiteral("FAILED"), QStringLiteral("#FF4040"), 1};
    return {QStringLiteral("PASSED"), QStringLiteral("#80FF80"), 2};
}

ORVSequencerMainDialog::Verdict ORVSequencerMainDialog::runAggregate() const
{
    // A time-out alone does not fail a run: the question just went unanswered.
    if (runStatuses.contains(StatusText::Cancelled) || runStatuses.contains(StatusText::Error))
        return {QStringLiteral("Error"), QStringLiteral("#FFFF00"), 4};
    if (runStatuses.contains(StatusText::Failed))
        return {QStringLiteral("Failed"), QStringLiteral("#FF0000"), 1};
    return {QStringLiteral("Passed"), QStringLiteral("#00FF00"), 2};
}

void ORVSequencerMainDialog::appendRunStatus(const QString &text)
{
    runStatuses.append(text);
}

void ORVSequencerMainDialog::appendCycleStatus(const QString &text)
{
    cycleStatuses.append(text);
}

void ORVSequencerMainDialog::startBusyLamp()
{
    if (!busyTimer) {
        busyTimer = new QTimer(this);
        connect(busyTimer, &QTimer::timeout, this, &ORVSequencerMainDialog::animateBusyLed);
    }
    busyTimer->start(250);
}

void ORVSequencerMainDialog::stopBusyLamp()
{
    if (busyTimer)
        busyTimer->stop();
    busyLampOn = false;
    setLamp(ui->busyPixmapLabel, QStringLiteral("LED_white.png"));
}

void ORVSequencerMainDialog::animateBusyLed()
{
    ui->busyLineEdit->setText(current ? current->text(SequenceElementItem::ItemColumn) : QString());
    busyLampOn = !busyLampOn;
    setLamp(ui->busyPixmapLabel, busyLampOn ? QStringLiteral("LED_blue.png")
                                            : QStringLiteral("LED_white.png"));
}

void ORVSequencerMainDialog::on_statusBannerSequenceCheckBox_toggled(bool on)
{
    showSequenceStatusBanner = on;
}

void ORVSequencerMainDialog::on_statusBannerAppCheckBox_toggled(bool on)
{
    showAppStatusBanner = on;
}

void ORVSequencerMainDialog::slotClosePauseDialog()
{
    if (pauseDialog)
        pauseDialog->done(TimeoutExitCode);
}

void ORVSequencerMainDialog::slotCloseStatusDialog()
{
    if (statusDialog)
        statusDialog->accept();
}

void ORVSequencerMainDialog::closeEvent(QCloseEvent *event)
{
    // A running sequence keeps its window.
    if (owner->runningWindow() == this) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// --- selection helpers ---------------------------------------------------------

bool ORVSequencerMainDialog::isSingleApplicationMode() const
{
    return ui->singleAppRadioButton->isChecked();
}

SequenceElementItem *ORVSequencerMainDialog::selectedStep() const
{
    return ui->sequenceListView->selectedStep();
}

void ORVSequencerMainDialog::selectStep(SequenceElementItem *step)
{
    ui->sequenceListView->clearSelection();
    if (step) {
        ui->sequenceListView->setCurrentItem(step);
        step->setSelected(true);
    }
}

void ORVSequencerMainDialog::detachRun()
{
    if (owner->runningWindow() == this)
        owner->setRunningWindow(nullptr);
    owner->runStateChanged();
}

void ORVSequencerMainDialog::resetSteps(bool newRun)
{
    for (SequenceElementItem *step : ui->sequenceListView->steps()) {
        step->setStatusText(StatusText::Reset);
        step->status = int(StepStatus::Skipped);
        step->hostStatusId = 0;
        step->hostStatusText.clear();
        if (newRun) {
            step->count = 1;
            step->exitCode = 0;
        }
    }
    cycleStatuses.clear();
}

// --- the run -------------------------------------------------------------------

void ORVSequencerMainDialog::slotStartSequence()
{
    // In gang mode the units are as many as the TAPs the sequence's test
    // uses and the gang includes.
    sequenceTapInformation.clear();
    if (ui->globalGangCheckBox->isChecked())
        sequenceTapInformation = findSequenceTapInformation();
    beginPass(true);
}

void ORVSequencerMainDialog::beginPass(bool newRun)
{
    if (newRun) {
        startStamp = RunStamp::fromDateTime(QDateTime::currentDateTime());
        sequenceReport->setStartStamp(startStamp);
    }
    if (!hasSteps())
        return;
    owner->setRunningWindow(this);
    startBusyLamp();
    setButtons(ButtonState::Running);
    current = nullptr;
    if (loopNumber == 1)
        runStatuses.clear();
    resetSteps(newRun);
    updateLamps();
    setRunWidgetsEnabled(false);

    if (loopNumber == 1) {
        sequenceReport->writeReportHeader();
        runResults.runStarted(owner->hostLink(), sequenceTitle, sequenceReport->reportName());
        unitSerial = ui->serNumberLineEdit->text();
        unitFolder = ui->folderLineEdit->text();
        firstUnitSerial = unitSerial;
    }
    if (!ui->sequenceRadioButton->isChecked() && !ui->singleAppRadioButton->isChecked())
        return;
    if (loopNumber == 1 && ui->unitIdentGroupBox->isChecked() && !identifyNextUnit())
        return;
    executeStep(selectedStep());
}

void ORVSequencerMainDialog::executeStep(SequenceElementItem *step)
{
    if (step)
        ui->sequenceListView->scrollToItem(step);
    ui->busyLineEdit->clear();

    if (stopped) {
        // A Stop was pending: the run pauses in front of this step.
        setButtons(ButtonState::Stopped);
        resume = step ? step : ui->sequenceListView->firstStep();
        if (isSingleApplicationMode())
            selectStep(resume);
        updateLamps();
        const Verdict verdict = cycleVerdict();
        sequenceReport->writeCycleRow(verdict.text, verdict.colour, loopNumber, loopNumber);
        sequenceReport->writeReportTrailer(true);
        writeReportFile();
        if (ui->unitIdentGroupBox->isChecked() && !owner->sequencerSettings().perUnit)
            copyUnitReports(false);
        stopBusyLamp();
        // Nothing runs while the run waits: a Cancel now must not mark the
        // step that already ended.
        current = nullptr;
        tellMonitorRunEnd(HxiRunMonitor::Stopped, lastReportFile);
        detachRun();
        // The cycle count moves on only at the end of a pass (endOfPass), so
        // a stop in the middle of a cycle resumes in the same cycle.
        return;
    }

    ui->noLineEdit->setText(QString::number(loopNumber));
    if (!step)
        step = ui->sequenceListView->firstStep();
    if (!step)
        return;
    step->count = loopNumber;
    sequenceReport->clearOutput();

    switch (ItemType(step->itemType())) {
    case ItemType::Application:
        current = step;
        step->setStatusText(Busy);
        selectStep(step);
        executeApplication(step->text(SequenceElementItem::ItemColumn), step);
        break;
    case ItemType::Command:
        current = step;
        step->setStatusText(Busy);
        executeCommand(step);
        break;
    case ItemType::Operation:
        current = step;
        step->setStatusText(Busy);
        selectStep(step);
        executeOperation(step);
        break;
    case ItemType::None:
        // a row the runner does not know halts the run
        break;
    }
}

void ORVSequencerMainDialog::scheduleOperationFinished()
{
    QTimer::singleShot(10, owner->jobReceiver(), SLOT(OperationExecFinished()));
}

void ORVSequencerMainDialog::executeOperation(SequenceElementItem *step)
{
    using ControlOperations::ControlOperation;
    switch (ControlOperation(step->operationKind())) {
    case ControlOperation::Label:
        break;
    case ControlOperation::Goto: {
        SequenceElementItem *label =
            ui->sequenceListView->findLabelStep(step->text(SequenceElementItem::PropertyColumn));
        step->setStatusText(StatusText::Done);
        if (label) {
            current = label;
            selectStep(label);
        }
        if (step->addToReport)
            writeStepRow(step, White);
        break;
    }
    case ControlOperation::If:
        executeIf(step);
        break;
    case ControlOperation::Elif:
    case ControlOperation::Else: {
        // Reached by running through the end of a taken branch: the rest of
        // the IF is skipped.
        step->setStatusText(step->operationKind() == int(ControlOperation::Else) ? StatusText::Reset
                                                                                 : StatusText::Done);
        selectStep(step);
        if (SequenceElementItem *endIf = findBranchTarget(step, false)) {
            current = endIf;
            endIf->setStatusText(StatusText::Done);
            selectStep(endIf);
        }
        break;
    }
    case ControlOperation::EndIf:
        step->setStatusText(StatusText::Done);
        current = step;
        selectStep(step);
        break;
    case ControlOperation::Print:
        selectStep(step);
        printReport();
        step->setStatusText(StatusText::Done);
        break;
    case ControlOperation::Export:
        selectStep(step);
        sequenceReport->exportReport();
        step->setStatusText(StatusText::Done);
        break;
    case ControlOperation::Pause:
        runPause(step);
        return;
    case ControlOperation::Reset:
        selectStep(step);
        resetInstrument(step);
        return;
    case ControlOperation::IoPins:
        selectStep(step);
        runIoPins(step);
        return;
    default:
        break;
    }
    scheduleOperationFinished();
}

void ORVSequencerMainDialog::resetInstrument(SequenceElementItem *step)
{
    const HostLink link = owner->hostLink();
    QString directory;
    if (HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database)
        directory = QDir::toNativeSeparators(database->projectDirectory());
    int index = -1;
    const QString instrument =
        InstrumentLookup::resolve(link, step->text(SequenceElementItem::PropertyColumn), index);
    QString command;
    if (!instrument.isEmpty()) {
        HostService<HxiInstrumentEx> values(link, QStringLiteral("HxiInstrumentEx"));
        if (values) {
            command = values->instrumentValue(instrument, QStringLiteral("Reset.%1").arg(index));
            if (!command.isEmpty())
                command += QStringLiteral(" -a\"%1\"").arg(values->instrumentValue(instrument, QStringLiteral("Address")));
        }
    }
    HostService<HxiMainProcessEx> processes(link, QStringLiteral("HxiMainProcessEx"));
    if (command.isEmpty() || !processes) {
        step->setStatusText(StatusText::Error);
        UserPrompt(link, this).ask(HxiPrompt::Critical, tr("Fatal error"),
                                   tr("Could not start the Reset Instrument command."), {tr("Quit")}, 0);
        scheduleOperationFinished();
        return;
    }
    processes->startProcess(command, directory, owner->jobReceiver(),
                            SLOT(ResetInstrumentReady(HxmJob*,QString,int)),
                            SLOT(OnExecStdout(HxmJob*,QString)), SLOT(OnExecStderr(HxmJob*,QString)));
}

void ORVSequencerMainDialog::runIoPins(SequenceElementItem *step)
{
    const HostLink link = owner->hostLink();
    HostService<HxiMainProcess> processes(link, QStringLiteral("HxiMainProcess"));
    HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
    if (!processes || !database)
        return;   // nothing starts; Cancel ends the run
    ioPinsFolder = QDir::toNativeSeparators(database->projectDirectory());
    // The step's properties dialog builds the command lines; it is never
    // shown during a run.
    ioPinsDialog->loadParameters(step->parameters);
    ioPinsOptions = ioPinsDialog->options();

    for (const IoPinsCommandLine::ReportRow &row : IoPinsCommandLine::parameterRows(ioPinsOptions))
        sequenceReport->writeInstrumentRow(row.marker, row.text);
    // A stale result of an earlier read must not pass for this one's.
    QFile::remove(QDir(ioPinsFolder).filePath(IoPinsCommandLine::ResultFileName));

    // The operations run one after the other as one job; the first that
    // fails ends it with its exit code.
    const QStringList commandLines = ioPinsDialog->buildCommandLines();
    if (commandLines.isEmpty() || !ioPinsOptions.usesAnyPin()) {
        const QString text = commandLines.isEmpty()
            ? tr("Could not start the Read/Test/Write IO Pins command.")
            : tr("The Read/Test/Write IO Pins step has no pin to write or read: every control "
                 "and mask pattern is 0.");
        UserPrompt(link, this).ask(HxiPrompt::Critical, tr("Fatal error"), text, {tr("Quit")}, 0);
        QTimer::singleShot(10, this, [this, step, text] {
            if (owner->runningWindow() == this && !cancelLocked && current == step)
                applicationFinished(nullptr, text, 2);
        });
        return;
    }
    processes->startProcess(commandLines.join(QStringLiteral(" && ")), ioPinsFolder, this,
                            SLOT(SlotIOPinsProcessReady(HxmJob*,QString,int)));
}

void ORVSequencerMainDialog::SlotIOPinsProcessReady(HxmJob *job, const QString &message, int exitCode)
{
    if (owner->runningWindow() != this || cancelLocked)
        return;
    const IoPinsCommandLine::Results results = ioPinsDialog->readResults(ioPinsFolder);
    for (const IoPinsCommandLine::ReportRow &row : IoPinsCommandLine::resultRows(ioPinsOptions, results))
        sequenceReport->writeInstrumentRow(row.marker, row.text);
    sequenceReport->refreshLiveReport();
    applicationFinished(job, message, exitCode);
}

void ORVSequencerMainDialog::resetFinished(int exitCode)
{
    if (current)
        current->setStatusText(exitCode == 0 ? StatusText::Done : StatusText::Error);
    scheduleOperationFinished();
}

int ORVSequencerMainDialog::runMessageDialog(StatusDlg::Mode mode, const QString &caption,
                                             const QString &text, const QString &colour,
                                             int autoCloseMs, bool noIsDefault)
{
    const UserPrompt prompt(owner->hostLink(), this);
    if (prompt.hostAnswers()) {
        // A host without a person answers itself; an answer it does not give
        // counts as the time-out running out.
        const int icon = mode == StatusDlg::Question ? HxiPrompt::Question : HxiPrompt::Information;
        const QStringList buttons = mode == StatusDlg::Question ? QStringList{tr("&Yes"), tr("&No")}
                                                                : QStringList{tr("&OK")};
        const int answer = prompt.ask(icon, caption, text, buttons, noIsDefault ? 1 : 0);
        return answer < 0 ? StatusDlg::TimedOut : answer;
    }
    StatusDlg dialog(mode, caption, text, colour, this);
    dialog.setDefaultAnswer(noIsDefault);
    if (mode == StatusDlg::Banner)
        statusDialog = &dialog;
    else
        pauseDialog = &dialog;
    if (autoCloseMs > 0) {
        QTimer::singleShot(autoCloseMs, this,
                           mode == StatusDlg::Banner ? &ORVSequencerMainDialog::slotCloseStatusDialog
                                                     : &ORVSequencerMainDialog::slotClosePauseDialog);
    }
    QApplication::restoreOverrideCursor();
    const int result = dialog.exec();
    statusDialog = nullptr;
    pauseDialog = nullptr;
    return result;
}

QString ORVSequencerMainDialog::bannerColour(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Passed:
        return QStringLiteral("#00FF00");
    case Outcome::Failed:
        return QStringLiteral("#FF0000");
    case Outcome::Skipped:
        return QStringLiteral("#FFFFFF");
    default:
        return QStringLiteral("#FFFF00");
    }
}

void ORVSequencerMainDialog::showStatusBanner(const QString &caption, const QString &text,
                                              const QString &colour, int autoCloseMs)
{
    runMessageDialog(StatusDlg::Banner, caption, text, colour, autoCloseMs, false);
}

void ORVSequencerMainDialog::runPause(SequenceElementItem *step)
{
    // An unanswered question must not let the run go on past the pause.
    step->systemErrorAction = QStringLiteral("Stop");
    const QStringList fields = step->text(SequenceElementItem::ItemColumn).split(QLatin1Char(','));
    const int timeOut = fields.value(0).trimmed().toInt();
    playSound(fields.value(1).trimmed());

    const QString text = step->pauseMessageText;
    const bool question = text.trimmed().endsWith(QLatin1Char('?'));
    const int result = runMessageDialog(question ? StatusDlg::Question : StatusDlg::Message,
                                        tr("Sequence Item"), text, QStringLiteral("#FFFFFF"),
                                        timeOut > 0 ? timeOut : 0,
                                        step->pauseMessageDefaultAnswer == 1);
    if (owner->runningWindow() != this || cancelLocked || current != step)
        return;   // the run was cancelled while the question was open
    if (!question) {
        scheduleOperationFinished();
        return;
    }
    const bool noIsPass = step->pauseMessageAnswerNoIsPass;
    const QString property = step->text(SequenceElementItem::PropertyColumn);
    switch (result) {
    case StatusDlg::TimedOut:
        sequenceReport->writeAnswerRow(property, QStringLiteral("<font color='#000000'>timeout</font>"));
        applicationFinished(nullptr, QStringLiteral("Timeout"), TimeoutExitCode);
        break;
    case 0:
        sequenceReport->writeAnswerRow(property, noIsPass ? QStringLiteral("<font color='#008000'>no</font>")
                                                          : QStringLiteral("<font color='#008000'>yes</font>"));
        applicationFinished(nullptr, QStringLiteral("Pass"), 0);
        break;
    case 1:
        sequenceReport->writeAnswerRow(property, noIsPass ? QStringLiteral("<font color='#FF0000'>yes</font>")
                                                          : QStringLiteral("<font color='#FF0000'>no</font>"));
        applicationFinished(nullptr, QStringLiteral("Fail"), 1);
        break;
    default:
        break;
    }
}

void ORVSequencerMainDialog::playSound(const QString &fileName)
{
    if (fileName.isEmpty())
        return;
    // A relative name is a file of the project, as the other files of a
    // step are.
    QString path = fileName;
    if (QFileInfo(fileName).isRelative()) {
        if (HostService<HxiDatabase> database(owner->hostLink(), QStringLiteral("HxiDatabase")); database)
            path = QDir(database->projectDirectory()).filePath(fileName);
    }
    // A missing sound file plays nothing; the pause is shown all the same.
    if (!QFileInfo(path).isFile())
        return;
#if defined(ORV_HAVE_MULTIMEDIA)
    if (!pauseSound)
        pauseSound = new QSoundEffect(this);
    pauseSound->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    pauseSound->play();
#else
    // This build has no sound output; say so once, where the engineer looks.
    if (!soundMissingReported) {
        soundMissingReported = true;
        owner->logMessage(tr("ORV Sequencer '%1' - This installation cannot play sounds: '%2' is not played")
                              .arg(sequenceTitle, QDir::toNativeSeparators(path)));
    }
#endif
}

void ORVSequencerMainDialog::printReport()
{
    const UserPrompt prompt(owner->hostLink(), this);
    if (!prompt.hostAnswers()) {
        sequenceReport->printReportWithSetup();
        return;
    }
    // A host without a person at a printer dialog names a PDF file instead.
    const QString fileName =
        prompt.saveFileName(tr("Print report"), QString(), tr("PDF files") + QStringLiteral(" (*.pdf)"));
    if (fileName.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    sequenceReport->printReport(&printer);
}

bool ORVSequencerMainDialog::conditionHolds(SequenceElementItem *conditionStep,
                                            SequenceElementItem *referenceStep) const
{
    const auto asCondition = [this](const SequenceElementItem *step) {
        ConditionStep result;
        result.condition = step->text(SequenceElementItem::PropertyColumn);
        result.loopNumber = step->count;
        result.exitCode = step->exitCode;
        result.status = step->status;
        result.crc = crcValues.value(step, 0);
        return result;
    };
    ConditionStep condition = asCondition(conditionStep);
    // An ELIF examined for a false IF sees the cycle the IF runs in.
    condition.loopNumber = loopNumber;
    std::optional<ConditionStep> reference;
    if (referenceStep)
        reference = asCondition(referenceStep);
    const Verdict aggregate = runAggregate();
    return Condition::evaluateCondition(&condition, reference ? &*reference : nullptr,
                                        [&aggregate](ConditionKeyword::Id verdict) {
                                            switch (verdict) {
                                            case ConditionKeyword::Id::Pass:
                                                return aggregate.code == 2;
                                            case ConditionKeyword::Id::Fail:
                                                return aggregate.code == 1;
                                            case ConditionKeyword::Id::Error:
                                                return aggregate.code == 4;
                                            default:
                                                return false;
                                            }
                                        });
}

void ORVSequencerMainDialog::executeIf(SequenceElementItem *step)
{
    step->setStatusText(StatusText::Done);
    selectStep(step);
    SequenceElementItem *reference = ui->sequenceListView->stepAbove(step);
    if (conditionHolds(step, reference)) {
        current = step;
        return;
    }
    if (step->addToReport)
        writeStepRow(step, White);
    current = step;
    if (SequenceElementItem *target = findBranchTarget(step, true)) {
        current = target;
        target->setStatusText(StatusText::Done);
        selectStep(target);
    }
}

SequenceElementItem *ORVSequencerMainDialog::findBranchTarget(SequenceElementItem *from,
                                                              bool elifMayMatch) const
{
    using ControlOperations::ControlOperation;
    SequenceListView *list = ui->sequenceListView;
    SequenceElementItem *reference = list->stepAbove(from);
    int depth = 0;
    for (SequenceElementItem *step = list->stepBelow(from); step; step = list->stepBelow(step)) {
        if (step->itemType() != int(ItemType::Operation))
            continue;
        const int kind = operationKindOf(step);
        if (depth == 0) {
            if (kind == int(ControlOperation::EndIf))
                return step;
            if (elifMayMatch) {
                if (kind == int(ControlOperation::Else))
                    return step;
                if (kind == int(ControlOperation::Elif) && conditionHolds(step, reference))
                    return step;
            }
        }
        if (kind == int(ControlOperation::EndIf))
            --depth;
        else if (kind == int(ControlOperation::If))
            ++depth;
    }
    return nullptr;
}

// --- completion of steps -------------------------------------------------------

void ORVSequencerMainDialog::operationFinished()
{
    SequenceElementItem *step = current;
    if (!step)
        return;
    if (isOperation(step, ControlOperations::ControlOperation::Reset))
        sequenceReport->writeOutputReport(reportStep(step), QString(), QString(), QString());
    if (step->statusToSequenceStatus) {
        appendCycleStatus(StatusText::Done);
        appendRunStatus(StatusText::Done);
    }
    updateLamps();
    step->setStatusText(StatusText::Done);
    step->exitCode = 0;
    step->status = int(StepStatus::Done);
    step->count = loopNumber;
    SequenceElementItem *next = ui->sequenceListView->stepBelow(step);
    selectStep(next);
    if (step->addToReport || isOperation(step, ControlOperations::ControlOperation::Reset))
        writeStepRow(step, White);
    tellMonitorStep(step);
    if (!isSingleApplicationMode() && next) {
        executeStep(next);
        return;
    }
    if (!next)
        resume = ui->sequenceListView->firstStep();
    checkEndOfPass();
}

void ORVSequencerMainDialog::checkEndOfPass()
{
    const bool furtherCycle = ui->repeatCheckBox->isChecked() && loopNumber != ui->repeatSpinBox->value();
    endOfPass();
    if (!furtherCycle)
        detachRun();
}

void ORVSequencerMainDialog::applicationFinished(HxmJob *job, const QString &message, int exitCode)
{
    SequenceElementItem *step = current;
    if (!step)
        return;
    // Tell the application it no longer has a results folder of this run.
    if (HostService<HxiAppSequence> service(owner->hostLink(), QStringLiteral("HxiAppSequence"),
                                            step->text(SequenceElementItem::TypeColumn));
        service)
        service->setResultsDirectory(step->text(SequenceElementItem::ItemColumn), QString(), 0);

    if (job && !isOperation(step, ControlOperations::ControlOperation::IoPins)) {
        const QFileInfo file(job->applicationFilePath);
        const QString base = file.absolutePath() + QLatin1Char('/') + file.completeBaseName();
        const QString truthTable = base + QStringLiteral("_ttr.html");
        const QString diagnostics = base + QStringLiteral("_dia.html");
        const QString mode = job->reportMode;
        QString ttr, dia, rep;
        if (mode == QLatin1String("Diagnostics")
            || (mode == QLatin1String("Diagnostics on Fail") && exitCode == 1))
            dia = diagnostics;
        else if (mode == QLatin1String("Report"))
            rep = job->resultDirectory + QStringLiteral("/error.html");
        else if (mode == QLatin1String("All vectors, All nets")
                 || mode == QLatin1String("All vectors, Failing nets")
                 || mode == QLatin1String("Failing vectors, All nets")
                 || mode == QLatin1String("Failing vectors, Failing nets"))
            ttr = truthTable;
        sequenceReport->writeOutputReport(reportStep(step), ttr, dia, rep);
    }

    // A flash image check passes only when the image the job left behind
    // has the checksum the job was given.
    if (job && exitCode == 0
        && step->text(SequenceElementItem::TypeColumn) == QLatin1String("Flash Device Programming")
        && step->text(SequenceElementItem::OperationColumn) == QLatin1String("Check Image File's CRC"))
        exitCode = checkImageCrc(step, job);

    Outcome outcome;
    switch (exitCode) {
    case 0:
        outcome = Outcome::Passed;
        break;
    case 2:
        outcome = Outcome::Error;
        break;
    case 3:
        outcome = Outcome::Rejected;
        break;
    case 4:
        outcome = Outcome::Skipped;
        break;
    case TimeoutExitCode:
        outcome = Outcome::Timeout;
        break;
    default:
        outcome = Outcome::Failed;
        break;
    }
    finishStep(step, outcome, exitCode, job, message);
}

int ORVSequencerMainDialog::checkImageCrc(SequenceElementItem *step, HxmJob *job)
{
    const QString image = QFileInfo(job->parameters.value(QStringLiteral("ImageFileName"))).fileName();
    QFile file(QDir(job->resultDirectory).filePath(image + QStringLiteral(".tmp")));
    if (!file.open(QIODevice::ReadOnly)) {
        job->flags |= HxmJob::ImageCheckNotMade;
        return 2;
    }
    const quint32 crc = ImageCrc::compute(file.readAll());
    crcValues.insert(step, crc);
    const auto expected = ImageCrc::parseExpected(job->parameters.value(QStringLiteral("ImageCRC")));
    if (expected && *expected == crc) {
        job->flags &= ~int(HxmJob::ImageCheckFailed);
        return 0;
    }
    job->flags |= HxmJob::ImageCheckFailed;
    return 1;
}

void ORVSequencerMainDialog::commandFinished(HxmJob *job, const QString &message, int exitCode)
{
    SequenceElementItem *step = current;
    if (!step)
        return;
    // The command's console output goes into the report before its row.
    sequenceReport->writeOutputReport(reportStep(step), QString(), QString(), QString());
    const SequenceCommand command = step->sequenceCommand();
    Outcome outcome;
    if (exitCode == command.passExitCode())
        outcome = Outcome::Passed;
    else if (exitCode == command.failExitCode())
        outcome = Outcome::Failed;
    else if (exitCode == CommandCancelledExitCode)
        outcome = Outcome::Cancelled;
    else if (exitCode == 4)
        outcome = Outcome::Skipped;
    else
        outcome = Outcome::Error;
    finishStep(step, outcome, exitCode, job, message);
}

void ORVSequencerMainDialog::jobOutput(const QString &text, bool isError)
{
    if (text.isEmpty())
        return;
    isError ? sequenceReport->appendStderr(text) : sequenceReport->appendStdout(text);
}

void ORVSequencerMainDialog::finishStep(SequenceElementItem *step, Outcome outcome, int exitCode,
                                        HxmJob *job, const QString &message)
{
    static const QMap<Outcome, OutcomeInfo> table = {
        {Outcome::Passed, {StatusText::Passed, QStringLiteral("#80FF80"), 1, 8}},
        {Outcome::Failed, {StatusText::Failed, QStringLiteral("#FF4040"), 2, 9}},
        {Outcome::Rejected, {StatusText::Rejected, QStringLiteral("#FFFF00"), 3, 10}},
        {Outcome::Error, {StatusText::Error, QStringLiteral("#FFFF00"), 4, 11}},
        {Outcome::Timeout, {StatusText::Timeout, QStringLiteral("#FFFF00"), 4, 11}},
        {Outcome::Skipped, {StatusText::Skipped, QStringLiteral("#FFFFFF"), 0, 0}},
        {Outcome::Cancelled, {StatusText::Cancelled, QStringLiteral("#FFFF00"), 5, 0}},
    };
    const OutcomeInfo info = table.value(outcome);
    SequenceListView *list = ui->sequenceListView;

    // The follow-up action of the outcome picks the next step.
    QString action;
    switch (outcome) {
    case Outcome::Passed:
        action = step->passAction;
        break;
    case Outcome::Failed:
        action = step->failAction;
        break;
    case Outcome::Rejected:
        action = step->rejectAction;
        break;
    case Outcome::Error:
    case Outcome::Timeout:
        action = step->systemErrorAction;
        break;
    case Outcome::Skipped:
    case Outcome::Cancelled:
        break;
    }
    const FlowAction flow = flowActionFromName(action);
    SequenceElementItem *next = list->stepBelow(step);
    bool stopPending = false;
    bool redo = false;
    if (flow == FlowAction::Prev)
        next = list->stepAbove(step);
    else if (flow == FlowAction::Stop && !action.isEmpty())
        stopPending = true;
    else if (flow == FlowAction::Redo && !action.isEmpty()) {
        next = step;
        redo = true;
    }

    // A redone attempt leaves no trace in the verdicts; only the last one counts.
    if (!redo && step->statusToSequenceStatus) {
        appendCycleStatus(info.text);
        appendRunStatus(info.text);
    }
    updateLamps();

    step->setStatusText(info.text);
    step->status = info.statusCode;
    step->exitCode = exitCode;
    step->count = loopNumber;
    step->hostStatusId = job ? job->statusId : info.hostStatusId;
    step->hostStatusText = job ? job->message : message;

    if (step->itemType() == int(ItemType::Application)) {
        const bool perOutcome = (step->saveResultsOnPass && info.statusCode == 1)
                                || (step->saveResultsOnFail && info.statusCode == 2);
        QStringList resultFiles;
        if (job && perOutcome) {
            const QFileInfo file(job->applicationFilePath);
            resultFiles << file.absolutePath() + QLatin1Char('/') + file.completeBaseName()
                               + QStringLiteral(".log");
        }
        sequenceReport->copyResults(perOutcome, resultFiles, unitSettings());
    }

    if (showAppStatusBanner && step->itemType() == int(ItemType::Application)
        && !isOperation(step, ControlOperations::ControlOperation::Pause))
        showStatusBanner(tr("Sequence Item Status"), info.text, bannerColour(outcome),
                         exitCode == 0 ? 2000 : 0);
    else if (showAppStatusBanner && step->itemType() == int(ItemType::Command))
        showStatusBanner(tr("Sequence Item Status"),
                         QStringLiteral("%1 - %2").arg(step->text(SequenceElementItem::ItemColumn), info.text),
                         bannerColour(outcome), exitCode == step->sequenceCommand().passExitCode() ? 2000 : 0);

    selectStep(next);
    if (step->itemType() == int(ItemType::Application)) {
        if (HostService<HxiMainProjectEx> project(owner->hostLink(), QStringLiteral("HxiMainProjectEx"));
            project)
            project->reportApplicationOutcome(
                step->text(SequenceElementItem::ItemColumn), step->text(SequenceElementItem::TypeColumn),
                step->hostStatusId, step->hostStatusText,
                step->text(SequenceElementItem::OperationColumn) == ApplicationTypes::TestInfrastructure);
    }
    writeStepRow(step, info.reportColour);
    tellMonitorStep(step);

    if (outcome == Outcome::Cancelled) {
        detachRun();
        return;
    }
    continueAfter(step, next, stopPending);
}

void ORVSequencerMainDialog::continueAfter(SequenceElementItem *step, SequenceElementItem *next,
                                           bool stopPending)
{
    // The run stops in front of the next step, as if Stop had been pressed.
    if (stopPending)
        setButtons(ButtonState::StopPending);
    if (isSingleApplicationMode()) {
        current = step;
        checkEndOfPass();
        return;
    }
    if (next) {
        executeStep(next);
        return;
    }
    resume = ui->sequenceListView->firstStep();
    checkEndOfPass();
}

void ORVSequencerMainDialog::endOfPass()
{
    const bool wasStopped = stopped;
    const bool repeats = ui->repeatCheckBox->isChecked() && loopNumber < ui->repeatSpinBox->value();
    const bool lastStep = current == nullptr || ui->sequenceListView->stepBelow(current) == nullptr;
    const bool furtherCycleWithStop =
        wasStopped && ((isSingleApplicationMode() && repeats)
                       || (!isSingleApplicationMode() && (!lastStep || repeats)));
    busy = false;
    stopped = true;
    cancelLocked = true;
    continueLocked = !furtherCycleWithStop;
    applyButtonStates(hasSteps() && (!owner->runningWindow() || owner->runningWindow() == this),
                      false, !continueLocked, false);

    if (repeats) {
        ++loopNumber;
        if (!wasStopped)
            stopped = false;
        cancelLocked = false;
        busy = true;
        applyButtonStates(false, !stopped, !continueLocked, true);
        const Verdict verdict = cycleVerdict();
        sequenceReport->writeCycleRow(verdict.text, verdict.colour, loopNumber - 1, loopNumber);
        if (ui->unitIdentGroupBox->isChecked() && owner->sequencerSettings().perUnit)
            copyUnitReports(true);
        if (!wasStopped) {
            // every further cycle tests the next unit
            if (ui->unitIdentGroupBox->isChecked() && !identifyNextUnit())
                return;
            if (isSingleApplicationMode()) {
                selectStep(current);
                cycleStatuses.clear();
                executeStep(current);
            } else {
                beginPass(false);
            }
            return;
        }
        sequenceReport->writeReportTrailer(true);
        writeReportFile();
        if (ui->unitIdentGroupBox->isChecked() && !owner->sequencerSettings().perUnit)
            copyUnitReports(false);
        cycleStatuses.clear();
        stopBusyLamp();
        // A single application resumes with itself, a sequence where it stopped.
        if (isSingleApplicationMode() && current)
            resume = current;
        else if (!resume)
            resume = ui->sequenceListView->firstStep();
        current = nullptr;
        setButtons(ButtonState::Stopped);
        tellMonitorRunEnd(HxiRunMonitor::Stopped, lastReportFile);
        detachRun();
        return;
    }

    const Verdict verdict = cycleVerdict();
    sequenceReport->writeCycleRow(verdict.text, verdict.colour, loopNumber, loopNumber);
    if (ui->unitIdentGroupBox->isChecked() && owner->sequencerSettings().perUnit)
        copyUnitReports(true);
    sequenceReport->writeReportTrailer(wasStopped);
    if (!wasStopped && ui->statusBannerSequenceCheckBox->isChecked()) {
        const Verdict aggregate = runAggregate();
        showStatusBanner(tr("Sequence Status"), aggregate.text, aggregate.colour, 0);
    }
    writeReportFile();
    if (ui->unitIdentGroupBox->isChecked() && !owner->sequencerSettings().perUnit)
        copyUnitReports(false);
    cycleStatuses.clear();
    loopNumber = 1;
    stopBusyLamp();
    setRunWidgetsEnabled(true);
    current = nullptr;
    if (furtherCycleWithStop) {
        setButtons(ButtonState::Stopped);
    } else {
        resume = nullptr;
        owner->setRunningWindow(nullptr);
        setButtons(ButtonState::Idle);
    }
    tellMonitorRunEnd(wasStopped ? HxiRunMonitor::Stopped : HxiRunMonitor::Completed, lastReportFile);
}

// --- user requests ---------------------------------------------------------------

void ORVSequencerMainDialog::slotStopSequence()
{
    setButtons(ButtonState::StopPending);
    sequenceReport->writeUserRequestRow(QStringLiteral("Stop"), QStringLiteral("#FF4040"));
}

void ORVSequencerMainDialog::slotContinueSequence()
{
    startStamp = RunStamp::fromDateTime(QDateTime::currentDateTime());
    sequenceReport->setStartStamp(startStamp);
    owner->setRunningWindow(this);
    setRunWidgetsEnabled(false);
    startBusyLamp();
    setButtons(ButtonState::Running);
    sequenceReport->appendTableHeader();
    sequenceReport->writeUserRequestRow(QStringLiteral("Continue"), QStringLiteral("#99CCFF"));
    runResults.runStarted(owner->hostLink(), sequenceTitle, sequenceReport->reportName());
    SequenceElementItem *step = resume ? resume : ui->sequenceListView->firstStep();
    selectStep(step);
    const bool newUnit = isSingleApplicationMode() || step == ui->sequenceListView->firstStep();
    if (step == ui->sequenceListView->firstStep())
        resetSteps(false);
    if (newUnit && ui->unitIdentGroupBox->isChecked() && !identifyNextUnit())
        return;
    executeStep(step);
}

void ORVSequencerMainDialog::slotCancelSequence()
{
    startStamp = RunStamp::fromDateTime(QDateTime::currentDateTime());
    sequenceReport->setStartStamp(startStamp);
    if (!continueLocked)
        sequenceReport->appendTableHeader();
    sequenceReport->writeCancelRow(QStringLiteral("User request"));
    if (finishRun(true) == 0)
        detachRun();
}

int ORVSequencerMainDialog::finishRun(bool markCancelled)
{
    int aborted = 0;
    // Whatever ends now must not continue the run: the job's end arrives at
    // a window that is no longer running.
    cancelLocked = true;
    if (HostService<HxiMainJob> jobs(owner->hostLink(), QStringLiteral("HxiMainJob")); jobs) {
        if (HxmJob *job = jobs->currentJob()) {
            jobs->abortJob(job);
            aborted = 1;
        }
    }
    busy = false;
    stopped = true;
    continueLocked = true;
    if (markCancelled && current)
        current->setStatusText(StatusText::Cancelled);
    resume = nullptr;
    updateLamps();
    sequenceReport->writeReportTrailer(false);
    writeReportFile();
    if (ui->unitIdentGroupBox->isChecked())
        copyUnitReports(owner->sequencerSettings().perUnit);
    setRunWidgetsEnabled(true);
    stopBusyLamp();
    loopNumber = 1;
    if (markCancelled && current)
        tellMonitorStep(current);
    tellMonitorRunEnd(HxiRunMonitor::Cancelled, lastReportFile);
    if (aborted == 0)
        owner->setRunningWindow(nullptr);
    applyButtonStates(hasSteps() && !owner->runningWindow(), false, false, false);
    owner->runStateChanged();
    return aborted;
}

// --- unit identification -------------------------------------------------------

bool ORVSequencerMainDialog::isGangMode() const
{
    return ui->globalGangCheckBox->isChecked() && owner->sequencerSettings().enableGang;
}

void ORVSequencerMainDialog::on_unitIdentSetupPushButton_clicked()
{
    unitDialog->setSerialNumber(ui->serNumberLineEdit->text());
    unitDialog->setMask(currentMask);
    unitDialog->setFolderName(ui->folderLineEdit->text());
    // on OK the window takes the texts over through unitConfirmed
    if (unitDialog->ask(UnitIdentificationDialog::Mode::Setup, tr("Unit Identification"))) {
        // counting starts again from what the engineer set up
        nextSerialNumber.clear();
        nextFolderName.clear();
        nextMask.clear();
    }
}

void ORVSequencerMainDialog::takeUnitTexts(const QString &serialNumber, const QString &folderName,
                                           const QString &mask)
{
    ui->serNumberLineEdit->setText(serialNumber);
    ui->folderLineEdit->setText(folderName);
    currentMask = mask;
}

QString ORVSequencerMainDialog::unitResultPath() const
{
    return QDir::toNativeSeparators(sequenceReport->resultsFolder(unitSettings()));
}

bool ORVSequencerMainDialog::identifyNextUnit()
{
    if (prepareUnitIdentification())
        return true;
    finishRun(false);
    detachRun();
    return false;
}

bool ORVSequencerMainDialog::prepareUnitIdentification()
{
    // the rows of a unit report start with the unit's identification
    sequenceReport->clearUnitReport();
    const UnitIdentificationDialog::Options &options = unitDialog->options();
    bool asked = false;
    if (options.autoPrompt) {
        // The operator is offered the unit after the last one.
        const QString serial = ui->serNumberLineEdit->text();
        QString folder = ui->folderLineEdit->text();
        QString mask = currentMask;
        if (options.subDirAutoIncrement) {
            folder = UnitText::incrementText(folder);
            mask = UnitText::incrementText(mask);
        }
        unitDialog->setMask(mask);
        unitDialog->setFolderName(folder);
        unitDialog->setSerialNumber(options.serialAutoIncrement ? UnitText::incrementText(serial)
                                                                : serial);
        if (!promptUnit())
            return false;
        asked = true;
    }
    // What the operator confirmed is this unit's, and counting goes on from
    // there; without a question each unit takes the next text in turn.
    if (options.serialAutoIncrement)
        takeNextSerialNumber(asked);
    if (options.subDirIsSerialNumber)
        ui->folderLineEdit->setText(ui->serNumberLineEdit->text());
    else if (options.subDirAutoIncrement)
        takeNextFolderName(asked);
    if (!(asked && isGangMode())) {
        unitSerial = ui->serNumberLineEdit->text();
        unitFolder = ui->folderLineEdit->text();
        if (loopNumber == 1)
            firstUnitSerial = unitSerial;
    }
    // In gang mode every TAP's unit wrote its own rows when it was named.
    if (!isGangMode()) {
        sequenceReport->writeUnitRows(unitSerial, unitResultPath(), QString());
        runResults.unitIdentified(loopNumber, unitSerial, unitFolder, QString());
    }
    return true;
}

void ORVSequencerMainDialog::takeNextSerialNumber(bool confirmed)
{
    if (confirmed || nextSerialNumber.isEmpty())
        nextSerialNumber = ui->serNumberLineEdit->text();
    ui->serNumberLineEdit->setText(nextSerialNumber);
    unitDialog->setSerialNumber(nextSerialNumber);
    nextSerialNumber = UnitText::incrementText(nextSerialNumber);
}

void ORVSequencerMainDialog::takeNextFolderName(bool confirmed)
{
    if (confirmed || nextFolderName.isEmpty()) {
        nextFolderName = ui->folderLineEdit->text();
        nextMask = currentMask;
    }
    ui->folderLineEdit->setText(nextFolderName);
    unitDialog->setFolderName(nextFolderName);
    currentMask = nextMask;
    unitDialog->setMask(nextMask);
    nextFolderName = UnitText::incrementText(nextFolderName);
    nextMask = UnitText::incrementText(nextMask);
}

bool ORVSequencerMainDialog::promptUnit()
{
    const QList<int> taps = TapText::tapsInBoth(sequenceTapInformation,
                                                owner->sequencerSettings().gangText);
    if (!isGangMode() || sequenceTapInformation.isEmpty()) {
        //: %1 = the POD TAPs the unit is tested on
        if (!unitDialog->ask(UnitIdentificationDialog::Mode::Unit,
                             tr("Unit Identification - POD TAPs: %1").arg(QStringLiteral("1"))))
            return false;
        unitSerial = ui->serNumberLineEdit->text();
        unitFolder = ui->folderLineEdit->text();
        if (loopNumber == 1)
            firstUnitSerial = unitSerial;
        // A gang whose test names no TAPs still has this one unit to report.
        if (isGangMode()) {
            sequenceReport->writeUnitRows(unitSerial, unitResultPath(), QString());
            runResults.unitIdentified(loopNumber, unitSerial, unitFolder, QString());
        }
        return true;
    }
    // One unit per TAP: every unit is asked for, even after one was refused,
    // so the operator sees the whole gang before the run ends.
    bool result = true;
    for (qsizetype i = 0; i < taps.size(); ++i) {
        const QString tapText = TapText::text(1 << (taps.at(i) - 1));
        if (!unitDialog->ask(UnitIdentificationDialog::Mode::Unit,
                             tr("Unit Identification - POD TAPs: %1").arg(tapText))) {
            result = false;
            continue;
        }
        unitSerial = ui->serNumberLineEdit->text();
        unitFolder = ui->folderLineEdit->text();
        sequenceReport->writeUnitRows(unitSerial, unitResultPath(), tapText);
        runResults.unitIdentified(loopNumber, unitSerial, unitFolder, tapText);
        if (loopNumber == 1 && i == 0)
            firstUnitSerial = unitSerial;
        if (i + 1 < taps.size() && unitDialog->options().serialAutoIncrement) {
            const QString next = UnitText::incrementText(unitSerial);
            unitDialog->setSerialNumber(next);
            ui->serNumberLineEdit->setText(next);
        }
    }
    return result;
}

QString ORVSequencerMainDialog::findSequenceTapInformation()
{
    const HostLink link = owner->hostLink();
    const UserPrompt prompt(link, this);
    HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
    if (!database) {
        prompt.information(Caption, tr("Error no project opened."));
        return QString();
    }
    // Runner applications program devices; the TAPs of the unit come from
    // the first application that tests it.
    HostService<HxiTypeInfo> types(link, QStringLiteral("HxiTypeInfo"));
    const SequenceElementItem *testStep = nullptr;
    for (const SequenceElementItem *step : ui->sequenceListView->steps()) {
        if (step->itemType() != int(ItemType::Application))
            continue;
        const QString type = step->text(SequenceElementItem::TypeColumn);
        if (types && types->attribute(type, QStringLiteral("Type")) == QLatin1String("Runner"))
            continue;
        testStep = step;
        break;
    }
    if (!testStep) {
        prompt.information(Caption, tr("Error no application selected."));
        return QString();
    }
    HxiProjectApplications *applications = database->applications();
    const auto application = applications
                                 ? applications->application(testStep->text(SequenceElementItem::ItemColumn))
                                 : std::nullopt;
    if (applications)
        applications->release();
    if (!application) {
        prompt.information(Caption, tr("Error could not retrieve application."));
        return QString();
    }
    return TapText::tapInformation(application->tapConnectors());
}

// --- starting jobs ---------------------------------------------------------------

void ORVSequencerMainDialog::executeApplication(const QString &applicationName,
                                                SequenceElementItem *step)
{
    const HostLink link = owner->hostLink();
    const UserPrompt prompt(link, this);
    QString action;
    QString type;
    {
        HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase"));
        HxiProjectApplications *applications = database ? database->applications() : nullptr;
        std::optional<VemoDatabase::HxApplication> application;
        if (!database || !applications) {
            prompt.information(Caption, tr("Error no project opened."));
        } else if (!(application = applications->application(applicationName))) {
            prompt.information(Caption, tr("Error no application selected."));
        } else {
            type = application->type();
            const QString results = sequenceReport->resultsFolder(unitSettings());
            const int copyMode = (step->saveResultsOnPass ? 1 : 0) + (step->saveResultsOnFail ? 2 : 0);
            if (HostService<HxiAppSequence> module(link, QStringLiteral("HxiAppSequence"), type); module)
                module->setResultsDirectory(applicationName, results, copyMode);
            HostService<HxiTypeActions> typeActions(link, QStringLiteral("HxiTypeActions"));
            if (!typeActions) {
                prompt.information(Caption, tr("Error could not determine application type."));
            } else {
                if (typeActions->supportsAction(type, QStringLiteral("Execute")))
                    action = typeActions->actionText(type, QStringLiteral("Execute"));
                else if (typeActions->supportsAction(type, QStringLiteral("Infra")))
                    action = typeActions->actionText(type, QStringLiteral("Infra"));
                if (action.isEmpty())
                    prompt.information(Caption, tr("Error selection is not an application."));
            }
        }
        if (applications)
            applications->release();
    }

    owner->connectApplicationSignals(action, type);
    HostService<HxiAppSequence> module(link, QStringLiteral("HxiAppSequence"), type);
    if (action.isEmpty() || !module) {
        const QString text = tr("Error could not execute application.");
        prompt.information(Caption, text);
        applicationFinished(nullptr, text, 2);
        return;
    }
    const QString operation = step->text(SequenceElementItem::OperationColumn);
    if (operation == ApplicationTypes::ForcePass) {
        applicationFinished(nullptr, operation, 0);
        return;
    }
    if (operation == ApplicationTypes::ForceFail) {
        applicationFinished(nullptr, operation, 1);
        return;
    }
    if (operation == ApplicationTypes::SkipOperation) {
        applicationFinished(nullptr, operation, 4);
        return;
    }
    const bool unitIdentified = ui->unitIdentGroupBox->isChecked();
    step->parameters.insert(QStringLiteral("ItemNumber"), step->text(SequenceElementItem::NumberColumn));
    step->parameters.insert(QStringLiteral("UnitIdentSN"), unitIdentified ? unitSerial : QString());
    step->parameters.insert(QStringLiteral("UnitIdentFolder"), unitIdentified ? unitFolder : QString());
    (void)ReportPaths::makePath(sequenceReport->resultsFolder(unitSettings()));
    const QMap<QString, QString> parameters = globalGangParameters(step->parameters);
    if (module->execute(applicationName, parameters, operation == ApplicationTypes::TestInfrastructure) == 0)
        applicationFinished(nullptr, StatusText::Error, 2);
}

QMap<QString, QString> ORVSequencerMainDialog::globalGangParameters(
    const QMap<QString, QString> &parameters) const
{
    QMap<QString, QString> result = parameters;
    bool ok = false;
    quint32 flags = result.value(QStringLiteral("Flags")).toUInt(&ok, 10);
    if (!ok)
        flags = quint32(result.value(QStringLiteral("Flags")).toInt(&ok, 10));
    const SequencerSettings &settings = owner->sequencerSettings();
    if (!ui->globalGangCheckBox->isChecked()) {
        flags &= ~quint32(0x400);
        result.insert(QStringLiteral("Gang"), QStringLiteral("0"));
    } else if (!settings.enableGang) {
        result.insert(QStringLiteral("Gang"), QStringLiteral("0"));
    } else {
        result.insert(QStringLiteral("Gang"), settings.gang);
    }
    result.insert(QStringLiteral("Flags"), QString::number(flags));
    return result;
}

void ORVSequencerMainDialog::executeCommand(SequenceElementItem *step)
{
    const QString operation = step->text(SequenceElementItem::OperationColumn);
    if (operation == ApplicationTypes::ForcePass) {
        commandFinished(nullptr, operation, 0);
        return;
    }
    if (operation == ApplicationTypes::ForceFail) {
        commandFinished(nullptr, operation, 1);
        return;
    }
    if (operation == ApplicationTypes::SkipOperation) {
        commandFinished(nullptr, operation, 4);
        return;
    }
    const SequenceCommand command = step->sequenceCommand();
    // "%sn" and "%b" stand for the unit under test; the line is kept to the
    // length the command tools have always accepted.
    QString expanded;
    const QString text = command.command();
    for (qsizetype i = 0; i < text.size() && expanded.size() < 255; ++i) {
        if (text.at(i) == u'%' && text.mid(i + 1, 2) == QLatin1String("sn")) {
            expanded += unitSerial;
            i += 2;
        } else if (text.at(i) == u'%' && text.mid(i + 1, 1) == QLatin1String("b")) {
            expanded += unitFolder;
            i += 1;
        } else {
            expanded += text.at(i);
        }
    }
    expanded.truncate(255);

    HostService<HxiMainProcessEx> processes(owner->hostLink(), QStringLiteral("HxiMainProcessEx"));
    if (!processes)
        return;   // nothing starts; Cancel ends the run
#if defined(Q_OS_WIN)
    const QString shell = QStringLiteral("cmd");
#else
    const QString shell = QStringLiteral("/bin/sh");
#endif
    QString commandLine = expanded;
    if (command.consoleApp() && command.internal()) {
#if defined(Q_OS_WIN)
        commandLine = QStringLiteral("%1 /c %2").arg(shell, expanded);
#else
        commandLine = QStringLiteral("%1 -c '%2'").arg(shell, QString(expanded).replace(
                                                                   QLatin1String("'"), QLatin1String("'\\''")));
#endif
    }
    if (commandLine.isEmpty())
        return;
    processes->startProcess(commandLine, command.dir(), owner->jobReceiver(),
                            SLOT(CommandExecFinished(HxmJob*,QString,int)),
                            SLOT(OnExecStdout(HxmJob*,QString)),
                            SLOT(OnExecStderr(HxmJob*,QString)));
}

// --- report helpers --------------------------------------------------------------

ReportStep ORVSequencerMainDialog::reportStep(const SequenceElementItem *step) const
{
    ReportStep row;
    row.loop = loopNumber;
    row.number = step->text(SequenceElementItem::NumberColumn);
    row.type = step->text(SequenceElementItem::TypeColumn);
    row.operation = step->text(SequenceElementItem::OperationColumn);
    row.item = step->text(SequenceElementItem::ItemColumn);
    row.show = step->text(SequenceElementItem::ShowColumn);
    row.status = step->text(SequenceElementItem::StatusColumn);
    row.addToReport = step->addToReport;
    return row;
}

UnitSettings ORVSequencerMainDialog::unitSettings() const
{
    UnitSettings unit;
    unit.unitIdentification = ui->unitIdentGroupBox->isChecked();
    unit.unitFolder = unitFolder;
    unit.serialNumber = unitSerial;
    unit.firstSerialNumber = firstUnitSerial;
    unit.defaultUnitReportsPath = owner->sequencerSettings().defaultUnitReportsPath;
    unit.unitReportsPath = owner->sequencerSettings().unitReportsPath;
    return unit;
}

void ORVSequencerMainDialog::writeStepRow(const SequenceElementItem *step, const QString &colour)
{
    sequenceReport->writeStepRow(reportStep(step), colour);
}

void ORVSequencerMainDialog::writeReportFile()
{
    lastReportFile.clear();
    if (!owner->sequencerSettings().saveReports)
        return;
    lastReportFile = sequenceReport->writeReportFile(sequenceTitle);
    if (!lastReportFile.isEmpty())
        owner->registerReport(sequenceTitle, QFileInfo(lastReportFile).fileName(), startStamp);
}

void ORVSequencerMainDialog::copyUnitReports(bool afterEachUnit)
{
    sequenceReport->copyUnitReports(afterEachUnit, unitSettings());
}

void ORVSequencerMainDialog::tellMonitorStep(const SequenceElementItem *step)
{
    runResults.stepFinished({.cycle = step->count,
                             .number = step->text(SequenceElementItem::NumberColumn),
                             .type = step->text(SequenceElementItem::TypeColumn),
                             .operation = step->text(SequenceElementItem::OperationColumn),
                             .item = step->text(SequenceElementItem::ItemColumn),
                             .status = step->statusText(),
                             .exitCode = step->exitCode,
                             .pauseAnswer = isOperation(step, ControlOperations::ControlOperation::Pause)
                                                ? RunResults::pauseAnswer(step->statusText(),
                                                                          step->pauseMessageAnswerNoIsPass)
                                                : QString(),
                             .countsToVerdict = step->statusToSequenceStatus},
                            sequenceReport->outputText());
    HostService<HxiRunMonitor> monitor(owner->hostLink(), QStringLiteral("HxiRunMonitor"));
    if (!monitor)
        return;
    monitor->stepFinished(sequenceTitle, step->count, step->text(SequenceElementItem::NumberColumn),
                          step->text(SequenceElementItem::TypeColumn),
                          step->text(SequenceElementItem::OperationColumn),
                          step->text(SequenceElementItem::ItemColumn), step->statusText());
}

void ORVSequencerMainDialog::tellMonitorRunEnd(int end, const QString &reportFile)
{
    const QString ends[] = {QStringLiteral("completed"), QStringLiteral("stopped"), QStringLiteral("cancelled")};
    if (const QString problem = runResults.runEnded(owner->hostLink(), ends[end], runAggregate().text, reportFile,
                                                    {owner->sequencerSettings().saveResultFiles,
                                                     owner->sequencerSettings().resultsDatabase});
        !problem.isEmpty())
        //: %1 = Sequence Title, %2 = what went wrong
        owner->logMessage(tr("ORV Sequencer '%1' - Results: %2").arg(sequenceTitle, problem));
    HostService<HxiRunMonitor> monitor(owner->hostLink(), QStringLiteral("HxiRunMonitor"));
    if (monitor)
        monitor->runFinished(sequenceTitle, end, runAggregate().text, reportFile);
}
