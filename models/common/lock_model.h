#pragma once
// One lock of the waterway as a model: what the west and the east lock share,
// set apart by the few constants in TLockModel.

#include <cstdint>
#include <string>

#include "common/generator.h"
#include "common/lock.h"
#include "common/lock_keeper.h"
#include "common/ship.h"

namespace zorva {

inline constexpr double SailingTimeToOtherLock = 20.0;

// The figures of the run: hand-over texts sent and received, and ships that
// did not reach the other lock (each also a problem of the run).
inline constexpr const char* HandOversSent = "hand-overs sent";
inline constexpr const char* HandOversReceived = "hand-overs received";
inline constexpr const char* HandOversUndelivered = "hand-overs undelivered";

struct TLockModel {
    const char* NewShipName;        // the generator's ships
    std::uint8_t NewShipSide;       // where they arrive at this lock
    std::uint8_t ReceivedShipSide;  // where ships from the other lock arrive
    void (*HandOver)(TShip& ship);  // a ship born here, after its passage
};

// Set once by BuildLockModel; the kernel owns the two elements.
extern const TLockModel* TheLockModel;
extern TLock* TheLock;
extern TGenerator* TheGenerator;
extern TLockKeeper* TheLockKeeper;

// Creates the lock, then the generator and the keeper, both started now,
// and lists the hand-over figures. A second call (a fresh start-up after
// ResetKernel) replaces the lock.
void BuildLockModel(const TLockModel& model);

// Name!!Attribute!!Arrival at the other lock, numbers with two decimals.
std::string HandOverText(const TShip& ship);

// Sends the ship's hand-over text to the other model and counts it.
void SendShip(TShip& ship, const std::string& model);

// The ship never reaches the other model: a problem of the run, traced with
// the reason and counted.
void ShipUndelivered(const std::string& ship, const std::string& model, const std::string& reason);

// The server's "$$unknown:" after a hand-over: it could not deliver the
// text, so the ship sent last is undelivered. The server answers a text at
// once, before it grants any further time, so no later hand-over can come
// between. Without a hand-over since the last refusal nothing happens.
void HandOverRefused(const std::string& reason);

// The message handler: a "$$from:" text carries a ship handed over by the
// other model, which is started here at the time it carries and counted; a
// "$$unknown:" text is the server's refusal of this model's last hand-over.
void ReceiveShip(const std::string& Message);

}  // namespace zorva
