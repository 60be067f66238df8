#pragma once

// How the animation window's view is set up when it is made. Frames drawn in
// batch mode start from the same set-up, so that a picture shows what the
// window would.

#include <cstdint>
#include <numbers>

#include "animation/camera_keys.h"
#include "animation/gmp_renderer.h"

namespace zorva {

// The view's size in the window's layout, and the size of batch frames.
inline constexpr std::int32_t kDesignViewWidth = 803;
inline constexpr std::int32_t kDesignViewHeight = 480;

inline constexpr TVector3 kDefaultCameraPosition{0.0f, 1.0f, 10.0f};
// From the right, in front, barely above the ground.
inline constexpr TVector3 kViewLightFrom{100.0f, 2.0f, 100.0f};
inline constexpr float kViewLightStrength = 0.75f;
inline constexpr float kDegreesPerRadian = 180.0f / std::numbers::pi_v<float>;

// The light and the camera position of a new window. The eye, which only the
// visibility test uses, stays where the renderer put it until the camera is
// first set.
inline void SetUpView(TGMPRenderer& renderer) {
    renderer.LightStrength = kViewLightStrength;
    renderer.SetLight(kViewLightFrom, {0.0f, 0.0f, 0.0f});
    renderer.CameraPosition = kDefaultCameraPosition;
}

// The camera at a pose, as the window's camera setters put it: the eye goes
// with the camera, the angles are turned into radians.
inline void AimCamera(TGMPRenderer& renderer, const TCameraPose& pose) {
    renderer.CameraPosition = pose.Position;
    renderer.EyePosition = pose.Position;
    for (int i = 0; i < 3; ++i) renderer.CameraAngles[i] = pose.AnglesDegrees[i] / kDegreesPerRadian;
    renderer.UpdateCameraAngles();
}

}  // namespace zorva
