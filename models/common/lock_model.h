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

struct TLockModel {
    const char* NewShipName;           // the generator's ships
    std::uint8_t NewShipSide;          // where they arrive at this lock
    std::uint8_t ReceivedShipSide;     // where ships from the other lock arrive
    void (*HandOver)(TShip& ship);     // a ship born here, after its passage
};

// Set once by BuildLockModel; the kernel owns the two elements.
extern const TLockModel* TheLockModel;
extern TLock* TheLock;
extern TGenerator* TheGenerator;
extern TLockKeeper* TheLockKeeper;

// Creates the lock, then the generator and the keeper, both started now.
// A second call (a fresh start-up after ResetKernel) replaces the lock.
void BuildLockModel(const TLockModel& model);

// Name!!Attribute!!Arrival at the other lock, numbers with two decimals.
std::string HandOverText(const TShip& ship);

// Sends the ship's hand-over text to the other model, with a trace line
// that says so.
void SendShip(TShip& ship, const std::string& model);

// The message handler: a "$$from:" text carries a ship handed over by the
// other model, which is started here at the time it carries.
void ReceiveShip(const std::string& Message);

}  // namespace zorva
