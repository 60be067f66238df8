#include "common/generator.h"

#include "common/lock_model.h"
#include "common/ship.h"
#include "engine/engine.h"

namespace zorva {

TGenerator::TGenerator(const std::string& name)
    : ZorvaElement(this, name),
      ArrivalDistribution(ArrivalSeed, MeanArrivalInterval),
      AttributeDistribution(AttributeSeed, LowestAttribute, HighestAttribute) {}

void TGenerator::Process() {
    for (;;) {
        auto* ship = new TShip(TheLockModel->NewShipName, AttributeDistribution.Sample(), TheLockModel->NewShipSide);
        ship->Start(SimTime());
        Hold(ArrivalDistribution.Sample());
    }
}

}  // namespace zorva
