#pragma once

#include <QDialog>

#include <memory>

class ReportTextEditV2;

namespace Ui {
class SequenceReportForm;
}

// The live report: the report of the sequence that runs (or ran last),
// growing row by row. Its links open the run's files.
class SequenceReportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SequenceReportDialog(QWidget *parent = nullptr);
    ~SequenceReportDialog() override;

    // `sequenceFolder` is where the report's links start.
    void showLiveReport(const QString &sequenceTitle, const QString &html, const QString &sequenceFolder);
    // text the run appended to the report shown
    void appendLiveReport(const QString &html);
    QString sequenceTitle() const { return shownSequence; }
    ReportTextEditV2 &viewer() const;

Q_SIGNALS:
    void message(const QString &text);

private:
    std::unique_ptr<Ui::SequenceReportForm> ui;
    QString shownSequence;
};
