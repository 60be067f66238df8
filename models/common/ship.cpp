#include "common/ship.h"

#include "common/lock_model.h"
#include "engine/engine.h"

namespace zorva {

TShip::TShip(const std::string& name, double attribute, std::uint8_t side)
    : ZorvaElement(this, name), Attribute(attribute), Side(side) {}

void TShip::Process() {
    ZorvaQueue& arrivals = TheLock->Arrivals(Side);
    EnterQueue(arrivals);
    Passivate();  // until the keeper calls the ship in
    LeaveQueue(arrivals);
    Hold(SailInTime);
    EnterQueue(TheLock->LockQueue);
    TheLockKeeper->Resume(SimTime());  // the ship is in
    Passivate();                       // until the keeper calls it out
    LeaveQueue(TheLock->LockQueue);
    Hold(SailOutTime);
    TheLockKeeper->Resume(SimTime());  // the ship is out
    // Ships that came from the other lock have finished their voyage here.
    if (Side == TheLockModel->NewShipSide) TheLockModel->HandOver(*this);
    StopAndLeave();
}

}  // namespace zorva
