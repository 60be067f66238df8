#include "common/lock_model.h"

#include "engine/connection/messaging.h"
#include "engine/engine.h"
#include "engine/number_text.h"

namespace zorva {

const TLockModel* TheLockModel = nullptr;
TLock* TheLock = nullptr;
TGenerator* TheGenerator = nullptr;
TLockKeeper* TheLockKeeper = nullptr;

void BuildLockModel(const TLockModel& model) {
    TheLockModel = &model;
    delete TheLock;
    TheLock = new TLock;
    TheGenerator = new TGenerator("Generator");
    TheGenerator->Start(SimTime());
    TheLockKeeper = new TLockKeeper("LockKeeper");
    TheLockKeeper->Start(SimTime());
}

std::string HandOverText(const TShip& ship) {
    return ship.Name + "!!" + FormatFixed(ship.Attribute) + "!!" + FormatFixed(SimTime() + SailingTimeToOtherLock);
}

void SendShip(TShip& ship, const std::string& model) {
    const std::string text = HandOverText(ship);
    SendToModel(model, text);
    ship.WriteTrace("handed over to " + model + ": " + text);
}

}  // namespace zorva
