#pragma once
// The user queues' lengths over simulated time as a line chart, one line
// per queue, drawn as steps from the queues' own length traces. It records
// only while it is shown, and it redraws only when asked (a few times a
// second), never per event.

#include <QChartView>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class QLineSeries;
class QValueAxis;

namespace zorva {

class TQueueChart : public QChartView {
    Q_OBJECT
public:
    // The most points one line ever holds: two per recorded point (a step)
    // and the queue's present length at the clock.
    static std::size_t PointBudget();

    explicit TQueueChart(QWidget* parent);
    ~TQueueChart() override;

    // Brings the lines up to the queues' traces and the clock.
    void Refresh();
    // The line of the queue with that name; null when there is none.
    QLineSeries* Line(const std::string& queueName) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct TLine {
        std::string Queue;
        QLineSeries* Series;
        std::uint64_t Version;
        double Clock;
    };
    void MatchQueues();

    QValueAxis* timeAxis_;
    QValueAxis* lengthAxis_;
    std::vector<TLine> lines_;
};

}  // namespace zorva
