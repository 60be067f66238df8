#pragma once
// The physical limit for a grant: one line out and one line back over a
// loopback TCP connection, nothing computed on either side.

#include <chrono>
#include <optional>

namespace zorva::bench {

struct EchoResult {
    long roundTrips = 0;
    double seconds = 0.0;
};

// An echo server thread and a client on 127.0.0.1, both with TCP_NODELAY and
// one write per line. Stops after `roundTrips` or once `limit` has passed;
// nullopt when the sockets cannot be set up.
std::optional<EchoResult> MeasureEcho(long roundTrips, std::chrono::seconds limit);

}  // namespace zorva::bench
