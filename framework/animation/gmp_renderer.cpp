#include "animation/gmp_renderer.h"

#include <algorithm>
#include <cmath>

#include "animation/screen_round.h"

namespace zorva {

namespace {

// Nearer than this to the camera plane an edge's projection explodes.
constexpr float kNearestEdgeDepth = 0.01f;

bool IsTextureMode(TRenderMode mode) {
    return mode == TRenderMode::rmSolidTexture || mode == TRenderMode::rmShadedTexture;
}

// Where the corners of a face sit in the texture (row, column).
constexpr std::array<TTexCoord, 3> kTriangleCorners{{{63, 0}, {0, 127}, {127, 127}}};
constexpr std::array<TTexCoord, 4> kQuadCorners{{{127, 0}, {127, 127}, {0, 127}, {0, 0}}};

}  // namespace

TGMPRenderer::TGMPRenderer() {
    CreateSurfaces(kInitialSize, kInitialSize);
    UpdateCameraAngles();
    SetLight({100.0f, 0.0f, -100.0f}, {0.0f, 0.0f, 0.0f});
}

void TGMPRenderer::SetBackColor(TColor colour) {
    backColor_ = colour;
    Paint();
}

void TGMPRenderer::SetEnableBackgroundBitmap(bool enable) {
    enableBackground_ = enable;
    Paint();
}

void TGMPRenderer::CreateSurfaces(std::int32_t width, std::int32_t height) {
    viewWidth_ = width;
    viewHeight_ = height;
    centerX_ = width / 2;
    centerY_ = height / 2;
    surface_.Create(height, width);
    background_.Create(height, width);
    rows_.SetView(width, height);
}

std::int32_t TGMPRenderer::Resize(std::int32_t width, std::int32_t height) {
    // The row tables and the depth buffer end at row 767.
    CreateSurfaces(std::max(width, 0), std::clamp(height, 0, kMaxViewHeight));
    Paint();
    return viewHeight_;
}

void TGMPRenderer::Paint() {
    surface_.ClearPixels(ColorTo16(backColor_));
    if (DrawBackgroundPicture) DrawBackgroundPicture(background_);
    Flip();
}

void TGMPRenderer::BeginFrame() {
    surface_.ClearPixels(ColorTo16(backColor_));
    surface_.ClearDepth();
    if (enableBackground_) CopyBackground();
    if (BeforeFlip) BeforeFlip(surface_);
}

void TGMPRenderer::CopyBackground() {
    // Black pixels of the picture are transparent.
    const std::int32_t height = std::min(surface_.Height(), background_.Height());
    const std::int32_t width = std::min(surface_.Width(), background_.Width());
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint16_t pixel = background_.GetPixel(x, y);
            if (pixel != 0) surface_.SetPixel(x, y, pixel);
        }
    }
}

void TGMPRenderer::Flip() {
    if (OnFlip) OnFlip(surface_);
}

TScreenPoint TGMPRenderer::Project(TVector3 p) const {
    // Perspective: offsets from the view's centre shrink with the distance -z;
    // x grows to the right and y upwards, as the surface's rows do.
    const float column_offset = static_cast<float>(focalLength_) * p.X / p.Z;
    const float row_offset = static_cast<float>(focalLength_) * p.Y / p.Z;
    const std::int64_t column = static_cast<std::int64_t>(centerX_) - RoundEven(column_offset);
    return {static_cast<std::int32_t>(std::clamp<std::int64_t>(column, -kScreenLimit, kScreenLimit)),
            RoundEven(centerY_ - static_cast<double>(row_offset))};
}

