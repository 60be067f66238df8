#include "animation/gmp_renderer.h"

#include <utility>

#include "animation/screen_round.h"

namespace zorva {

namespace {

// A vertex nearer than this to the camera plane drops the whole face in the
// solid and texture modes.
constexpr float kNearestFaceDepth = -1.0f;
constexpr float kBrightestLevel = 31.0f;

TVector3 Add(TVector3 a, TVector3 b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}

bool TouchesCameraPlane(const TFace& face) {
    for (std::int32_t i = 0; i < CornerCount(face); ++i) {
        if (Corner(face, i).Z > kNearestFaceDepth) return true;
    }
    return false;
}

}  // namespace

void TGMPRenderer::SetLight(TVector3 from, TVector3 towards) {
    // The light arrives from `from`; store the unit vector pointing back to it.
    const TVector3 d = Subtract(from, towards);
    const float length = SafeLength(d);
    lightDirection_ = {d.X / length, d.Y / length, d.Z / length};
}

void TGMPRenderer::UpdateCameraAngles() {
    rotation_.Update(CameraAngles);
}

void TGMPRenderer::SetMeshColor(TMesh& mesh, TColor colour) const {
    mesh.Color = colour;
    mesh.Color16 = ColorTo16(colour);
}

void TGMPRenderer::PrepareMesh(TMesh& mesh) {
    TranslateMesh(mesh);
    TransformMesh(mesh);
    if (RenderMode != TRenderMode::rmWireframe) ShadeFaces(mesh);
}

void TGMPRenderer::TranslateMesh(TMesh& mesh) const {
    for (std::int32_t i = 0; i < UsedFaceCount(mesh); ++i) {
        const TFace& model = mesh.ModelFaces[i];
        TFace& world = mesh.WorldFaces[i];
        for (std::int32_t c = 0; c < CornerCount(model); ++c) {
            Corner(world, c) = Add(Corner(model, c), mesh.Position);
        }
        world.VertexCount = model.VertexCount;
        world.Color = model.Color;
        world.Color16 = model.Color16;
    }
}

void TGMPRenderer::TransformMesh(TMesh& mesh) {
    for (std::int32_t i = 0; i < UsedFaceCount(mesh); ++i) {
        const TFace& world = mesh.WorldFaces[i];
        TFace& view = mesh.ViewFaces[i];
        view.VertexCount = world.VertexCount;
        for (std::int32_t c = 0; c < CornerCount(world); ++c) {
            // Relative to the camera, then turned against the camera's rotation.
            Corner(view, c) = rotation_.ToCamera(Subtract(Corner(world, c), CameraPosition));
        }
        view.Color = world.Color;
        view.Color16 = world.Color16;
    }
    lightView_ = rotation_.ToCamera(lightDirection_);
}

void TGMPRenderer::ShadeFaces(TMesh& mesh) const {
    const bool keep_colour = RenderMode == TRenderMode::rmSolidTexture || RenderMode == TRenderMode::rmShadedTexture;
    for (std::int32_t i = 0; i < UsedFaceCount(mesh); ++i) {
        TFace& face = mesh.ViewFaces[i];
        face.Visible = 1;
        if (TouchesCameraPlane(face)) {
            face.Visible = 0;
            continue;
        }
        const TVector3 normal = Cross(Subtract(face.V1, face.V0), Subtract(face.V2, face.V0));
        // Seen exactly edge-on from the eye: nothing to show.
        if (Dot(normal, Subtract(EyePosition, face.V0)) == 0.0f) {
            face.Visible = 0;
            continue;
        }
        // Cosine between the face normal and the light, scaled to 31 levels and
        // the light's strength; faces turned away get the ambient level only.
        float level = 31.0f / SafeLength(normal) * Dot(normal, lightView_) * LightStrength;
        if (level < 0.0f) level = 0.0f;
        level = static_cast<float>(ambient_) + level;
        if (level > kBrightestLevel) level = kBrightestLevel;
        if (!keep_colour) {
            face.Color = LightenColor(mesh.Color, level);
            face.Color16 = ColorTo16(face.Color);
        }
        face.Shade = static_cast<std::uint8_t>(RoundEven(level));
    }
}

void TGMPRenderer::DepthSort(TMesh& mesh) {
    const std::int32_t faces = UsedFaceCount(mesh);
    for (std::int32_t i = 0; i < faces; ++i) {
        TFace& face = mesh.ViewFaces[i];
        // Mean camera-space depth of the corners.
        if (CornerCount(face) == 4) {
            face.SortDepth = (face.V0.Z + face.V1.Z + face.V2.Z + face.V3.Z) * 0.25f;
        } else {
            face.SortDepth = static_cast<float>((face.V0.Z + face.V1.Z + face.V2.Z) * 0.333);
        }
    }
    // A stable bubble sort, ascending: farthest first, equal depths keep their order.
    for (std::int32_t pass = 0; pass < faces; ++pass) {
        for (std::int32_t i = 0; i + 1 < faces; ++i) {
            if (mesh.ViewFaces[i].SortDepth > mesh.ViewFaces[i + 1].SortDepth) {
                std::swap(mesh.ViewFaces[i], mesh.ViewFaces[i + 1]);
            }
        }
    }
}

}  // namespace zorva
