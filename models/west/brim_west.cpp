#include "west/brim_west.h"

#include <string>
#include <string_view>

#include "common/lock_model.h"
#include "connection/messaging.h"
#include "ui/model_window.h"

namespace zorva {
namespace {

constexpr const char* EastModel = "brimeast";
constexpr const char* ReceiveQuestion = "Can you receive a ship?";
constexpr std::string_view Acceptance = "Yes";

// Any other answer loses the ship: it is not retried or kept, but the run
// reports it. An empty answer is the server's when the east lock is not
// there, or the connection's when it closed during the wait.
void HandOverToEast(TShip& ship) {
    std::string answer = ReceiveQuestion;
    AskModel(EastModel, answer);
    if (answer.starts_with(Acceptance))
        SendShip(ship, EastModel);
    else
        ShipUndelivered(ship.Name, EastModel, answer.empty() ? "no answer" : "the answer was \"" + answer + "\"");
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
