#pragma once

// How often the animation window may draw while a run goes on. A redraw that
// the simulated clock makes due still waits while the last frame is too
// recent: frames come at most as often as a screen shows them, and drawing
// takes at most a set share of the wall time. A fast run with the animation
// on thus slows down by a bounded factor, instead of by a frame per event.

#include <algorithm>
#include <functional>

namespace zorva {

class TFramePacer {
public:
    // Seconds on a steady clock; a test may put its own clock here.
    std::function<double()> Clock = SteadySeconds;
    // A screen shows no more than this many frames a second.
    double MinPeriod = 1.0 / 60.0;
    // Of the wall time from one frame's start to the next one's.
    double MaxShare = 0.5;

    // Every due frame is drawn, however often: for looking at the redraw
    // rule of the simulated clock alone.
    void Unlimited() {
        MinPeriod = 0.0;
        MaxShare = 1.0;
    }

    bool MayDraw() const { return Clock() >= nextAllowed_; }
    double SecondsToWait() const { return std::max(0.0, nextAllowed_ - Clock()); }
    void FrameStarted() { started_ = Clock(); }
    void FrameEnded() {
        const double took = Clock() - started_;
        nextAllowed_ = started_ + std::max(MinPeriod, took / MaxShare);
    }

    static double SteadySeconds();

private:
    double started_ = 0.0;
    double nextAllowed_ = -1.0e300;  // the first frame comes at once
};

}  // namespace zorva
