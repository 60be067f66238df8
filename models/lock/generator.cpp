#include "lock/generator.h"

#include "engine/engine.h"
#include "lock/lock_model.h"
#include "lock/ship.h"

namespace zorva {

TGenerator::TGenerator(const std::string& name, TLockModel& model)
    : ZorvaElement(this, name),
      ArrivalDistribution(ArrivalSeed, MeanArrivalInterval),
      AttributeDistribution(AttributeSeed, LowestAttribute, HighestAttribute),
      model_(model) {}

void TGenerator::Process() {
    for (;;) {
        const TLockSide& side = model_.Side();
        auto* ship = new TShip(side.NewShipName, AttributeDistribution.Sample(), side.NewShipSide, model_);
        ship->Start(SimTime());
        Hold(ArrivalDistribution.Sample());
    }
}

}  // namespace zorva
