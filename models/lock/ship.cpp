#include "lock/ship.h"

#include "engine/engine.h"
#include "lock/lock_model.h"

namespace zorva {

TShip::TShip(const std::string& name, double attribute, std::uint8_t side, TLockModel& model)
    : ZorvaElement(this, name), Attribute(attribute), Side(side), model_(model) {}

void TShip::Process() {
    TLock& lock = model_.Lock();
    ZorvaQueue& arrivals = lock.Arrivals(Side);
    EnterQueue(arrivals);
    Passivate();  // until the keeper calls the ship in
    LeaveQueue(arrivals);
    Hold(SailInTime);
    EnterQueue(lock.LockQueue);
    model_.Keeper().Resume(SimTime());  // the ship is in
    Passivate();                        // until the keeper calls it out
    LeaveQueue(lock.LockQueue);
    Hold(SailOutTime);
    model_.Keeper().Resume(SimTime());  // the ship is out
    // Ships that came from the other lock have finished their voyage here.
    if (Side == model_.Side().NewShipSide) model_.Side().HandOver(model_, *this);
    StopAndLeave();
}

}  // namespace zorva
