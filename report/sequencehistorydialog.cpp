#include "sequencehistorydialog.h"

#include "reporttexteditv2.h"
#include "ui_sequencehistoryform.h"

SequenceHistoryDialog::SequenceHistoryDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::SequenceHistoryForm>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("Sequence History"));
    ui->historyTextEdit->setMode(ReportTextEditV2::History);
    connect(ui->historyTextEdit, &ReportTextEditV2::message, this, &SequenceHistoryDialog::message);
}

SequenceHistoryDialog::~SequenceHistoryDialog() = default;

void SequenceHistoryDialog::showHistoryReport(const QString &sequenceTitle, const QString &reportTitle,
                                              const QString &html, const QString &sequenceFolder)
{
    shownSequence = sequenceTitle;
    shownReport = reportTitle;
    //: %1 = Sequence Title, %2 = the report's date and time
    setWindowTitle(tr("Sequence History: %1 - %2").arg(sequenceTitle, reportTitle));
    ui->historyTextEdit->setSequenceFolder(sequenceFolder);
    ui->historyTextEdit->showReport(html);
}

ReportTextEditV2 &SequenceHistoryDialog::viewer() const
{
    return *ui->historyTextEdit;
}
