#include "lock/lock_model.h"

#include "connection/messaging.h"
#include "engine/engine.h"
#include "kernel/run_figures.h"
#include "wire/number_text.h"
#include "wire/protocol.h"

#include <memory>

namespace zorva {
namespace {

std::unique_ptr<TLockModel>& Installed() {
    static std::unique_ptr<TLockModel> model;
    return model;
}

}  // namespace

TLockModel& InstallLockModel(const TLockSide& side) {
    Installed() = std::make_unique<TLockModel>(side);
    return *Installed();
}

TLockModel& InstalledLockModel() {
    return *Installed();
}

TLockModel::TLockModel(const TLockSide& side)
    : side_(side), generator_(new TGenerator("Generator", *this)), keeper_(nullptr) {
    generator_->Start(SimTime());
    keeper_ = new TLockKeeper("LockKeeper", lock_);
    keeper_->Start(SimTime());
    for (const char* figure : {HandOversSent, HandOversReceived, HandOversUndelivered}) DeclareFigure(figure);
}

std::string TLockModel::HandOverText(const TShip& ship) const {
    return JoinFields({ship.Name, FormatFixed(ship.Attribute), FormatFixed(SimTime() + SailingTimeToOtherLock)});
}

void TLockModel::SendShip(TShip& ship) {
    SendToModel(side_.OtherModel, HandOverText(ship));
    CountFigure(HandOversSent);
    lastShipSent_ = ship.Name;
}

void TLockModel::ShipUndelivered(const std::string& ship, const std::string& reason) {
    ReportProblem(HandOversUndelivered, ship, "not handed over to " + std::string(side_.OtherModel) + ": " + reason);
}

void TLockModel::HandOverRefused(const std::string& reason) {
    if (!lastShipSent_) return;
    ShipUndelivered(*lastShipSent_, "the server says \"" + reason + "\"");
    lastShipSent_.reset();
}

}  // namespace zorva
