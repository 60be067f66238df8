#pragma once
// The queue window: every user queue with its statistics as the queue holds
// them. A snapshot, filled anew each time it is shown.

#include <QWidget>

#include <cstdint>
#include <string>

namespace zorva {

class TInspectionGrid;

class TQueueForm : public QWidget {
    Q_OBJECT
public:
    explicit TQueueForm(QWidget* parent);

    void ResetGrid();
    void AddQueueRow(const std::string& name, std::uint16_t length, double avgLength, std::int64_t maxLength,
                     std::int64_t totalPassed, std::int64_t direct, double avgWaitingTime, double maxWaitingTime);
    TInspectionGrid* Grid() const { return grid_; }

private:
    TInspectionGrid* grid_;
};

}  // namespace zorva
