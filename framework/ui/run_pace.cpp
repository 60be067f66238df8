#include "ui/run_pace.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "wire/never_time.h"

namespace zorva {
namespace {

// A run that fell this far behind (it was interrupted, or its events cost
// more than the pace allows) starts its pace anew instead of racing to
// catch up.
constexpr double kMostBehind = 0.25;
constexpr double kLongestSlice = 1.0;

// The next moment the run may pass: the event's time, but never beyond an
// end or a break that comes first.
double PacedTarget(double t) {
    double target = std::min(t, StopTime());
    if (BreakTime() >= SimTime()) target = std::min(target, BreakTime());
    return target;
}

}  // namespace

void TRunPace::SetUnitsPerSecond(double unitsPerSecond) {
    unitsPerSecond_ = std::max(0.0, unitsPerSecond);
    anchored_ = false;
}

void TRunPace::Anchor() {
    anchorWall_ = Clock::now();
    anchorSim_ = SimTime();
    anchored_ = true;
}

double TRunPace::SecondsUntil(double simTime) const {
    const std::chrono::duration<double> elapsed = Clock::now() - anchorWall_;
    return (simTime - anchorSim_) / unitsPerSecond_ - elapsed.count();
}

void TRunPace::WaitBefore(double t) {
    if (unitsPerSecond_ <= 0.0) return;
    if (!anchored_ || SecondsUntil(SimTime()) < -kMostBehind) Anchor();
    const double pace = unitsPerSecond_;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const double target = PacedTarget(t);
        if (target >= NeverTime || RunState() != rsRunning || unitsPerSecond_ != pace) return;
        const double left = SecondsUntil(target);
        if (left <= 0.0) return;
        // A far target is waited for in slices: the pace may change meanwhile.
        wake.start(static_cast<int>(std::ceil(std::min(left, kLongestSlice) * 1000.0)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace zorva
