#pragma once
// One model of the server benchmark's ring, speaking the protocol over a
// plain blocking socket on its own thread: the server sees exactly what a
// model client sends, with no engine or event loop on the model's side to
// blur what the server itself costs.

#include <cstdint>
#include <string>

namespace zorva::bench {

struct RingModelPlan {
    std::uint16_t Port = 0;
    std::string Name;
    std::string Next;  // the model that gets a text from every event
    double FirstEvent = 0;
    double Period = 1;
    double Until = 0;
    // 0: one "$$continue:" grant per event; otherwise the lookahead declared.
    double Lookahead = 0;
};

struct RingModelResult {
    long Events = 0;
    long Grants = 0;      // "$$continue:" or "$$horizon:" lines received
    std::string Problem;  // empty when the run reached its end
};

// Registers, then runs events at FirstEvent, FirstEvent + Period, ... before
// Until, each sending one text to Next; a text received creates no event.
RingModelResult RunRingModel(const RingModelPlan& plan);

}  // namespace zorva::bench
