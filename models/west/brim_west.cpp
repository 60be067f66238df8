#include "west/brim_west.h"

#include <string>
#include <string_view>

#include "connection/messaging.h"
#include "lock/lock_model.h"
#include "lock/lock_scene.h"
#include "ui/model_window.h"

namespace zorva {
namespace {

constexpr const char* ReceiveQuestion = "Can you receive a ship?";
constexpr std::string_view Acceptance = "Yes";

// Any other answer loses the ship: it is not retried or kept, but the run
// reports it. An empty answer is the server's when the east lock is not
// there, or the connection's when it closed during the wait.
void HandOverToEast(TLockModel& model, TShip& ship) {
    std::string answer = ReceiveQuestion;
    AskModel(model.Side().OtherModel, answer);
    if (answer.starts_with(Acceptance))
        model.SendShip(ship);
    else
        model.ShipUndelivered(ship.Name, answer.empty() ? "no answer" : "the answer was \"" + answer + "\"");
}

constexpr TLockSide West{"ShipL", WestSide, EastSide, "brimeast", HandOverToEast};

}  // namespace

void InitBrimWest() {
    TLockModel& model = InstallLockModel(West);
    SetTrace(true);
    SetServerAddress("LocalHost");
    // A ship handed over arrives at the other lock this much later.
    SetLookahead(SailingTimeToOtherLock);
    SetMessageHandler([&model](const std::string& Message) { model.ReceiveShip(Message); });
    ShowLockInScene(AnimationScene(), model);
}

}  // namespace zorva
