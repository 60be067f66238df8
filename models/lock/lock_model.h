#pragma once
// One lock of the waterway as a model: the lock, its generator and keeper,
// and the hand-overs to and from the other lock. The west and the east lock
// differ only in their TLockSide.

#include <cstdint>
#include <optional>
#include <string>

#include "lock/generator.h"
#include "lock/lock.h"
#include "lock/lock_keeper.h"
#include "lock/ship.h"

namespace zorva {

inline constexpr double SailingTimeToOtherLock = 20.0;

// The figures of the run: hand-over texts sent and received, and ships that
// did not reach the other lock (each also a problem of the run).
inline constexpr const char* HandOversSent = "hand-overs sent";
inline constexpr const char* HandOversReceived = "hand-overs received";
inline constexpr const char* HandOversUndelivered = "hand-overs undelivered";

class TLockModel;

// What sets one lock apart from the other.
struct TLockSide {
    const char* NewShipName;        // the generator's ships
    std::uint8_t NewShipSide;       // where they arrive at this lock
    std::uint8_t ReceivedShipSide;  // where ships from the other lock arrive
    const char* OtherModel;         // the other lock, as this one addresses it
    // A ship born here, after its passage: offered to the other lock.
    void (*HandOver)(TLockModel& model, TShip& ship);
};

class TLockModel {
public:
    // Creates the lock, then the generator and the keeper, both started now,
    // and lists the hand-over figures. The kernel owns the two elements.
    explicit TLockModel(const TLockSide& side);
    TLockModel(const TLockModel&) = delete;
    TLockModel& operator=(const TLockModel&) = delete;

    const TLockSide& Side() const { return side_; }
    TLock& Lock() { return lock_; }
    TLockKeeper& Keeper() { return *keeper_; }

    // Name!!Attribute!!Arrival at the other lock, numbers with two decimals.
    std::string HandOverText(const TShip& ship) const;
    // Sends the ship's hand-over text to the other lock and counts it.
    void SendShip(TShip& ship);
    // The ship never reaches the other lock: a problem of the run, traced
    // with the reason and counted.
    void ShipUndelivered(const std::string& ship, const std::string& reason);

    // The message handler: a text from the other lock carries a ship, which
    // is started here at the time it carries and counted; the server's
    // refusal of a text is the refusal of this lock's last hand-over.
    void ReceiveShip(const std::string& Message);

private:
    // The server answers a text it cannot deliver at once, before it grants
    // any further time, so no later hand-over comes between.
    void HandOverRefused(const std::string& reason);

    const TLockSide& side_;
    TLock lock_;
    TGenerator* generator_;
    TLockKeeper* keeper_;
    std::optional<std::string> lastShipSent_;  // until the server refuses its text
};

// Builds the program's one lock model, replacing the one of an earlier
// start-up, and keeps it for the rest of the program.
TLockModel& InstallLockModel(const TLockSide& side);
TLockModel& InstalledLockModel();

}  // namespace zorva
