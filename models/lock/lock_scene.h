#pragma once
// The lock in the animation window: the chamber between its walls with a
// gate at each end, the water in it, the reaches on both sides with a
// waiting area each, and the ships. Both locks show themselves with it.
//
// Nothing here runs as part of the simulation: before each frame the scene
// asks the model's elements and queues where things stand at the frame's
// time and places the shapes accordingly, interpolating between the states
// a hold separates (a ship sailing in, a gate closing, the water rising).

#include <cstdint>

#include "animation/animation_scene.h"
#include "lock/lock_model.h"

namespace zorva {

// The reach of the summit pound, between the two locks, is the high one: the
// side on which ships from the other lock arrive.
std::uint8_t HighSide(const TLockSide& side);
float WaterLevel(const TLockSide& side, std::uint8_t reach);

// Adds the lock's shapes to the scene and installs the updater that places
// them. The model must stay as long as the scene may draw it.
void ShowLockInScene(TAnimationScene& scene, TLockModel& model);

}  // namespace zorva
