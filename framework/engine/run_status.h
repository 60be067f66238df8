#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/question.h"

namespace zorva {

class ZorvaProcessElement;

enum RunStateCode : std::uint8_t {
    rsIdle = 0,
    rsEnded = 1,
    rsInterrupted = 2,
    rsRunning = 3,
    rsStepping = 4,
};

// The one run status record, read by the kernel and the windows.
class TZorvaStatus {
public:
    std::uint8_t RunState = rsIdle;
    bool Proceed = false;  // permission for the next pass to resume its event
    ZorvaProcessElement* CurrentElement = nullptr;
    std::string ServerAddress;  // empty: the model runs unconnected
    double SimTime = 0.0;
    std::string StatusText;                      // connection status waiting for the trace
    std::string IncomingMessage;                 // last incoming text waiting for the model's handler
    bool Switching = false;                      // true while DisplayCallback is told of a resumption
    std::unique_ptr<TQuestion> PendingQuestion;  // last incoming question waiting for the model's handler
};

}  // namespace zorva
