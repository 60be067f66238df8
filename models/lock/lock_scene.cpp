#include "lock/lock_scene.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "animation/hold_progress.h"
#include "animation/mesh_builder.h"
#include "kernel/kernel_setup.h"
#include "lock/lock_layout.h"

namespace zorva {

using namespace lock_layout;

namespace {

constexpr TRenderMode kMode = TRenderMode::rmSolidShade;
// Long surfaces are built of pieces, so that a camera standing among them
// loses only the pieces next to it (faces reaching behind it are dropped).
constexpr float kPieceLength = 2.6f;

float Lerp(float a, float b, double p) {
    return a + (b - a) * static_cast<float>(p);
}

TVector3 Lerp(TVector3 a, TVector3 b, double p) {
    return {Lerp(a.X, b.X, p), Lerp(a.Y, b.Y, p), Lerp(a.Z, b.Z, p)};
}

// A box from corner `low` to corner `high`, in pieces along x, into as many
// meshes as it takes.
void AddSlab(std::vector<TMesh>& meshes, TVector3 low, TVector3 high) {
    const int pieces = std::max(1, static_cast<int>((high.X - low.X) / kPieceLength + 0.5f));
    const float length = (high.X - low.X) / static_cast<float>(pieces);
    for (int i = 0; i < pieces; ++i) {
        const float x = low.X + length * (static_cast<float>(i) + 0.5f);
        const TVector3 centre{x, (low.Y + high.Y) / 2, (low.Z + high.Z) / 2};
        const TVector3 size{length, high.Y - low.Y, high.Z - low.Z};
        if (meshes.empty() || !AddBox(meshes.back(), centre, size)) AddBox(meshes.emplace_back(), centre, size);
    }
}

TMesh Box(TVector3 size) {
    TMesh mesh;
    AddBox(mesh, {0.0f, 0.0f, 0.0f}, size);
    return mesh;
}

// Where the chamber's gates and water stand at one moment.
struct TChamberState {
    std::array<double, 2> GateClosed{};  // per side, 0 open .. 1 closed
    float Level = LowLevel;
};

// The changeover is the keeper's only hold: it closes the open gate, moves
// the water to the other reach's level and opens the other gate.
TChamberState ChamberAt(TLockModel& model, double time) {
    const TLock& lock = model.Lock();
    const std::uint8_t from = lock.LockSide;
    const std::uint8_t to = 1 - from;
    const float fromLevel = WaterLevel(model.Side(), from);
    TChamberState state;
    state.GateClosed[to] = 1.0;
    state.Level = fromLevel;
    if (!InHold(model.Keeper())) return state;
    const double p = HoldProgress(model.Keeper(), ChangeoverTime, time);
    state.GateClosed[from] = std::min(1.0, p / GateShare);
    state.GateClosed[to] = std::min(1.0, (1.0 - p) / GateShare);
    const double water = std::clamp((p - GateShare) / (1.0 - 2 * GateShare), 0.0, 1.0);
    state.Level = Lerp(fromLevel, WaterLevel(model.Side(), to), water);
    return state;
}

class TLockScene {
public:
    TLockScene(TAnimationScene& scene, TLockModel& model) : scene_(scene), model_(model) { Build(); }

    void Update(double time);

private:
    void Build();
    void PlaceShip(std::uint8_t side, TVector3 position, std::array<std::size_t, 2>& used);

