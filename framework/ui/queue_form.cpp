#include "ui/queue_form.h"

#include <QVBoxLayout>

#include "ui/inspection_grid.h"
#include "ui/locale_numbers.h"

namespace zorva {

TQueueForm::TQueueForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("QueueForm");
    setWindowTitle("Queues");
    setGeometry(247, 107, 740, 480);
    grid_ = new TInspectionGrid("QueueGrid",
                                {{"Name", 20},
                                 {"Length", 10, "Members now"},
                                 {"Avg.Lgth", 10, "Average length over simulated time"},
                                 {"Max.Lgth", 10, "Greatest length"},
                                 {"Tot.Passed", 10, "Total passed: members that have left"},
                                 {"Direct", 10, "Members that left at the time they entered, without waiting"},
                                 {"Avg. WT", 10, "Average waiting time of the members that have left"},
                                 {"Max. WT", 10, "Longest waiting time"}},
                                this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
}

void TQueueForm::ResetGrid() {
    grid_->ResetGrid();
}

void TQueueForm::AddQueueRow(const std::string& name, std::uint16_t length, double avgLength, std::int64_t maxLength,
                             std::int64_t totalPassed, std::int64_t direct, double avgWaitingTime,
                             double maxWaitingTime) {
    const int row = grid_->NextRow();
    grid_->SetCell(row, 0, name);
    grid_->SetCell(row, 1, std::to_string(length));
    grid_->SetCell(row, 2, FormatLocal(avgLength, 1));
    grid_->SetCell(row, 3, std::to_string(maxLength));
    grid_->SetCell(row, 4, std::to_string(totalPassed));
    grid_->SetCell(row, 5, std::to_string(direct));
    grid_->SetCell(row, 6, FormatLocal(avgWaitingTime));
    grid_->SetCell(row, 7, FormatLocal(maxWaitingTime));
}

}  // namespace zorva
