#pragma once
// The lock itself: the two arrival queues, the chamber and the side the
// chamber is open to. A plain record, not an element: the keeper and the
// ships act on it.

#include <cstdint>

#include "kernel/queue.h"

namespace zorva {

// The same index names a ship's arrival side and the chamber's open side.
inline constexpr std::uint8_t WestSide = 0;
inline constexpr std::uint8_t EastSide = 1;

class TLock {
public:
    TLock();

    ZorvaQueue& Arrivals(std::uint8_t side) { return side == WestSide ? LeftArrivals : RightArrivals; }
    bool NoShipWaiting() const { return LeftArrivals.Length + RightArrivals.Length == 0; }
    void ChangeSide() { LockSide = static_cast<std::uint8_t>(1 - LockSide); }

    ZorvaQueue LeftArrivals;
    ZorvaQueue RightArrivals;
    ZorvaQueue LockQueue;
    std::uint8_t LockSide = WestSide;
};

}  // namespace zorva
