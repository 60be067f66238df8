#pragma once
// Tests that check what happens at a given time set the clock directly,
// which only the engine does in a program.

#include "engine/engine_state.h"

namespace zorva::testing {

inline void SetClock(double t) {
    TheEngine().Status.SimTime = t;
}

}  // namespace zorva::testing
