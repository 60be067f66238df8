#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "animation/gmp_renderer.h"

namespace zorva::testing {

inline constexpr TColor kBlue = RGBColor(0, 0, 255);  // 31 as a pixel
inline constexpr std::uint16_t kBlue16 = 31;

// One triangle at depth z, scaled so that on the default 200 x 200 view it
// always covers rows 100..177 with columns 100..277 - row. Facing the light
// it has the normal -z (the light comes from the right, in front); turned
// away, +z.
inline TFace ScreenTriangle(float z, bool facing_light) {
    const float side = -z / 10.0f;
    TFace face;
    face.V0 = {0.0f, 0.0f, z};
    face.V1 = {side, 0.0f, z};
    face.V2 = {0.0f, side, z};
    if (facing_light) std::swap(face.V1, face.V2);
    return face;
}

inline bool InScreenTriangle(int x, int y) {
    return y >= 100 && y <= 177 && x >= 100 && x <= 277 - y;
}

inline std::unique_ptr<TMesh> MeshOf(std::initializer_list<TFace> faces, TColor colour = 0) {
    auto mesh = std::make_unique<TMesh>();
    for (const TFace& face : faces) mesh->ModelFaces[mesh->FaceCount++] = face;
    mesh->Color = colour;
    mesh->Color16 = ColorTo16(colour);
    return mesh;
}

// Every pixel of the surface compared with expected(x, y); reports the first
// difference and the number of differences.
inline ::testing::AssertionResult SurfaceMatches(const TDIB16bit& surface,
                                                 const std::function<std::uint16_t(int, int)>& expected) {
    int wrong = 0;
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const std::uint16_t want = expected(x, y);
            if (surface.GetPixel(x, y) != want && wrong++ == 0) {
                result << "pixel (" << x << ", " << y << ") is " << surface.GetPixel(x, y) << ", expected " << want;
            }
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return result << "; " << wrong << " pixels differ";
}

}  // namespace zorva::testing
