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
#include "runengine.h"
#include "runwindowhost.h"
#include "sequenceelementitem.h"
#include "sequenceenums.h"
#include "sequencelistview.h"
#include "sequencereport.h"
#include "sequencersettings.h"
#include "taptext.h"
#include "textboundary.h"
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
      description(sequenceDescription),
      engine(new RunEngine(runHost->hostLink(), this))
{
    ui->setupUi(this);
    connect(engine, &RunEngine::busyTick, this, &ORVSequencerMainDialog::animateBusyLed);
    connect(engine, &RunEngine::stepAnnounced, this, &ORVSequencerMainDialog::recordStepResult);
    connect(engine, &RunEngine::runEndAnnounced, this, &ORVSequencerMainDialog::recordRunResult);
    // The completion goes through the plug-in, which routes it to the window
    // that runs, if any.
    connect(engine, &RunEngine::completionDue, this,
            [this] { QMetaObject::invokeMethod(owner->jobReceiver(), "OperationExecFinished"); });
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
        engine->runStatuses.clear();
        engine->cycleStatuses.clear();
        updateLamps();
        owner->runStateChanged();
    });
    connect(sequenceReport.get(), &SequenceReport::liveReportChanged, this,
            [this](const QString &html) { owner->showLiveReport(sequenceTitle, html); });
    connect(sequenceReport.get(), &SequenceReport::liveReportAppended, this,
            [this](const QString &html) { owner->appendLiveReport(sequenceTitle, html); });

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
    engine->setSequenceTitle(name);
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
    // The bar moves a hundredth at a time: each move of a modal progress
    // dialog lets the event loop run, which cost more than loading the row.
    const int progressStride = qMax(1, int(items.size()) / 100);
    for (const HxSequenceItemPtr &item : items) {
        ++number;
        if ((number - 1) % progressStride == 0)
            progress.setValue(number - 1);
        if (progress.wasCanceled()) {
            //: %1 = Sequence Title
            owner->logMessage(tr("ORV Sequencer '%1' - Load Sequence cancelled").arg(sequence->title()));
            if (applications)
                applications->release();
            return false;
        }
        ui->sequenceListView->insertStoredStep(*item);
        // A step whose application cannot run stays in the sequence, as the
        // engineer stored it; it is marked here and ends as Error when reached.
        if (item->kind() != ItemType::Application)
            continue;
        const QString reason = unusableReason(applications, item->columnItem);
        if (reason.isEmpty())
            continue;
        //: %1 = Sequence Title, %2 = Item Number, %3 = why the step cannot run
        owner->logMessage(tr("ORV Sequencer '%1' - Nr. '%2': %3: the step ends as Error when it is reached")
                              .arg(sequence->title())
                              .arg(number)
                              .arg(reason));
        if (SequenceElementItem *step = ui->sequenceListView->stepAt(ui->sequenceListView->stepCount() - 1))
            markUnusable(step, reason);
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

QString ORVSequencerMainDialog::unusableReason(HxiProjectApplications *applications,
                                               const QString &applicationName)
{
    const auto application = applications ? applications->application(applicationName) : std::nullopt;
    //: %1 = Application Name
    if (!application)
        return tr("Application '%1' is not available in current project").arg(applicationName);
    //: %1 = Application Name
    if (ApplicationTypes::applicationUsability(application->type()) > 0)
        return tr("Application '%1' is not a valid Application to use within ORV Sequencer").arg(applicationName);
    return QString();
}

void ORVSequencerMainDialog::markUnusable(SequenceElementItem *step, const QString &reason)
{
    for (int column = 0; column < step->columnCount(); ++column) {
        step->setForeground(column, QBrush(Qt::gray));
        step->setToolTip(column, reason);
    }
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
    engine->setButtonState(state);
    applyButtonStates(!engine->busy && hasSteps() && !owner->runningWindow(), !engine->stopped, !engine->continueLocked,
                      !engine->cancelLocked);
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
    // Every step sets the lamps; most of the time they already show it.
    QString &shown = shownLamps[label];
    if (shown == image)
        return;
    shown = image;
    label->setPixmap(SequenceElementItem::imageIcon(image).pixmap(16, 16));
    label->setProperty("lamp", image);
}

void ORVSequencerMainDialog::updateLamps()
{
    const RunEngine::Lamp lamp = engine->lamp();
    const QString off = QStringLiteral("LED_white.png");
    setLamp(ui->seqStatusPassPixmapLabel, lamp == RunEngine::Lamp::Pass ? QStringLiteral("LED_green.png") : off);
    setLamp(ui->seqStatusFailPixmapLabel, lamp == RunEngine::Lamp::Fail ? QStringLiteral("LED_red.png") : off);
    setLamp(ui->seqStatusErrorPixmapLabel, lamp == RunEngine::Lamp::Error ? QStringLiteral("LED_yellow.png") : off);
}

void ORVSequencerMainDialog::appendRunStatus(const QString &text)
{
    engine->appendRunStatus(text);
}

void ORVSequencerMainDialog::appendCycleStatus(const QString &text)
{
    engine->appendCycleStatus(text);
}

ORVSequencerMainDialog::Verdict ORVSequencerMainDialog::cycleVerdict() const
{
    return engine->cycleVerdict();
}

ORVSequencerMainDialog::Verdict ORVSequencerMainDialog::runAggregate() const
{
    return engine->runAggregate();
}

void ORVSequencerMainDialog::startBusyLamp()
{
    engine->startBusyTimer();
}

void ORVSequencerMainDialog::stopBusyLamp()
{
    engine->stopBusyTimer();
    busyLampOn = false;
    setLamp(ui->busyPixmapLabel, QStringLiteral("LED_white.png"));
}

void ORVSequencerMainDialog::animateBusyLed()
{
    ui->busyLineEdit->setText(engine->current ? engine->current->text(SequenceElementItem::ItemColumn) : QString());
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
        pauseDialog->closeForTimeOut();
}

void ORVSequencerMainDialog::slotCloseStatusDialog()
{
    if (statusDialog)
        statusDialog->closeForTimeOut();
}

void ORVSequencerMainDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (engine->current)
        ui->sequenceListView->scrollToItem(engine->current);
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
    // A step is selected as it starts, as the run moves on and as it ends:
    // the list allows one selected row, so selecting it again changes nothing.
    if (step ? ui->sequenceListView->currentItem() == step && step->isSelected()
             : !ui->sequenceListView->selectionModel()->hasSelection())
        return;
    // One change of the selection model, not a clearing and a selecting:
    // a long run selects a row at every step.
    if (step)
        ui->sequenceListView->setCurrentItem(step, 0,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        ui->sequenceListView->clearSelection();
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
    engine->cycleStatuses.clear();
}

// --- the run -------------------------------------------------------------------

void ORVSequencerMainDialog::slotStartSequence()
{
    // In gang mode the units are as many as the TAPs the sequence's test
    // uses and the gang includes.
    sequenceTapInformation.clear();
    if (ui->globalGangCheckBox->isChecked()) {
        QString application;
        sequenceTapInformation = findSequenceTapInformation(application);
        if (!gangSharesATap(application))
            return;
    }
    beginPass(true);
}

bool ORVSequencerMainDialog::gangSharesATap(const QString &application)
{
    const QString gang = owner->sequencerSettings().gangText;
    if (!isGangMode() || sequenceTapInformation.isEmpty()
        || !TapText::tapsInBoth(sequenceTapInformation, gang).isEmpty())
        return true;
    // Without a TAP in common there is no unit to test: the run would go on
    // with the last unit's serial number.
    const QString gangTaps = TapText::text(TapText::maskOf(gang));
    //: %1 = the gang's TAPs, %2 = Application Name, %3 = the application's TAPs
    UserPrompt(owner->hostLink(), this)
        .warning(tr("Warning"), tr("The gang (TAPs %1) and the application '%2' (TAPs %3) have no TAP in "
                                   "common: the sequence is not started.")
                                    .arg(gangTaps.isEmpty() ? tr("none") : gangTaps, application,
                                         TapText::text(TapText::maskOf(sequenceTapInformation))));
    engine->runStatuses.clear();
    engine->tellMonitorRunEnd(HxiRunMonitor::Cancelled, QString());
    return false;
}

void ORVSequencerMainDialog::takeSteps()
{
    // The list cannot be edited while a run goes on.
    engine->setSteps(ui->sequenceListView->steps());
    engine->setRedoLimit(owner->sequencerSettings().redoLimit);
    engine->setCycles(ui->repeatCheckBox->isChecked() ? ui->repeatSpinBox->value() : 1);
}

void ORVSequencerMainDialog::beginPass(bool newRun)
{
    if (newRun) {
        engine->startStamp = RunStamp::fromDateTime(QDateTime::currentDateTime());
        sequenceReport->setStartStamp(engine->startStamp);
    }
    if (!hasSteps())
        return;
    takeSteps();
    owner->setRunningWindow(this);
    startBusyLamp();
    setButtons(ButtonState::Running);
    engine->current = nullptr;
    if (engine->loopNumber == 1)
        engine->runStatuses.clear();
    resetSteps(newRun);
    updateLamps();
    setRunWidgetsEnabled(false);

    if (engine->loopNumber == 1) {
        sequenceReport->setWritesReportFile(owner->sequencerSettings().saveReports);
        sequenceReport->writeReportHeader();
        runResults.runStarted(owner->hostLink(), sequenceTitle, sequenceReport->reportName());
        unitSerial = ui->serNumberLineEdit->text();
        unitFolder = ui->folderLineEdit->text();
        firstUnitSerial = unitSerial;
    }
    if (!ui->sequenceRadioButton->isChecked() && !ui->singleAppRadioButton->isChecked())
        return;
    if (engine->loopNumber == 1 && ui->unitIdentGroupBox->isChecked() && !identifyNextUnit())
        return;
    executeStep(selectedStep());
}

void ORVSequencerMainDialog::executeStep(SequenceElementItem *step)
{
    // A list nobody sees scrolls when it is shown (showEvent).
    if (step && ui->sequenceListView->isVisible())
        ui->sequenceListView->scrollToItem(step);
    ui->busyLineEdit->clear();

    if (engine->stopped) {
        // A Stop was pending: the run pauses in front of this step.
        setButtons(ButtonState::Stopped);
        engine->resume = step ? step : ui->sequenceListView->firstStep();
        if (isSingleApplicationMode())
            selectStep(engine->resume);
        updateLamps();
        const Verdict verdict = cycleVerdict();
        sequenceReport->writeCycleRow(verdict.text, verdict.colour, engine->loopNumber, engine->loopNumber);
        sequenceReport->writeReportTrailer(true);
        writeReportFile();
        if (ui->unitIdentGroupBox->isChecked() && !owner->sequencerSettings().perUnit)
            copyUnitReports(false);
        stopBusyLamp();
        // Nothing runs while the run waits: a Cancel now must not mark the
        // step that already ended.
        engine->current = nullptr;
        engine->tellMonitorRunEnd(HxiRunMonitor::Stopped, lastReportFile);
        detachRun();
        // The cycle count moves on only at the end of a pass (endOfPass), so
        // a stop in the middle of a cycle resumes in the same cycle.
        return;
    }

    ui->noLineEdit->setText(QString::number(engine->loopNumber));
    if (!step)
        step = ui->sequenceListView->firstStep();
    if (!step)
        return;
    step->count = engine->loopNumber;
    sequenceReport->clearOutput();

    switch (ItemType(step->itemType())) {
    case ItemType::Application:
        engine->current = step;
        step->setStatusText(Busy);
        selectStep(step);
        executeApplication(step->text(SequenceElementItem::ItemColumn), step);
        break;
    case ItemType::Command:
        engine->current = step;
        step->setStatusText(Busy);
        executeCommand(step);
        break;
    case ItemType::Operation:
        engine->current = step;
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
    engine->scheduleCompletion();
}

void ORVSequencerMainDialog::executeOperation(SequenceElementItem *step)
{
    using ControlOperations::ControlOperation;
    switch (ControlOperation(step->operationKind())) {
    case ControlOperation::Label:
    case ControlOperation::Goto:
    case ControlOperation::If:
    case ControlOperation::Elif:
    case ControlOperation::Else:
    case ControlOperation::EndIf:
        // the engine picks where the run goes on; the window shows it
        if (engine->takeControlStep(step))
            writeStepRow(step, White);
        selectStep(engine->current);
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
        const QString text = tr("Could not start the Reset Instrument command.");
        UserPrompt(link, this).ask(HxiPrompt::Critical, tr("Fatal error"), text, {tr("Quit")}, 0);
        sequenceReport->appendStderr(text);
        // A controller that was not reset must not let the board pass; the
        // step still ends after this call, as every step does.
        QTimer::singleShot(0, this, [this, step] {
            if (owner->runningWindow() == this && !engine->cancelLocked && engine->current == step)
                resetFinished(2);
        });
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
        QTimer::singleShot(0, this, [this, step, text] {
            if (owner->runningWindow() == this && !engine->cancelLocked && engine->current == step)
                applicationFinished(nullptr, text, 2);
        });
        return;
    }
    processes->startProcess(commandLines.join(QStringLiteral(" && ")), ioPinsFolder, this,
                            SLOT(SlotIOPinsProcessReady(HxmJob*,QString,int)));
}

void ORVSequencerMainDialog::SlotIOPinsProcessReady(HxmJob *job, const QString &message, int exitCode)
{
    if (owner->runningWindow() != this || engine->cancelLocked)
        return;
    const IoPinsCommandLine::Results results = ioPinsDialog->readResults(ioPinsFolder);
    for (const IoPinsCommandLine::ReportRow &row : IoPinsCommandLine::resultRows(ioPinsOptions, results))
        sequenceReport->writeInstrumentRow(row.marker, row.text);
    sequenceReport->refreshLiveReport();
    applicationFinished(job, message, exitCode);
}

void ORVSequencerMainDialog::resetFinished(int exitCode)
{
    SequenceElementItem *step = engine->current;
    if (!step)
        return;
    if (exitCode == 0) {
        step->setStatusText(StatusText::Done);
        scheduleOperationFinished();
        return;
    }
    // The reset's output and exit code go into the report, and the step
    // counts as an error in the verdict.
    //: %1 = exit code
    sequenceReport->appendStderr(tr("Reset Instrument ended with exit code %1").arg(exitCode));
    sequenceReport->writeOutputReport(reportStep(step), QString(), QString(), QString());
    finishStep(step, Outcome::Error, exitCode, nullptr, StatusText::Error);
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
    if (autoCloseMs > 0)
        dialog.closeAfter(autoCloseMs);
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
    if (owner->runningWindow() != this || engine->cancelLocked || engine->current != step)
        return;   // the run was cancelled while the question was open
    if (!question) {
        scheduleOperationFinished();
        return;
    }
    const QString property = step->text(SequenceElementItem::PropertyColumn);
    if (result == StatusDlg::TimedOut) {
        sequenceReport->writeAnswerRow(property, QStringLiteral("<font color='#000000'>timeout</font>"));
        applicationFinished(nullptr, QStringLiteral("Timeout"), RunEngine::TimeoutExitCode);
        return;
    }
    if (result != StatusDlg::Yes && result != StatusDlg::No)
        return;
    // The answer is read by what the operator said, whatever its place
    // among the buttons: "No" passes a question that asks for a fault.
    const bool saidNo = result == StatusDlg::No;
    const bool passed = saidNo == step->pauseMessageAnswerNoIsPass;
    sequenceReport->writeAnswerRow(property, QStringLiteral("<font color='%1'>%2</font>")
                                                 .arg(passed ? QStringLiteral("#008000")
                                                             : QStringLiteral("#FF0000"),
                                                      saidNo ? QStringLiteral("no")
                                                             : QStringLiteral("yes")));
    applicationFinished(nullptr, passed ? QStringLiteral("Pass") : QStringLiteral("Fail"),
                        passed ? 0 : 1);
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

// --- completion of steps -------------------------------------------------------

void ORVSequencerMainDialog::operationFinished()
{
    SequenceElementItem *step = engine->current;
    if (!step)
        return;
    if (isOperation(step, ControlOperations::ControlOperation::Reset))
        sequenceReport->writeOutputReport(reportStep(step), QString(), QString(), QString());
    engine->recordDone(step);
    updateLamps();
    SequenceElementItem *next = engine->stepBelow(step);
    selectStep(next);
    if (step->addToReport || isOperation(step, ControlOperations::ControlOperation::Reset))
        writeStepRow(step, White);
    engine->tellMonitorStep(step);
    if (!isSingleApplicationMode() && next) {
        executeStep(next);
        return;
    }
    if (!next)
        engine->resume = ui->sequenceListView->firstStep();
    checkEndOfPass();
}

void ORVSequencerMainDialog::checkEndOfPass()
{
    const bool furtherCycle = engine->cycleRemains();
    endOfPass();
    if (!furtherCycle)
        detachRun();
}

void ORVSequencerMainDialog::applicationFinished(HxmJob *job, const QString &message, int exitCode)
{
    SequenceElementItem *step = engine->current;
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

    finishStep(step, RunEngine::applicationOutcome(exitCode), exitCode, job, message);
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
    engine->setCrc(step, crc);
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
    SequenceElementItem *step = engine->current;
    if (!step)
        return;
    // The command's console output goes into the report before its row.
    sequenceReport->writeOutputReport(reportStep(step), QString(), QString(), QString());
    const SequenceCommand command = step->sequenceCommand();
    finishStep(step, RunEngine::commandOutcome(exitCode, command.passExitCode(), command.failExitCode()),
               exitCode, job, message);
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
    // The follow-up action of the outcome picks the next step; a step that
    // keeps asking to be done again ends the run with Error.
    const RunEngine::FollowUp follow = engine->followUp(step, outcome);
    SequenceElementItem *next = follow.next;
    const bool stopPending = follow.stopPending;
    const bool redo = follow.redo;
    const bool redoLimitReached = follow.redoLimitReached;
    if (redoLimitReached)
        outcome = Outcome::Error;
    const RunEngine::OutcomeInfo info = RunEngine::outcomeInfo(outcome);
    engine->recordOutcome(step, outcome, exitCode, redo);
    updateLamps();
    // the host's own status of the outcome, when a job brought one
    if (job) {
        step->hostStatusId = job->statusId;
        step->hostStatusText = job->message;
    } else {
        step->hostStatusText = message;
    }

    if (step->itemType() == int(ItemType::Application)) {
        // The host copied the application's results into the results folder
        // as the copy mode it was given asks; an empty unit folder goes.
        const bool perOutcome = (step->saveResultsOnPass && info.statusCode == 1)
                                || (step->saveResultsOnFail && info.statusCode == 2);
        sequenceReport->copyResults(perOutcome, {}, unitSettings());
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
    engine->tellMonitorStep(step);

    if (redoLimitReached) {
        //: %1 = Item Number, %2 = how many times it may be done again
        const QString reason = tr("Nr. %1 asked to be done again more than %2 times: the run ends with Error")
                                   .arg(step->text(SequenceElementItem::NumberColumn))
                                   .arg(owner->sequencerSettings().redoLimit);
        sequenceReport->writeInstrumentRow(QStringLiteral("!"), reason);
        //: %1 = Sequence Title, %2 = why the run ends
        owner->logMessage(tr("ORV Sequencer '%1' - %2").arg(sequenceTitle, reason));
        endRunHere(HxiRunMonitor::Completed);
        return;
    }
    // A command that reports itself cancelled ends the whole run.
    if (outcome == Outcome::Cancelled) {
        endRunHere(HxiRunMonitor::Cancelled);
        return;
    }
    continueAfter(step, next, stopPending);
}

void ORVSequencerMainDialog::endRunHere(int end)
{
    const Verdict verdict = cycleVerdict();
    sequenceReport->writeCycleRow(verdict.text, verdict.colour, engine->loopNumber, engine->loopNumber);
    const bool units = ui->unitIdentGroupBox->isChecked();
    if (units && owner->sequencerSettings().perUnit)
        copyUnitReports(true);
    sequenceReport->writeReportTrailer(false);
    writeReportFile();
    if (units && !owner->sequencerSettings().perUnit)
        copyUnitReports(false);
    engine->endRun();
    stopBusyLamp();
    setRunWidgetsEnabled(true);
    owner->setRunningWindow(nullptr);
    setButtons(ButtonState::Idle);
    engine->tellMonitorRunEnd(end, lastReportFile);
}

void ORVSequencerMainDialog::continueAfter(SequenceElementItem *step, SequenceElementItem *next,
                                           bool stopPending)
{
    // The run stops in front of the next step, as if Stop had been pressed.
    if (stopPending)
        setButtons(ButtonState::StopPending);
    if (isSingleApplicationMode()) {
        engine->current = step;
        checkEndOfPass();
        return;
    }
    if (next) {
        executeStep(next);
        return;
    }
    engine->resume = ui->sequenceListView->firstStep();
    checkEndOfPass();
}

void ORVSequencerMainDialog::endOfPass()
{
    const bool wasStopped = engine->stopped;
    const bool repeats = engine->cycleRemains();
    const bool furtherCycleWithStop = wasStopped && engine->moreToRunAfterStop(isSingleApplicationMode());
    engine->busy = false;
    engine->stopped = true;
    engine->cancelLocked = true;
    engine->continueLocked = !furtherCycleWithStop;
    applyButtonStates(hasSteps() && (!owner->runningWindow() || owner->runningWindow() == this),
                      false, !engine->continueLocked, false);

    if (repeats) {
        ++engine->loopNumber;
        if (!wasStopped)
            engine->stopped = false;
        engine->cancelLocked = false;
        engine->busy = true;
        applyButtonStates(false, !engine->stopped, !engine->continueLocked, true);
        const Verdict verdict = cycleVerdict();
        sequenceReport->writeCycleRow(verdict.text, verdict.colour, engine->loopNumber - 1, engine->loopNumber);
        if (ui->unitIdentGroupBox->isChecked() && owner->sequencerSettings().perUnit)
            copyUnitReports(true);
        if (!wasStopped) {
            // every further cycle tests the next unit
            if (ui->unitIdentGroupBox->isChecked() && !identifyNextUnit())
                return;
            if (isSingleApplicationMode()) {
                selectStep(engine->current);
                engine->cycleStatuses.clear();
                executeStep(engine->current);
            } else {
                beginPass(false);
            }
            return;
        }
        sequenceReport->writeReportTrailer(true);
        writeReportFile();
        if (ui->unitIdentGroupBox->isChecked() && !owner->sequencerSettings().perUnit)
            copyUnitReports(false);
        engine->cycleStatuses.clear();
        stopBusyLamp();
        // A single application resumes with itself, a sequence where it stopped.
        if (isSingleApplicationMode() && engine->current)
            engine->resume = engine->current;
        else if (!engine->resume)
            engine->resume = ui->sequenceListView->firstStep();
        engine->current = nullptr;
        setButtons(ButtonState::Stopped);
        engine->tellMonitorRunEnd(HxiRunMonitor::Stopped, lastReportFile);
        detachRun();
        return;
    }

    const Verdict verdict = cycleVerdict();
    sequenceReport->writeCycleRow(verdict.text, verdict.colour, engine->loopNumber, engine->loopNumber);
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
    engine->cycleStatuses.clear();
    engine->loopNumber = 1;
    stopBusyLamp();
    setRunWidgetsEnabled(true);
    engine->current = nullptr;
    if (furtherCycleWithStop) {
        setButtons(ButtonState::Stopped);
    } else {
        engine->resume = nullptr;
        owner->setRunningWindow(nullptr);
        setButtons(ButtonState::Idle);
    }
    engine->tellMonitorRunEnd(wasStopped ? HxiRunMonitor::Stopped : HxiRunMonitor::Completed, lastReportFile);
}

// --- user requests ---------------------------------------------------------------

void ORVSequencerMainDialog::slotStopSequence()
{
    setButtons(ButtonState::StopPending);
    sequenceReport->writeUserRequestRow(QStringLiteral("Stop"), QStringLiteral("#FF4040"));
}

void ORVSequencerMainDialog::slotContinueSequence()
{
    // A continued run is the same run: its report, run folder and history
    // entry keep the start's time stamp.
    takeSteps();
    owner->setRunningWindow(this);
    setRunWidgetsEnabled(false);
    startBusyLamp();
    setButtons(ButtonState::Running);
    sequenceReport->appendTableHeader();
    sequenceReport->writeUserRequestRow(QStringLiteral("Continue"), QStringLiteral("#99CCFF"));
    runResults.runStarted(owner->hostLink(), sequenceTitle, sequenceReport->reportName());
    SequenceElementItem *step = engine->resume ? engine->resume : ui->sequenceListView->firstStep();
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
    if (!engine->continueLocked)
        sequenceReport->appendTableHeader();
    writeCancelledStep();
    sequenceReport->writeCancelRow(QStringLiteral("User request"));
    if (finishRun(true) == 0)
        detachRun();
}

void ORVSequencerMainDialog::writeCancelledStep()
{
    // Nothing runs while a stopped run waits.
    if (!engine->current || !engine->continueLocked)
        return;
    engine->current->setStatusText(StatusText::Cancelled);
    engine->current->status = int(StepStatus::Cancelled);
    // what the step had printed until it was stopped
    sequenceReport->writeOutputReport(reportStep(engine->current), QString(), QString(), QString());
    writeStepRow(engine->current, QStringLiteral("#FFFF00"));
}

int ORVSequencerMainDialog::finishRun(bool markCancelled)
{
    int aborted = 0;
    // Whatever ends now must not continue the run: the job's end arrives at
    // a window that is no longer running.
    engine->setButtonState(ButtonState::Idle);
    if (HostService<HxiMainJob> jobs(owner->hostLink(), QStringLiteral("HxiMainJob")); jobs) {
        if (HxmJob *job = jobs->currentJob()) {
            jobs->abortJob(job);
            aborted = 1;
        }
    }
    if (markCancelled && engine->current)
        engine->current->setStatusText(StatusText::Cancelled);
    engine->resume = nullptr;
    updateLamps();
    sequenceReport->writeReportTrailer(false);
    writeReportFile();
    if (ui->unitIdentGroupBox->isChecked())
        copyUnitReports(owner->sequencerSettings().perUnit);
    setRunWidgetsEnabled(true);
    stopBusyLamp();
    engine->loopNumber = 1;
    if (markCancelled && engine->current)
        engine->tellMonitorStep(engine->current);
    engine->tellMonitorRunEnd(HxiRunMonitor::Cancelled, lastReportFile);
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
        if (engine->loopNumber == 1)
            firstUnitSerial = unitSerial;
    }
    // In gang mode every TAP's unit wrote its own rows when it was named.
    if (!isGangMode()) {
        sequenceReport->writeUnitRows(unitSerial, unitResultPath(), QString());
        runResults.unitIdentified(engine->loopNumber, unitSerial, unitFolder, QString());
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
        if (engine->loopNumber == 1)
            firstUnitSerial = unitSerial;
        // A gang whose test names no TAPs still has this one unit to report.
        if (isGangMode()) {
            sequenceReport->writeUnitRows(unitSerial, unitResultPath(), QString());
            runResults.unitIdentified(engine->loopNumber, unitSerial, unitFolder, QString());
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
        runResults.unitIdentified(engine->loopNumber, unitSerial, unitFolder, tapText);
        if (engine->loopNumber == 1 && i == 0)
            firstUnitSerial = unitSerial;
        if (i + 1 < taps.size() && unitDialog->options().serialAutoIncrement) {
            const QString next = UnitText::incrementText(unitSerial);
            unitDialog->setSerialNumber(next);
            ui->serNumberLineEdit->setText(next);
        }
    }
    return result;
}

QString ORVSequencerMainDialog::findSequenceTapInformation(QString &applicationName)
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
    applicationName = testStep->text(SequenceElementItem::ItemColumn);
    HxiProjectApplications *applications = database->applications();
    const auto application = applications ? applications->application(applicationName) : std::nullopt;
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
    QString reason;
    if (HostService<HxiDatabase> database(link, QStringLiteral("HxiDatabase")); database) {
        HxiProjectApplications *applications = database->applications();
        reason = unusableReason(applications, applicationName);
        if (applications)
            applications->release();
    }
    if (!reason.isEmpty()) {
        //: %1 = Item Number, %2 = why the step cannot run
        sequenceReport->writeInstrumentRow(
            QStringLiteral("!"), tr("Nr. %1: %2").arg(step->text(SequenceElementItem::NumberColumn), reason));
        // the step still ends after this call, as every step does
        QTimer::singleShot(0, this, [this, step, reason] {
            if (owner->runningWindow() == this && !engine->cancelLocked && engine->current == step)
                applicationFinished(nullptr, reason, 2);
        });
        return;
    }
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
    row.loop = engine->loopNumber;
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
    // A stopped and continued run rewrites its one report file; the history
    // holds it once.
    if (!lastReportFile.isEmpty() && lastReportFile != registeredReportFile) {
        owner->registerReport(sequenceTitle, QFileInfo(lastReportFile).fileName(), engine->startStamp);
        registeredReportFile = lastReportFile;
    }
}

void ORVSequencerMainDialog::copyUnitReports(bool afterEachUnit)
{
    sequenceReport->copyUnitReports(afterEachUnit, unitSettings());
}

void ORVSequencerMainDialog::recordStepResult(const SequenceElementItem *step)
{
    const bool isPause = isOperation(step, ControlOperations::ControlOperation::Pause);
    runResults.stepFinished({.cycle = step->count,
                             .number = step->text(SequenceElementItem::NumberColumn),
                             .type = step->text(SequenceElementItem::TypeColumn),
                             .operation = step->text(SequenceElementItem::OperationColumn),
                             .item = step->text(SequenceElementItem::ItemColumn),
                             .status = step->statusText(),
                             .exitCode = step->exitCode,
                             .pauseAnswer = isPause ? RunResults::pauseAnswer(step->statusText(),
                                                                              step->pauseMessageAnswerNoIsPass)
                                                    : QString(),
                             .countsToVerdict = step->statusToSequenceStatus},
                            sequenceReport->outputExcerpt());
}

void ORVSequencerMainDialog::recordRunResult(int end, const QString &reportFile)
{
    const QString ends[] = {QStringLiteral("completed"), QStringLiteral("stopped"),
                            QStringLiteral("cancelled")};
    const SequencerSettings &settings = owner->sequencerSettings();
    const QString problem = runResults.runEnded(owner->hostLink(), ends[qBound(0, end, 2)],
                                                engine->runAggregate().text, reportFile,
                                                {settings.saveResultFiles, settings.resultsDatabase});
    if (!problem.isEmpty())
        //: %1 = Sequence Title, %2 = what went wrong
        owner->logMessage(tr("ORV Sequencer '%1' - Results: %2").arg(sequenceTitle, problem));
}
