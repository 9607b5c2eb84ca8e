#include "sequencereportdialog.h"

#include "reporttexteditv2.h"
#include "ui_sequencereportform.h"

SequenceReportDialog::SequenceReportDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::SequenceReportForm>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("Sequence Report"));
    ui->reportTextEdit->setMode(ReportTextEditV2::Live);
    connect(ui->reportTextEdit, &ReportTextEditV2::message, this, &SequenceReportDialog::message);
}

SequenceReportDialog::~SequenceReportDialog() = default;

void SequenceReportDialog::showLiveReport(const QString &sequenceTitle, const QString &html,
                                          const QString &sequenceFolder)
{
    shownSequence = sequenceTitle;
    //: %1 = Sequence Title
    setWindowTitle(sequenceTitle.isEmpty() ? tr("Sequence Report") : tr("Sequence Report: %1").arg(sequenceTitle));
    ui->reportTextEdit->setSequenceFolder(sequenceFolder);
    ui->reportTextEdit->showReport(html);
}

void SequenceReportDialog::appendLiveReport(const QString &html)
{
    ui->reportTextEdit->appendReport(html);
}

ReportTextEditV2 &SequenceReportDialog::viewer() const
{
    return *ui->reportTextEdit;
}
