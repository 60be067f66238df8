#include "ui/element_form.h"

#include <QVBoxLayout>

#include "engine/element_status.h"
#include "ui/inspection_grid.h"
#include "ui/locale_numbers.h"

namespace zorva {

TElementForm::TElementForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ElementForm");
    setWindowTitle("Elements");
    setGeometry(167, 114, 737, 480);
    grid_ = new TInspectionGrid("ElementGrid",
                                {{"Name", 20},
                                 {"ArrivalTime", 10, "When the element was created"},
                                 {"Status", 20},
                                 {"Eventtime", 10, "Time of the element's next event; Never when it has none"},
                                 {"Queue", 20},
                                 {"QueueTime", 10, "When the element entered that queue"}},
                                this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
}

void TElementForm::ResetGrid() {
    grid_->ResetGrid();
    awaitingQueue_ = false;
}

void TElementForm::AddElementRow(const std::string& name, const std::string& status, double arrivalTime,
                                 double eventTime) {
    const int row = grid_->NextRow();
    grid_->SetCell(row, 0, name);
    grid_->SetCell(row, 1, FormatLocal(arrivalTime));
    grid_->SetCell(row, 2, status);
    grid_->SetCell(row, 3, eventTime == NeverTime ? "Never" : FormatLocal(eventTime));
    awaitingQueue_ = true;
}

void TElementForm::AddQueueCell(const std::string& queueName, double entryTime) {
    const int row = awaitingQueue_ ? grid_->LastRow() : grid_->AppendRow();
    grid_->SetCell(row, 4, queueName);
    grid_->SetCell(row, 5, FormatLocal(entryTime));
    awaitingQueue_ = false;
}

}  // namespace zorva
