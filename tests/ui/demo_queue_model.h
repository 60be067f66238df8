#pragma once
// The small queue model that the documentation's pictures show: customers
// arrive every 1.25 time units, wait in "Waiting" and are served 2.5 at the
// "Counter".

#include <functional>

namespace zorva::uitest {

void BuildDemoQueueModel();
void FreeDemoQueueModel();

// Runs the action outside the run, as a window event, once the clock has
// reached t; the run then stands still. A timer rather than a posted call:
// inside a posted call a window's own repaint, posted earlier, is not
// delivered.
void AtSimTimeStandStill(double t, std::function<void()> action);

}  // namespace zorva::uitest
