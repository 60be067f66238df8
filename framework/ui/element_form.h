#pragma once
// The element window: every existing element with its status, its times and
// the queues it is in, one row per element and one continuation row for each
// further queue. A snapshot, filled anew each time it is shown.

#include <QWidget>

#include <cstdint>
#include <string>

namespace zorva {

class TInspectionGrid;

class TElementForm : public QWidget {
    Q_OBJECT
public:
    explicit TElementForm(QWidget* parent);

    void ResetGrid();
    void AddElementRow(const std::string& name, const std::string& status, double arrivalTime, double eventTime);
    void AddQueueCell(const std::string& queueName, double entryTime);
    TInspectionGrid* Grid() const { return grid_; }

private:
    TInspectionGrid* grid_;
    bool awaitingQueue_ = false;
};

}  // namespace zorva
