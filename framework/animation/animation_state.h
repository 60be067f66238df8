#pragma once

// The animation's run-time settings that the main window reads: how much
// simulation time must pass between two redraws, when the last one happened,
// and the clock text the window writes into its corner.

#include <string>

namespace zorva {

struct TAnimationState {
    // Stays 0 (a redraw whenever the clock has moved at all) until the speed
    // bar is first moved, although the bar starts at 20.
    double AnimationInterval = 0.0;
    double LastAnimationTime = -1.0;
    std::string AnimationCaption;

    void SetAnimationInterval(double interval) { AnimationInterval = interval; }
};

// The speed bar's position (0 slowest .. 100 fastest) as the least advance of
// simulation time between two redraws; positions outside 0..100 count as the
// nearest end.
double SpeedInterval(int position);

}  // namespace zorva
