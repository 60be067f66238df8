#pragma once
// What a window needs to show the link to the message server and to offer a
// way forward when it cannot be made: where the link stands, whether the run
// is waiting for the server's answer right now, and the choice after a
// connection that failed.

#include <functional>

#include "connection/connection_failure.h"

namespace zorva {

enum class TLinkPhase { None, Connecting, Connected, Closed };
TLinkPhase LinkPhase();

// True while a wait for the server (its greeting, a grant, an answer)
// processes window events: a window's timer that fires now sees the run
// waiting, not computing.
bool WaitingForServer();

// After a connection that could not be made, before the run goes on: try
// again, run the model alone, or give up (the run ends as it does today, the
// failure kept for the end of the program).
enum class TConnectChoice { GiveUp, Retry, RunUnconnected };
using ConnectFailedHandler = std::function<TConnectChoice(const TConnectionFailure& failure)>;
// Without a handler the run gives up, as a batch run must.
void SetConnectFailedHandler(ConnectFailedHandler handler);

}  // namespace zorva
