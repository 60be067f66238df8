#pragma once

/// \file
/// The records the animation window hands to the renderer: faces, meshes and
/// the render modes. The caller owns every mesh; the renderer keeps none.

#include <algorithm>
#include <array>
#include <cstdint>

namespace zorva {

/// 24-bit RGB: red in the lowest byte, green in the second, blue in the third.
using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<TColor>(red) | static_cast<TColor>(green) << 8 | static_cast<TColor>(blue) << 16;
}

struct TVector3 {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

enum class TRenderMode : std::uint8_t {
    rmWireframe,
    rmSolid,
    rmSolidShade,
    rmSolidTexture,
    rmShadedTexture,
};

struct TFace {
    TVector3 V0;
    TVector3 V1;
    TVector3 V2;
    TVector3 V3;  // used only by quadrilaterals
    std::uint32_t VertexCount = 3;
    std::uint8_t Visible = 0;
    float SortDepth = 0.0f;
    TColor Color = 0;
    std::uint16_t Color16 = 0;
    std::uint8_t Shade = 0;
};

inline constexpr std::int32_t kMaxMeshFaces = 101;

struct TMesh {
    std::array<TFace, kMaxMeshFaces> ModelFaces{};
    std::array<TFace, kMaxMeshFaces> WorldFaces{};
    std::array<TFace, kMaxMeshFaces> ViewFaces{};
    std::int32_t FaceCount = 0;
    TColor Color = 0;
    std::uint16_t Color16 = 0;
    TVector3 Position;
};

/// A VertexCount of 4 makes a quadrilateral; any other value a triangle, so a
/// stray count never reads past V3.
constexpr std::int32_t CornerCount(const TFace& face) {
    return face.VertexCount == 4 ? 4 : 3;
}

constexpr const TVector3& Corner(const TFace& face, std::int32_t i) {
    switch (i) {
        case 0:
            return face.V0;
        case 1:
            return face.V1;
        case 2:
            return face.V2;
        default:
            return face.V3;
    }
}

constexpr TVector3& Corner(TFace& face, std::int32_t i) {
    return const_cast<TVector3&>(Corner(static_cast<const TFace&>(face), i));
}

/// FaceCount as far as the face arrays reach, so a bad count cannot overrun them.
constexpr std::int32_t UsedFaceCount(const TMesh& mesh) {
    return std::clamp(mesh.FaceCount, 0, kMaxMeshFaces);
}

}  // namespace zorva
