#pragma once
// The right half of the main window: the queues' lengths as a live chart,
// the run's key figures under it (clock, events per second of wall-clock
// time, elements and whatever the model counts, such as hand-overs), the
// pace of the run, and a line for each problem the model reports (a
// hand-over to a model that has left, say). The main window refreshes it a
// few times a second; nothing here runs per event except the count.

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <string>

#include "ui/run_pace.h"

class QComboBox;
class QListWidget;

namespace zorva {

class TFigureRows;

class TQueueChart;

class TRunDashboard : public QWidget {
    Q_OBJECT
public:
    // How often the main window refreshes the dashboard while a run goes on.
    static constexpr int kRefreshMs = 250;
    static constexpr int kMostNotes = 100;

    explicit TRunDashboard(QWidget* parent);

    TQueueChart* Chart() const { return chart_; }
    QComboBox* PaceCombo() const { return paceCombo_; }
    QListWidget* Notes() const { return notes_; }
    TRunPace& Pace() { return pace_; }

    // The display callback's count of resumed events.
    void CountEvent() { ++events_; }
    std::uint64_t Events() const { return events_; }
    // Figures, chart and notes brought up to date; the stall is judged here.
    void Refresh();
    // No event was resumed since the refresh before, and the run is
    // waiting for the server right now.
    bool Stalled() const { return stalled_; }
    // A figure's value as shown ("Clock", "Elements", a model's figure).
    std::string FigureText(const std::string& name) const;

    // The pace box's text applied: false, after an error box, when it is
    // neither a pace above 0 nor "As fast as possible".
    bool ApplyPace(const std::string& text);

private:
    void ShowFigure(const std::string& name, const std::string& value);
    void AddProblemNotes();

    TQueueChart* chart_;
    TFigureRows* figures_;
    QComboBox* paceCombo_;
    QListWidget* notes_;
    TRunPace pace_;
    std::uint64_t events_ = 0;
    std::uint64_t eventsAtLastLook_ = 0;
    std::chrono::steady_clock::time_point lastLook_ = std::chrono::steady_clock::now();
    double eventsPerSecond_ = 0.0;
    bool stalled_ = false;
    std::int64_t problemsNoted_ = 0;
};

// The pace box's text for "as fast as possible".
inline constexpr const char* kFastestPace = "As fast as possible";

}  // namespace zorva