void TGMPRenderer::DrawLine3D(TVector3 p1, TVector3 p2) {
    if (std::fabs(p1.Z) <= kNearestEdgeDepth || std::fabs(p2.Z) <= kNearestEdgeDepth) return;
    if (IsTextureMode(RenderMode)) return;
    if (RenderMode == TRenderMode::rmWireframe && DirectDraw) {
        if (!DrawCanvasLine) return;
        // The canvas counts y downwards; the offsets take their side from the
        // sign of x and y alone.
        const auto canvas_x = [this](TVector3 p) {
            const double offset = std::fabs(static_cast<float>(focalLength_) * p.X / p.Z);
            return RoundEven(p.X > 0.0f ? centerX_ + offset : centerX_ - offset);
        };
        const auto canvas_y = [this](TVector3 p) {
            const double offset = std::fabs(static_cast<float>(focalLength_) * p.Y / p.Z);
            return RoundEven(p.Y > 0.0f ? centerY_ - offset : centerY_ + offset);
        };
        DrawCanvasLine(surface_, {canvas_x(p1), canvas_y(p1), canvas_x(p2), canvas_y(p2), penColor_});
        return;
    }
    rows_.EdgeToRows(Project(p1), Project(p2), p1.Z, p2.Z, surface_, currentColor16_,
                     RenderMode == TRenderMode::rmWireframe);
}

void TGMPRenderer::TexturedEdge(TVector3 a, TVector3 b, TTexCoord ta, TTexCoord tb) {
    if (!IsTextureMode(RenderMode)) return;
    rows_.TexturedEdge(Project(a), Project(b), ta, tb);
}

void TGMPRenderer::DrawFaceEdges(const TFace& face) {
    const std::int32_t corners = CornerCount(face);
    for (std::int32_t i = 0; i < corners; ++i) {
        DrawLine3D(Corner(face, i), Corner(face, (i + 1) % corners));
    }
}

void TGMPRenderer::DrawTexturedFace(const TFace& face) {
    const std::int32_t corners = CornerCount(face);
    const TTexCoord* texture_corners = corners == 4 ? kQuadCorners.data() : kTriangleCorners.data();
    for (std::int32_t i = 0; i < corners; ++i) {
        const std::int32_t next = (i + 1) % corners;
        TexturedEdge(Corner(face, i), Corner(face, next), texture_corners[i], texture_corners[next]);
    }
}

void TGMPRenderer::FillFace() {
    rows_.FillRows(surface_, currentColor16_, RenderMode != TRenderMode::rmWireframe);
}

void TGMPRenderer::RenderMesh(TMesh& mesh, bool prepared) {
    const std::int32_t faces = UsedFaceCount(mesh);
    if (RenderMode == TRenderMode::rmWireframe) {
        if (!prepared) {
            TranslateMesh(mesh);
            TransformMesh(mesh);
        }
        penColor_ = mesh.Color;
        for (std::int32_t i = 0; i < faces; ++i) {
            if (!DirectDraw) {
                currentColor16_ = mesh.Color16;
                rows_.ResetRows();
            }
            DrawFaceEdges(mesh.ViewFaces[i]);
            if (!DirectDraw) FillFace();
        }
        return;
    }

    if (!prepared) {
        TranslateMesh(mesh);
        TransformMesh(mesh);
        ShadeFaces(mesh);
    }
    if (RenderMode == TRenderMode::rmSolid) {
        currentColor16_ = mesh.Color16;
    } else {
        // Farthest first: later faces cover earlier ones.
        DepthSort(mesh);
    }
    for (std::int32_t i = 0; i < faces; ++i) {
        const TFace& face = mesh.ViewFaces[i];
        if (face.Visible == 0) continue;
        if (RenderMode == TRenderMode::rmShadedTexture) currentShade_ = face.Shade;
        if (RenderMode == TRenderMode::rmSolidShade) currentColor16_ = face.Color16;
        rows_.ResetRows();
        if (IsTextureMode(RenderMode)) {
            DrawTexturedFace(face);
            const bool shaded = RenderMode == TRenderMode::rmShadedTexture;
            rows_.FillTexture(surface_, Texture, shaded ? &shadeTable_ : nullptr, currentShade_);
        } else {
            DrawFaceEdges(face);
            FillFace();
        }
    }
}

}  // namespace zorva
