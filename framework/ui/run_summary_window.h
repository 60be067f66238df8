#pragma once
// The summary that opens when a run has ended: the clock, the wall-clock
// time the run took, its events and the model's figures (hand-overs in the
// lock programs), every queue's statistics as the queue window shows them,
// and the run's results to keep: the report (the same JSON as --report),
// the trace and the chart. Not modal: the main window stays usable.

#include <QWidget>

#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zorva {

class TFigureRows;

class TQueueChart;
class TQueueForm;

class TRunSummaryWindow : public QWidget {
    Q_OBJECT
public:
    // The memo and the chart are the main window's; the summary saves them.
    TRunSummaryWindow(QWidget* parent, const QPlainTextEdit* memo, TQueueChart* chart);

    // Filled from the run that has just ended.
    void ShowRun(double wallSeconds, std::uint64_t events, const std::string& traceFile);

    std::string FigureText(const std::string& name) const;
    TQueueForm* Queues() const { return queues_; }
    QPushButton* SaveReportButton() const { return saveReport_; }
    QPushButton* SaveTraceButton() const { return saveTrace_; }
    QPushButton* SaveChartButton() const { return saveChart_; }

    // Each writes one file; false, after a warning box naming it, when it
    // cannot be written. The buttons ask for the file and call these.
    bool SaveReport(const QString& path);
    bool SaveTrace(const QString& path);
    bool SaveChart(const QString& path);

private:
    void ShowFigure(const std::string& name, const std::string& value);
    void AskAndSave(const QString& title, const QString& suggested, const QString& filter,
                    bool (TRunSummaryWindow::*save)(const QString&));

    const QPlainTextEdit* memo_;
    TQueueChart* chart_;
    TFigureRows* figures_;
    TQueueForm* queues_;
    QLabel* traceNote_;
    QPushButton* saveReport_;
    QPushButton* saveTrace_;
    QPushButton* saveChart_;
};

}  // namespace zorva
