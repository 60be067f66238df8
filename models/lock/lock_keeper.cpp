#include "lock/lock_keeper.h"

#include "engine/engine.h"

namespace zorva {

void TLockKeeper::Process() {
    TLock& lock = lock_;
    for (;;) {
        while (lock.NoShipWaiting()) StandBy();
        if (lock.Arrivals(lock.LockSide).Length == 0) {
            Hold(ChangeoverTime);  // empty, towards the ships waiting
            lock.ChangeSide();
        }
        // Tested again after every ship, so ships that join while the
        // chamber fills go in with this batch.
        while (ZorvaElement* ship = lock.Arrivals(lock.LockSide).FirstElement()) {
            ship->Resume(SimTime());
            Passivate();  // until the ship is in
        }
        Hold(ChangeoverTime);
        lock.ChangeSide();
        while (ZorvaElement* ship = lock.LockQueue.FirstElement()) {
            ship->Resume(SimTime());
            Passivate();  // until the ship is out
        }
    }
}

}  // namespace zorva
