#pragma once

/// \file
/// Vector maths of the renderer: rotations about the coordinate axes and the
/// change from world to camera space. All of it in single precision.

#include <array>

#include "animation/mesh.h"

namespace zorva {

/// Rotates v about each axis whose selector (ax, ay, az) is not zero, in the
/// order x, y, z, every time with the same sine and cosine.
TVector3 Rotate(TVector3 v, float ax, float ay, float az, float s, float c);

/// Sine and cosine of the negated camera angles: turning the world by minus
/// the camera's angles puts the camera at rest, looking along -z.
struct TCameraRotation {
    std::array<float, 3> SinAngles{0.0f, 0.0f, 0.0f};
    std::array<float, 3> CosAngles{1.0f, 1.0f, 1.0f};

    void Update(const std::array<float, 3>& camera_angles);
    /// A world direction (or a point already relative to the camera) in camera space.
    TVector3 ToCamera(TVector3 v) const;
};

TVector3 Subtract(TVector3 a, TVector3 b);
float Dot(TVector3 a, TVector3 b);
TVector3 Cross(TVector3 a, TVector3 b);
/// Length of v, or 1.0e-7 for the null vector so that dividing by it is safe.
float SafeLength(TVector3 v);

}  // namespace zorva
