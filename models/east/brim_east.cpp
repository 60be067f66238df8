#include "east/brim_east.h"

#include "connection/messaging.h"
#include "lock/lock_model.h"
#include "lock/lock_scene.h"
#include "ui/model_window.h"

namespace zorva {
namespace {

void HandOverToWest(TLockModel& model, TShip& ship) {
    model.SendShip(ship);
}

constexpr TLockSide East{"ShipR", EastSide, WestSide, "brimwest", HandOverToWest};

}  // namespace

void AnswerQuestion(TMsgString& /*Question*/, const std::string& Asker) {
    SendAnswer(Asker, "Yes");
}

void InitBrimEast() {
    TLockModel& model = InstallLockModel(East);
    SetTrace(true);
    SetServerAddress("LocalHost");
    // A ship handed over arrives at the other lock this much later.
    SetLookahead(SailingTimeToOtherLock);
    SetMessageHandler([&model](const std::string& Message) { model.ReceiveShip(Message); });
    SetQuestionHandler(AnswerQuestion);
    ShowLockInScene(AnimationScene(), model);
}

}  // namespace zorva
