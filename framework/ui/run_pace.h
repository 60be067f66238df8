#pragma once
// The pace of a run in the window: simulated time units per wall-clock
// second, or as fast as possible. Before each event the run loop lets the
// pace wait until the wall clock has caught up with the event's time; the
// wait sleeps in the window system's event processing, so the controls stay
// live and no core spins.

#include <chrono>

namespace zorva {

class TRunPace {
public:
    // 0 (the default): as fast as possible.
    void SetUnitsPerSecond(double unitsPerSecond);
    double UnitsPerSecond() const { return unitsPerSecond_; }

    // The engine's pace hook: returns once the wall clock has reached time t
    // (or the stop time, or the break time, whichever comes first), or at
    // once when the run stops running or the pace changes.
    void WaitBefore(double t);

private:
    using Clock = std::chrono::steady_clock;
    // Where simulated time and the wall clock were matched last.
    void Anchor();
    // Wall-clock seconds until simTime is due; negative when overdue.
    double SecondsUntil(double simTime) const;

    double unitsPerSecond_ = 0.0;
    bool anchored_ = false;
    Clock::time_point anchorWall_;
    double anchorSim_ = 0.0;
};

}  // namespace zorva
