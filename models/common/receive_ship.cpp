#include <string>
#include <string_view>

#include "common/lock_model.h"
#include "engine/element_status.h"
#include "kernel/msg_string.h"
#include "kernel/run_figures.h"
#include "kernel/trace.h"

namespace zorva {
namespace {

// What the server puts before the sending model's text ends with the first
// "!!" of the message.
constexpr std::string_view SenderSeparator = "!!";
constexpr std::string_view Refusal = "$$unknown:";

// A ship the model cannot build is dropped, but never silently: the trace
// says which text was refused and why.
void Reject(const std::string& message, const std::string& reason) {
    TraceText(TimeString() + " ReceiveShip rejects \"" + message + "\": " + reason);
}

}  // namespace

void ReceiveShip(const std::string& Message) {
    if (Message.starts_with(Refusal)) {
        HandOverRefused(Message.substr(Refusal.size()));
        return;
    }
    if (Message.find("$$from:") == std::string::npos) return;
    const auto separator = Message.find(SenderSeparator);
    if (separator == std::string::npos) {
        Reject(Message, "no \"!!\" before a ship");
        return;
    }
    TMsgString payload(std::string_view(Message).substr(separator + SenderSeparator.size()));
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
    auto* ship = new TShip(name, attribute, TheLockModel->ReceivedShipSide);
    ship->Start(arrival);
    CountFigure(HandOversReceived);
}

}  // namespace zorva
