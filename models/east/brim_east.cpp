#include "east/brim_east.h"

#include "common/lock_model.h"
#include "connection/messaging.h"
#include "ui/model_window.h"

namespace zorva {
namespace {

constexpr const char* WestModel = "brimwest";

void HandOverToWest(TShip& ship) {
    SendShip(ship, WestModel);
}

constexpr TLockModel East{"ShipR", EastSide, WestSide, HandOverToWest};

}  // namespace

void AnswerQuestion(TMsgString& /*Question*/, const std::string& Asker) {
    SendAnswer(Asker, "Yes");
}

void InitBrimEast() {
    BuildLockModel(East);
    SetTrace(true);
    SetServerAddress("LocalHost");
    SetMessageHandler(ReceiveShip);
    SetQuestionHandler(AnswerQuestion);
}

}  // namespace zorva