    TAnimationScene& scene_;
    TLockModel& model_;
    std::array<TGroupMember*, 2> gates_{};
    std::array<TGroupMember*, 2> signals_{};
    TGroupMember* chamberWater_ = nullptr;
    // Ships are drawn by shapes of their direction, taken in turn each frame.
    std::array<std::vector<TAnimationGroup*>, 2> ships_;
};

void TLockScene::Build() {
    const TLockSide& side = model_.Side();
    TAnimationGroup& ground = scene_.AddGroup(World({0.0f, 0.0f, 0.0f}));
    std::vector<TMesh> banks;
    std::vector<TMesh> water;
    for (const std::uint8_t reach : {WestSide, EastSide}) {
        const float level = WaterLevel(side, reach);
        const float x0 = SideSign(reach) * (GateX + GateThickness / 2);
        const float x1 = SideSign(reach) * ReachEnd;
        const float low = std::min(x0, x1);
        const float high = std::max(x0, x1);
        AddSlab(banks, {low, FootLevel, CanalHalfWidth}, {high, level + Freeboard, CanalHalfWidth + BankWidth});
        AddSlab(banks, {low, FootLevel, -CanalHalfWidth - FarBankWidth}, {high, level + Freeboard, -CanalHalfWidth});
        AddSlab(water, {low, FootLevel, -CanalHalfWidth}, {high, level, CanalHalfWidth});
    }
    std::vector<TMesh> walls;
    for (const float z : {CanalHalfWidth, -CanalHalfWidth - WallWidth}) {
        AddSlab(walls, {-GateX - GateThickness / 2, FootLevel, z},
                {GateX + GateThickness / 2, HighLevel + Freeboard, z + WallWidth});
    }
    // The ground beside the chamber's walls, at the high reach's height.
    const float lockLeft = -GateX - GateThickness / 2;
    const float lockRight = GateX + GateThickness / 2;
    AddSlab(banks, {lockLeft, FootLevel, CanalHalfWidth + WallWidth},
            {lockRight, HighLevel + Freeboard, CanalHalfWidth + BankWidth});
    AddSlab(banks, {lockLeft, FootLevel, -CanalHalfWidth - FarBankWidth},
            {lockRight, HighLevel + Freeboard, -CanalHalfWidth - WallWidth});
    for (const auto& [meshes, colour] : {std::pair{&banks, BankColor}, {&water, WaterColor}, {&walls, WallColor}}) {
        for (const TMesh& mesh : *meshes) ground.AddShape(mesh, colour, kMode);
    }

    // The chamber's water is a column whose top is the high level; it sinks
    // as the water falls, its foot under the bed.
    TAnimationGroup& chamber = scene_.AddGroup(World({0.0f, 0.0f, 0.0f}));
    const float drop = HighLevel - LowLevel;
    TMesh column;
    AddBox(column, {0.0f, (BedLevel - drop + HighLevel) / 2, 0.0f},
           {2 * ChamberInnerX, HighLevel - BedLevel + drop, 2 * CanalHalfWidth});
    chamberWater_ = &chamber.AddMember({0.0f, 0.0f, 0.0f});
    chamberWater_->AddShape(column, WaterColor, kMode);
    for (const std::uint8_t gate : {WestSide, EastSide}) {
        // Each gate sinks into the bed to open.
        TMesh leaf;
        AddBox(leaf, {0.0f, (BedLevel + GateTop) / 2, 0.0f}, {GateThickness, GateTop - BedLevel, 2 * CanalHalfWidth});
        gates_[gate] = &chamber.AddMember({SideSign(gate) * GateX, 0.0f, 0.0f});
        gates_[gate]->AddShape(leaf, GateColor, kMode);
        signals_[gate] = &chamber.AddMember(
            {SideSign(gate) * (ChamberInnerX - 0.4f), HighLevel + Freeboard + 0.15f, -CanalHalfWidth - WallWidth / 2});
        signals_[gate]->AddShape(Box({0.3f, 0.3f, 0.3f}), StopSignal, kMode);
    }
}

void TLockScene::PlaceShip(std::uint8_t side, TVector3 position, std::array<std::size_t, 2>& used) {
    std::vector<TAnimationGroup*>& pool = ships_[side];
    if (used[side] == pool.size()) {
        TAnimationGroup& group = scene_.AddGroup(position);
        group.AddShape(Box(HullSize), ShipColor(side), kMode);
        // The cabin stands aft: ships arriving in the west sail east.
        const float aft = -SideSign(1 - side) * 0.3f;
        group.AddMember({aft, (HullSize.Y + CabinSize.Y) / 2, 0.0f}).AddShape(Box(CabinSize), CabinColor, kMode);
        pool.push_back(&group);
    }
    TAnimationGroup& ship = *pool[used[side]++];
    ship.SetPosition(position);
    ship.SetVisible(true);
}

void TLockScene::Update(double time) {
    TLock& lock = model_.Lock();
    const TLockSide& sides = model_.Side();
    const TChamberState chamber = ChamberAt(model_, time);
    for (const std::uint8_t gate : {WestSide, EastSide}) {
        const double closed = chamber.GateClosed[gate];
        gates_[gate]->SetOffset(
            {SideSign(gate) * GateX, -static_cast<float>(1.0 - closed) * (GateTop - BedLevel + 0.1f), 0.0f});
        gates_[gate]->SetVisible(closed > 0.0);
        signals_[gate]->SetColor(closed > 0.0 ? StopSignal : GoSignal);
    }
    chamberWater_->SetOffset({0.0f, chamber.Level - HighLevel, 0.0f});

    // Ships in no queue of the lock are on their way: arriving, sailing in
    // or sailing out. Sailing in happens while the chamber is open to the
    // ship's side, sailing out while it is open to the other side.
    struct TMoving {
        TShip* Ship;
        bool In;
    };
    std::vector<TMoving> moving;
    std::vector<TShip*> arriving;
    for (ZorvaElement* e = Elements().FirstElement(); e != nullptr; e = e->Successor(Elements())) {
        auto* ship = dynamic_cast<TShip*>(e);
        // Made after the frame's time (by a text read at a later clock).
        if (ship == nullptr || ship->ArrivalTime > time) continue;
        if (ship->IsInQueue(lock.Arrivals(ship->Side)) || ship->IsInQueue(lock.LockQueue)) continue;
        if (ship->ResumePoint == ResumePointKind::ProcessEntry) {
            arriving.push_back(ship);
        } else if (InHold(*ship)) {
            moving.push_back({ship, ship->Side == lock.LockSide});
        }
    }

    // While the chamber fills, the ships of the open side that are already
    // in it or sailing in keep their places in the waiting area: the ships
    // still waiting there do not move up.
    std::array<int, 2> gone{};
    const bool filling = !InHold(model_.Keeper());
    if (filling) {
        for (ZorvaElement* e = lock.LockQueue.FirstElement(); e != nullptr; e = e->Successor(lock.LockQueue)) {
            if (static_cast<TShip*>(e)->Side == lock.LockSide) ++gone[lock.LockSide];
        }
        for (const TMoving& m : moving) {
            if (m.In) ++gone[m.Ship->Side];
        }
    }

    std::array<std::size_t, 2> used{};
    for (const std::uint8_t side : {WestSide, EastSide}) {
        ZorvaQueue& waiting = lock.Arrivals(side);
        const float level = WaterLevel(sides, side);
        int place = lock.LockSide == side ? gone[side] : 0;
        for (ZorvaElement* e = waiting.FirstElement(); e != nullptr; e = e->Successor(waiting)) {
            PlaceShip(side, BerthPlace(side, place++, level), used);
        }
    }
    for (TShip* ship : arriving) {
        const std::uint8_t side = ship->Side;
        const float level = WaterLevel(sides, side);
        const int place = lock.Arrivals(side).Length + (lock.LockSide == side ? gone[side] : 0);
        const TVector3 berth = BerthPlace(side, place, level);
        if (side != sides.ReceivedShipSide) {
            PlaceShip(side, berth, used);  // born here, and waiting at once
            continue;
        }
        const double p = HoldProgress(*ship, ApproachTime, time);
        if (p > 0.0) PlaceShip(side, Lerp(ReachEndPlace(side, level), berth, p), used);
    }

    // In the chamber the ships lie in the order they came in; when one sails
    // out, those behind it follow it up.
    double advance = 0.0;
    for (const TMoving& m : moving) {
        if (!m.In) advance = 1.0 - HoldProgress(*m.Ship, SailOutTime, time);
    }
    double place = advance;
    for (ZorvaElement* e = lock.LockQueue.FirstElement(); e != nullptr; e = e->Successor(lock.LockQueue)) {
        const std::uint8_t side = static_cast<TShip*>(e)->Side;
        PlaceShip(side, ChamberPlace(side, place, chamber.Level), used);
        place += 1.0;
    }
    for (const TMoving& m : moving) {
        const std::uint8_t side = m.Ship->Side;
        if (m.In) {
            // From its waiting place to the chamber's next place, both the
            // count of ships of this filling already in.
            const double p = HoldProgress(*m.Ship, SailInTime, time);
            const double next = lock.LockQueue.Length;
            const float level = WaterLevel(sides, side);
            PlaceShip(side, Lerp(BerthPlace(side, next, level), ChamberPlace(side, next, level), p), used);
        } else {
            // Out through the open gate and along the fairway out of the scene.
            const double p = HoldProgress(*m.Ship, SailOutTime, time);
            const std::uint8_t exit = 1 - side;
            const float level = WaterLevel(sides, exit);
            if (p < 1.0) PlaceShip(side, Lerp(ChamberPlace(side, 0.0, level), ReachEndPlace(exit, level), p), used);
        }
    }
    for (const std::uint8_t side : {WestSide, EastSide}) {
        for (std::size_t i = used[side]; i < ships_[side].size(); ++i) ships_[side][i]->SetVisible(false);
    }
}

}  // namespace

std::uint8_t HighSide(const TLockSide& side) {
    return side.ReceivedShipSide;
}

float WaterLevel(const TLockSide& side, std::uint8_t reach) {
    return reach == HighSide(side) ? HighLevel : LowLevel;
}

void ShowLockInScene(TAnimationScene& scene, TLockModel& model) {
    auto lock = std::make_shared<TLockScene>(scene, model);
    scene.SetUpdater([lock](double time) { lock->Update(time); });
}

}  // namespace zorva
