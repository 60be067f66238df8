#pragma once

// How the arrow keys move and turn the camera of the animation window, one
// step at a time.

#include <array>

#include "animation/mesh.h"

namespace zorva {

enum class TCameraKey { Left, Up, Right, Down };

struct TCameraModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

struct TCameraPose {
    TVector3 Position;
    std::array<float, 3> AnglesDegrees{0.0f, 0.0f, 0.0f};  // about x, y, z
};

enum class TCameraChange { None, Position, Angles };

// Applies one step to the pose and says which half of it changed. Shift makes
// the step ten times larger. Ctrl lifts (Up) or lowers (Down) the camera;
// otherwise Alt turns it: Left and Right about the y axis, Up and Down about
// the x axis; with neither the camera moves in the ground plane, Up going
// forwards (towards -z). Ctrl wins over Alt.
TCameraChange StepCamera(TCameraPose& pose, TCameraKey key, TCameraModifiers modifiers, float step);

}  // namespace zorva
