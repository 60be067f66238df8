#include "ui/run_summary_window.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "connection/messaging.h"
#include "kernel/kernel.h"
#include "ui/batch_report.h"
#include "ui/figure_rows.h"
#include "ui/inspection_windows.h"
#include "ui/locale_numbers.h"
#include "ui/message_boxes.h"
#include "ui/queue_chart.h"
#include "ui/queue_form.h"
#include "ui/window_caption.h"
#include "wire/protocol.h"

namespace zorva {
namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 420;

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

TRunSummaryWindow::TRunSummaryWindow(QWidget* parent, const QPlainTextEdit* memo, TQueueChart* chart)
    : QWidget(parent, Qt::Window), memo_(memo), chart_(chart) {
    setObjectName("RunSummary");
    setWindowTitle(ProgramCaption("Run summary"));
    resize(kWidth, kHeight);
    auto* column = new QVBoxLayout(this);

    figures_ = new TFigureRows();
    column->addLayout(figures_);
    queues_ = new TQueueForm(this);
    // The queue window's own table, inside this one.
    queues_->setWindowFlags(Qt::Widget);
    queues_->setObjectName("SummaryQueues");
    column->addWidget(queues_, 1);
    traceNote_ = new QLabel(this);
    traceNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    traceNote_->hide();
    column->addWidget(traceNote_);

    auto* buttons = new QHBoxLayout;
    saveReport_ = new QPushButton("Save report…", this);
    saveTrace_ = new QPushButton("Save trace…", this);
    saveChart_ = new QPushButton("Save chart…", this);
    saveReport_->setToolTip("The run's report as JSON, the same as the --report option writes");
    saveTrace_->setToolTip("The trace memo's lines as a text file");
    saveChart_->setToolTip("The queue chart as a PNG picture");
    buttons->addStretch(1);
    for (QPushButton* button : {saveReport_, saveTrace_, saveChart_}) buttons->addWidget(button);
    column->addLayout(buttons);

    const QString model = QString::fromStdString(ModelName());
    connect(saveReport_, &QPushButton::clicked, this, [this, model] {
        AskAndSave("Save report", model + "-report.json", "JSON (*.json)", &TRunSummaryWindow::SaveReport);
    });
    connect(saveTrace_, &QPushButton::clicked, this, [this, model] {
        AskAndSave("Save trace", model + "-trace.txt", "Text (*.txt)", &TRunSummaryWindow::SaveTrace);
    });
    connect(saveChart_, &QPushButton::clicked, this, [this, model] {
        AskAndSave("Save chart", model + "-chart.png", "PNG (*.png)", &TRunSummaryWindow::SaveChart);
    });
}

void TRunSummaryWindow::ShowFigure(const std::string& name, const std::string& value) {
    figures_->Show(name, value);
}

std::string TRunSummaryWindow::FigureText(const std::string& name) const {
    return figures_->Text(name);
}

void TRunSummaryWindow::ShowRun(double wallSeconds, std::uint64_t events, const std::string& traceFile) {
    ShowFigure("Clock", std::string(Trim(TimeString())));
    ShowFigure("Wall time", FormatLocal(wallSeconds) + " s");
    ShowFigure("Events", std::to_string(events));
    for (const auto& [name, count] : RunFigures()) ShowFigure(name, std::to_string(count));
    queues_->ResetGrid();
    FillQueueForm(*queues_);
    // A trace written to a file is complete there; the memo holds only what
    // was shown on screen.
    const bool toFile = !traceFile.empty();
    traceNote_->setVisible(toFile);
    traceNote_->setText(QString::fromStdString("The trace went to the file " + traceFile));
    saveTrace_->setEnabled(!toFile);
    showNormal();
    raise();
}

void TRunSummaryWindow::AskAndSave(const QString& title, const QString& suggested, const QString& filter,
                                   bool (TRunSummaryWindow::*save)(const QString&)) {
    const QString path = QFileDialog::getSaveFileName(this, title, suggested, filter);
    if (!path.isEmpty()) (this->*save)(path);
}

bool TRunSummaryWindow::SaveReport(const QString& path) {
    if (WriteRunReport(path.toStdString())) return true;
    ShowBox(BoxKind::Warning, "Error writing report " + path.toStdString());
    return false;
}

bool TRunSummaryWindow::SaveTrace(const QString& path) {
    if (WriteText(path, memo_->toPlainText() + "\n")) return true;
    ShowBox(BoxKind::Warning, "Error writing trace " + path.toStdString());
    return false;
}

bool TRunSummaryWindow::SaveChart(const QString& path) {
    if (chart_->grab().save(path, "PNG")) return true;
    ShowBox(BoxKind::Warning, "Error writing chart " + path.toStdString());
    return false;
}

}  // namespace zorva
