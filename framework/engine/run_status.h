#pragma once
/// \file
/// The run's state and the one run status record.

#include <cstdint>
#include <string>

namespace zorva {

class ZorvaProcessElement;

enum RunStateCode : std::uint8_t {
    rsIdle = 0,
    rsEnded = 1,
    rsInterrupted = 2,
    rsRunning = 3,
    rsStepping = 4,
};

/// The one run status record, read by the kernel, the connection and the
/// windows; only the engine writes it (the connection through the engine's
/// named operations).
class TZorvaStatus {
public:
    std::uint8_t RunState = rsIdle;
    bool Proceed = false;  // permission for the next pass to resume its event
    ZorvaProcessElement* CurrentElement = nullptr;
    std::string ServerAddress;  // empty: the model runs unconnected
    double SimTime = 0.0;
    std::string StatusText;  // connection status waiting for the trace
    bool Switching = false;  // true while DisplayCallback is told of a resumption
};

}  // namespace zorva
