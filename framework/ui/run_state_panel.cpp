#include "ui/run_state_panel.h"

#include <algorithm>
#include <cmath>

#include "connection/connection_watch.h"
#include "connection/messaging.h"
#include "engine/engine.h"
#include "ui/locale_numbers.h"
#include "wire/never_time.h"

namespace zorva {

std::string RunPhaseName(TRunPhase phase) {
    switch (phase) {
        case TRunPhase::Idle:
            return "Idle";
        case TRunPhase::Connecting:
            return "Connecting";
        case TRunPhase::Running:
            return "Running";
        case TRunPhase::Stepping:
            return "Stepping";
        case TRunPhase::Interrupted:
            return "Interrupted";
        case TRunPhase::WaitingForServer:
            return "Waiting for the server";
        case TRunPhase::Ended:
            return "Ended";
        case TRunPhase::ConnectionLost:
            return "Connection lost";
        case TRunPhase::Failed:
            return "Failed";
    }
    return {};
}

TRunPhase CurrentRunPhase(bool stalled) {
    const std::uint8_t state = RunState();
    if (state == rsIdle) return TRunPhase::Idle;
    const TConnectionFailure::Kind failure = ConnectionFailure().What;
    if (state == rsEnded) {
        if (failure == TConnectionFailure::Lost) return TRunPhase::ConnectionLost;
        if (failure == TConnectionFailure::NotConnected) return TRunPhase::Failed;
        return TRunPhase::Ended;
    }
    if (!ZorvaStatus().ServerAddress.empty()) {
        // Before the greeting the run has not begun: it is still connecting,
        // or the connection failed and the user is asked what to do.
        const TLinkPhase link = LinkPhase();
        if (link == TLinkPhase::Connecting) return TRunPhase::Connecting;
        if (link == TLinkPhase::Closed && failure == TConnectionFailure::NotConnected) return TRunPhase::Failed;
    }
    if (state == rsInterrupted) return TRunPhase::Interrupted;
    if (stalled) return TRunPhase::WaitingForServer;
    return state == rsStepping ? TRunPhase::Stepping : TRunPhase::Running;
}

std::string RunStateText(TRunPhase phase) {
    std::string text = RunPhaseName(phase);
    const bool goingOn = phase == TRunPhase::Running || phase == TRunPhase::Stepping ||
                         phase == TRunPhase::Interrupted || phase == TRunPhase::WaitingForServer;
    const double stop = StopTime();
    if (goingOn && stop > 0.0 && stop < NeverTime) {
        const double percent = std::clamp(std::floor(100.0 * SimTime() / stop), 0.0, 100.0);
        text += ", " + std::to_string(static_cast<int>(percent)) + " % of " + FormatLocal(stop);
    }
    return text;
}

}  // namespace zorva
