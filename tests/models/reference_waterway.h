#pragma once
// A second, independent computation of the two locks' ship logic: one plain
// event list for both locks, no processes, no queues of the kernel, no
// server. It yields the hand-over texts each lock sends before a given time.

#include <string>
#include <vector>

namespace zorva::testing {

struct ReferenceHandOvers {
    std::vector<std::string> WestToEast;  // "ShipL!!26.68!!34.00", ...
    std::vector<std::string> EastToWest;
};

ReferenceHandOvers SimulateWaterway(double until);

}  // namespace zorva::testing
