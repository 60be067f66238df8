#include "common/lock_model.h"

#include <optional>

#include "connection/messaging.h"
#include "engine/engine.h"
#include "kernel/run_figures.h"
#include "wire/number_text.h"

namespace zorva {
namespace {

// The ship sent last and whom to, until the server refuses its text.
struct THandOver {
    std::string Ship;
    std::string Model;
};
std::optional<THandOver> LastHandOver;

}  // namespace

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
    LastHandOver.reset();
    for (const char* figure : {HandOversSent, HandOversReceived, HandOversUndelivered}) DeclareFigure(figure);
}

std::string HandOverText(const TShip& ship) {
    return ship.Name + "!!" + FormatFixed(ship.Attribute) + "!!" + FormatFixed(SimTime() + SailingTimeToOtherLock);
}

void SendShip(TShip& ship, const std::string& model) {
    SendToModel(model, HandOverText(ship));
    CountFigure(HandOversSent);
    LastHandOver = THandOver{ship.Name, model};
}

void ShipUndelivered(const std::string& ship, const std::string& model, const std::string& reason) {
    ReportProblem(HandOversUndelivered, ship, "not handed over to " + model + ": " + reason);
}

void HandOverRefused(const std::string& reason) {
    if (!LastHandOver) return;
    ShipUndelivered(LastHandOver->Ship, LastHandOver->Model, "the server says \"" + reason + "\"");
    LastHandOver.reset();
}

}  // namespace zorva
