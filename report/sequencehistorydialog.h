#pragma once

#include <QDialog>

#include <memory>

class ReportTextEditV2;

namespace Ui {
class SequenceHistoryForm;
}

// A stored report of a sequence's history, as it was written at the end of
// its run. Its links open that run's files.
class SequenceHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SequenceHistoryDialog(QWidget *parent = nullptr);
    ~SequenceHistoryDialog() override;

    void showHistoryReport(const QString &sequenceTitle, const QString &reportTitle,
                           const QString &html, const QString &sequenceFolder);
    QString sequenceTitle() const { return shownSequence; }
    QString reportTitle() const { return shownReport; }
    ReportTextEditV2 &viewer() const;

Q_SIGNALS:
    void message(const QString &text);

private:
    std::unique_ptr<Ui::SequenceHistoryForm> ui;
    QString shownSequence;
    QString shownReport;
};
