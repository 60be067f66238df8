#include <string>

#include "connection/messaging.h"
#include "engine/element_status.h"
#include "kernel/msg_string.h"
#include "kernel/run_figures.h"
#include "kernel/trace.h"
#include "lock/lock_model.h"

namespace zorva {
namespace {

// A ship the model cannot build is dropped, but never silently: the trace
// says which text was refused and why.
void Reject(const std::string& message, const std::string& reason) {
    TraceText(TimeString() + " ReceiveShip rejects \"" + message + "\": " + reason);
}

}  // namespace

void TLockModel::ReceiveShip(const std::string& Message) {
    if (const auto reason = RefusalReason(Message)) {
        HandOverRefused(*reason);
        return;
    }
    // The sender is not looked at: every text is taken as an arriving ship.
    const auto incoming = IncomingText(Message);
    if (!incoming) return;
    TMsgString payload(incoming->Text);
    const std::string name = payload.GetString();
    const double attribute = payload.GetDouble();
    const bool attributeRead = !payload.ReadError();
    const double arrival = payload.GetDouble();
    const bool arrivalRead = !payload.ReadError();
    if (name.empty() || !attributeRead || !arrivalRead) {
        Reject(Message, "not a ship's name, attribute and arrival time");
        return;
    }
    // Such a start would lie beyond every event and never come.
    if (arrival >= NeverTime) {
        Reject(Message, "arrival time out of range");
        return;
    }
    auto* ship = new TShip(name, attribute, side_.ReceivedShipSide, *this);
    ship->Start(arrival);
    CountFigure(HandOversReceived);
}

}  // namespace zorva
