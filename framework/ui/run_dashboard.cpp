#include "ui/run_dashboard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <cmath>

#include "connection/connection_watch.h"
#include "kernel/kernel.h"
#include "ui/figure_rows.h"
#include "ui/locale_numbers.h"
#include "ui/message_boxes.h"
#include "ui/queue_chart.h"
#include "wire/protocol.h"

namespace zorva {
namespace {

constexpr int kNotesHeight = 56;

std::string PaceText(double unitsPerSecond) {
    if (unitsPerSecond <= 0.0) return kFastestPace;
    // Whole paces as typed, others with the locale's separator.
    if (unitsPerSecond == std::floor(unitsPerSecond) && unitsPerSecond < 1e12)
        return std::to_string(static_cast<long long>(unitsPerSecond));
    return FormatLocal(unitsPerSecond);
}

}  // namespace

TRunDashboard::TRunDashboard(QWidget* parent) : QWidget(parent) {
    setObjectName("RunDashboard");
    // The main window may be made narrow (beside the animation window): the
    // dashboard then gives up its room rather than hold the window wide.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);

    chart_ = new TQueueChart(this);
    column->addWidget(chart_, 1);

    figures_ = new TFigureRows("Figure: ");
    figures_->setVerticalSpacing(0);
    column->addLayout(figures_);
    ShowFigure("Clock", std::string(Trim(TimeString())));
    ShowFigure("Events per second", "0");
    ShowFigure("Elements", "0");

    auto* paceRow = new QHBoxLayout;
    auto* paceLabel = new QLabel("Pace", this);
    paceCombo_ = new QComboBox(this);
    paceCombo_->setObjectName("PaceCombo");
    paceCombo_->setEditable(true);
    paceCombo_->setInsertPolicy(QComboBox::NoInsert);
    paceCombo_->addItems({kFastestPace, "1", "10", "100", "1000", "10000"});
    paceCombo_->setToolTip("Simulated time units per second of wall-clock time; the run waits before each event");
    paceLabel->setBuddy(paceCombo_);
    paceRow->addWidget(paceLabel);
    paceRow->addWidget(paceCombo_, 1);
    paceRow->addWidget(new QLabel("time units per second", this));
    column->addLayout(paceRow);
    connect(paceCombo_, &QComboBox::activated, this, [this] { ApplyPace(paceCombo_->currentText().toStdString()); });
    connect(paceCombo_->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { ApplyPace(paceCombo_->currentText().toStdString()); });

    column->addWidget(new QLabel("Problems the model reported:", this));
    notes_ = new QListWidget(this);
    notes_->setObjectName("RunNotes");
    notes_->setToolTip("Problems the model reported during the run, such as a hand-over to a model that has left");
    notes_->setMaximumHeight(kNotesHeight);
    column->addWidget(notes_);
}

bool TRunDashboard::ApplyPace(const std::string& typed) {
    const std::string text(Trim(typed));
    bool accepted = true;
    if (text.empty() || QString::fromStdString(text).compare(kFastestPace, Qt::CaseInsensitive) == 0) {
        pace_.SetUnitsPerSecond(0.0);
    } else if (const auto value = ParseLocal(text); value && *value > 0.0 && std::isfinite(*value)) {
        pace_.SetUnitsPerSecond(*value);
    } else {
        accepted = false;
        ShowBox(BoxKind::Error,
                "'" + text + "' is not a pace: give time units per second above 0, or choose \"" + kFastestPace + "\"");
    }
    // The box shows what is in force, whatever was typed.
    paceCombo_->setEditText(QString::fromStdString(PaceText(pace_.UnitsPerSecond())));
    return accepted;
}

void TRunDashboard::ShowFigure(const std::string& name, const std::string& value) {
    figures_->Show(name, value);
}

std::string TRunDashboard::FigureText(const std::string& name) const {
    return figures_->Text(name);
}

void TRunDashboard::AddProblemNotes() {
    const std::int64_t problems = ProblemCount();
    if (problems == problemsNoted_) return;
    // Problems between two looks are many only in a run gone badly wrong:
    // the last one stands for them, with their number.
    std::string note = LastProblem();
    if (problems - problemsNoted_ > 1) note += " (" + std::to_string(problems - problemsNoted_ - 1) + " more before)";
    problemsNoted_ = problems;
    notes_->addItem(QString::fromStdString(note));
    while (notes_->count() > kMostNotes) delete notes_->takeItem(0);
    notes_->scrollToBottom();
}

void TRunDashboard::Refresh() {
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::duration<double> wall = now - lastLook_;
    stalled_ = events_ == eventsAtLastLook_ && WaitingForServer();
    if (wall.count() > 0.0) eventsPerSecond_ = static_cast<double>(events_ - eventsAtLastLook_) / wall.count();
    eventsAtLastLook_ = events_;
    lastLook_ = now;

    ShowFigure("Clock", std::string(Trim(TimeString())));
    ShowFigure("Events per second", std::to_string(std::llround(eventsPerSecond_)));
    ShowFigure("Elements", std::to_string(Elements().Length));
    for (const auto& [name, count] : RunFigures()) ShowFigure(name, std::to_string(count));
    AddProblemNotes();
    if (chart_->isVisible()) chart_->Refresh();
}

}  // namespace zorva
