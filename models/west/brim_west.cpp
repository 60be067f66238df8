#include "west/brim_west.h"

#include <string>
#include <string_view>

#include "common/lock_model.h"
#include "engine/connection/messaging.h"
#include "ui/model_window.h"

namespace zorva {
namespace {

constexpr const char* EastModel = "brimeast";
constexpr const char* ReceiveQuestion = "Can you receive a ship?";
constexpr std::string_view Acceptance = "Yes";

// Any other answer loses the ship: it is not retried, kept or counted.
void HandOverToEast(TShip& ship) {
    std::string answer = ReceiveQuestion;
    AskModel(EastModel, answer);
    if (answer.starts_with(Acceptance)) SendShip(ship, EastModel);
}

constexpr TLockModel West{"ShipL", WestSide, EastSide, HandOverToEast};

}  // namespace

void InitBrimWest() {
    BuildLockModel(West);
    SetTrace(true);
    SetServerAddress("LocalHost");
    SetMessageHandler(ReceiveShip);
}

}  // namespace zorva
