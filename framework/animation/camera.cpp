#include "animation/camera.h"

#include <cmath>

namespace zorva {

TVector3 Rotate(TVector3 v, float ax, float ay, float az, float s, float c) {
    if (ax != 0.0f) {
        // About x: the y-z plane turns.
        const float y = v.Y * c - v.Z * s;
        v.Z = v.Y * s + v.Z * c;
        v.Y = y;
    }
    if (ay != 0.0f) {
        // About y: the z-x plane turns.
        const float z = v.Z * c - v.X * s;
        v.X = v.Z * s + v.X * c;
        v.Z = z;
    }
    if (az != 0.0f) {
        // About z: the x-y plane turns.
        const float x = v.X * c - v.Y * s;
        v.Y = v.X * s + v.Y * c;
        v.X = x;
    }
    return v;
}

void TCameraRotation::Update(const std::array<float, 3>& camera_angles) {
    for (std::size_t i = 0; i < camera_angles.size(); ++i) {
        SinAngles[i] = std::sin(-camera_angles[i]);
        CosAngles[i] = std::cos(-camera_angles[i]);
    }
}

TVector3 TCameraRotation::ToCamera(TVector3 v) const {
    v = Rotate(v, 1.0f, 0.0f, 0.0f, SinAngles[0], CosAngles[0]);
    v = Rotate(v, 0.0f, 1.0f, 0.0f, SinAngles[1], CosAngles[1]);
    return Rotate(v, 0.0f, 0.0f, 1.0f, SinAngles[2], CosAngles[2]);
}

TVector3 Subtract(TVector3 a, TVector3 b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

float Dot(TVector3 a, TVector3 b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

TVector3 Cross(TVector3 a, TVector3 b) {
    // Perpendicular to both, its length the area of the parallelogram they span.
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

float SafeLength(TVector3 v) {
    const float length = std::sqrt(Dot(v, v));
    return length == 0.0f ? 1.0e-7f : length;
}

}  // namespace zorva
