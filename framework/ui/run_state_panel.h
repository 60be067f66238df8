#pragma once
// What the run is doing, as the fourth panel of the main window's status
// bar says it: the run states of the engine, told apart further by the
// link to the server and by how the run ended.

#include <string>

namespace zorva {

enum class TRunPhase {
    Idle,
    Connecting,
    Running,
    Stepping,
    Interrupted,
    WaitingForServer,
    Ended,
    ConnectionLost,
    Failed,
};

std::string RunPhaseName(TRunPhase phase);

// The phase now. stalled: the run has resumed no event since the last look
// and is waiting for the server's answer at this moment.
TRunPhase CurrentRunPhase(bool stalled);

// The phase's name and, while the run goes on towards a stop time, how far
// it has come: "Running, 45 % of 300.00".
std::string RunStateText(TRunPhase phase);

}  // namespace zorva
