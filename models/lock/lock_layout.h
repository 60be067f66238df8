#pragma once
// Where the parts of a lock lie in the animation's scene and how they look.
// Lengths in model units, around the middle of the chamber at the low water
// level: x runs from west to east, y up, z across the canal towards the
// default camera. Both locks are laid out alike; only which reach is the
// high one differs.

#include <cstdint>

#include "animation/mesh.h"
#include "lock/lock.h"

namespace zorva::lock_layout {

// The scene's place in front of the default camera, which then sees the
// whole lock from one reach's end to the other's.
inline constexpr TVector3 Origin{0.0f, -6.0f, -21.0f};

inline constexpr float CanalHalfWidth = 1.4f;  // the chamber is as wide as the canal
inline constexpr float GateX = 4.0f;           // the gates' middles at -GateX and +GateX
inline constexpr float GateThickness = 0.3f;
inline constexpr float ChamberInnerX = GateX - GateThickness / 2;  // where the chamber's water ends
inline constexpr float ReachEnd = 14.5f;                           // the scene's west and east edges
inline constexpr float BankWidth = 2.0f;                           // on the near side
inline constexpr float FarBankWidth = 6.0f;                        // the land beyond the canal
inline constexpr float WallWidth = 1.0f;                           // of the chamber
inline constexpr float BedLevel = -0.8f;
inline constexpr float LowLevel = 0.0f;
inline constexpr float HighLevel = 0.9f;
inline constexpr float Freeboard = 0.15f;  // banks and walls above their water
inline constexpr float GateTop = HighLevel + Freeboard + 0.15f;
// What stands on the ground reaches down to here, below the chamber's water
// column even when that has sunk to the low level.
inline constexpr float FootLevel = BedLevel - (HighLevel - LowLevel) - 0.2f;

// Ships wait in a row along the far bank and sail past them in the fairway.
inline constexpr float BerthLane = -0.75f;
inline constexpr float FairwayLane = 0.6f;
inline constexpr float FirstBerthX = 5.2f;  // from the middle, the place nearest the gate
inline constexpr float BerthSpacing = 1.45f;
// In the chamber the first ship in lies this far from the gate it leaves by.
inline constexpr float FirstChamberPlace = 0.8f;
inline constexpr float ChamberSpacing = 1.4f;
inline constexpr int ChamberPlacesInRow = 5;

inline constexpr TVector3 HullSize{1.2f, 0.3f, 0.55f};
inline constexpr TVector3 CabinSize{0.35f, 0.25f, 0.3f};
inline constexpr float HullDraught = 0.05f;  // below the water line

// Of the changeover's time, the first share closes the open gate, the last
// opens the other one, and in between the water moves.
inline constexpr double GateShare = 0.2;
// Ships from the other lock come into view this long before they arrive.
inline constexpr double ApproachTime = 4.0;

inline constexpr TColor WaterColor = RGBColor(30, 90, 190);
inline constexpr TColor BankColor = RGBColor(80, 130, 60);
inline constexpr TColor WallColor = RGBColor(140, 140, 135);
inline constexpr TColor GateColor = RGBColor(100, 60, 30);
inline constexpr TColor CabinColor = RGBColor(235, 235, 235);
inline constexpr TColor StopSignal = RGBColor(230, 0, 0);
inline constexpr TColor GoSignal = RGBColor(0, 220, 0);
// Ships sailing east (born on the west side), and ships sailing west.
inline constexpr TColor EastboundColor = RGBColor(200, 40, 30);
inline constexpr TColor WestboundColor = RGBColor(220, 190, 20);

inline TColor ShipColor(std::uint8_t arrivalSide) {
    return arrivalSide == WestSide ? EastboundColor : WestboundColor;
}

// -1 on the west side, +1 on the east side.
inline float SideSign(std::uint8_t side) {
    return side == WestSide ? -1.0f : 1.0f;
}

// A point of the lock in the scene.
inline TVector3 World(TVector3 p) {
    return {p.X + Origin.X, p.Y + Origin.Y, p.Z + Origin.Z};
}

// The middle of a ship's hull floating at `level` at (x, z).
inline TVector3 ShipAt(float x, float z, float level) {
    return World({x, level + HullSize.Y / 2 - HullDraught, z});
}

// The waiting place `place` (0 next to the gate) on `side`.
inline TVector3 BerthPlace(std::uint8_t side, double place, float level) {
    return ShipAt(SideSign(side) * (FirstBerthX + BerthSpacing * static_cast<float>(place)), BerthLane, level);
}

// Place `place` in the chamber of a ship that arrived on `side`; place 0
// lies at the gate on the other side, through which the ship will leave.
inline TVector3 ChamberPlace(std::uint8_t side, double place, float level) {
    const int row = static_cast<int>(place) / ChamberPlacesInRow;
    const double along = place - row * ChamberPlacesInRow;
    const float z = row == 0 ? 0.0f : (row % 2 == 1 ? -0.65f : 0.65f);
    const float fromGate = FirstChamberPlace + ChamberSpacing * static_cast<float>(along);
    return ShipAt(-SideSign(side) * (ChamberInnerX - fromGate), z, level);
}

// Where ships enter and leave the scene on `side`.
inline TVector3 ReachEndPlace(std::uint8_t side, float level) {
    return ShipAt(SideSign(side) * (ReachEnd + HullSize.X), FairwayLane, level);
}

}  // namespace zorva::lock_layout
