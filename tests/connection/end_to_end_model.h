#pragma once
// The east side of the end-to-end test, run as a program of its own.

namespace zorva::testing {

// Connects to the server on the given loopback port as "obrimeast", answers
// every question "Yes" and lets each ship handed over arrive 20 time units
// after its hand-over; prints one line per arrival and one at the end.
int RunEastModel(const char* port);

}  // namespace zorva::testing
