#pragma once

/// \file
/// The software renderer behind the three-dimensional view: it draws one mesh
/// at a time into a 16-bit off-screen surface and hands each finished frame
/// on. It knows nothing of windows; a view widget forwards its size, installs
/// the hooks below and shows what OnFlip receives.

#include <array>
#include <cstdint>
#include <functional>

#include "animation/camera.h"
#include "animation/dib16.h"
#include "animation/mesh.h"
#include "animation/rasterizer.h"
#include "animation/shading.h"

namespace zorva {

/// A wire-frame edge for the owner's 2D canvas, y counting down from the top.
struct TCanvasLine {
    std::int32_t X1 = 0;
    std::int32_t Y1 = 0;
    std::int32_t X2 = 0;
    std::int32_t Y2 = 0;
    TColor Color = 0;
};

class TGMPRenderer {
public:
    static constexpr std::int32_t kMaxViewHeight = 768;
    static constexpr std::int32_t kInitialSize = 200;

    TGMPRenderer();

    /// Settings the owner reads and writes directly.
    float LightStrength = 0.75f;
    TRenderMode RenderMode = TRenderMode::rmWireframe;
    bool DirectDraw = false;
    TVector3 EyePosition;
    TVector3 CameraPosition;
    std::array<float, 3> CameraAngles{0.0f, 0.0f, 0.0f};  // radians about x, y, z
    TTexture Texture{};

    /// Called by BeginFrame with the render surface, before any mesh is drawn.
    std::function<void(TDIB16bit& surface)> BeforeFlip;
    /// Receives every finished frame.
    std::function<void(const TDIB16bit& surface)> OnFlip;
    /// Draws the background picture, stretched, onto the background surface.
    std::function<void(TDIB16bit& background)> DrawBackgroundPicture;
    /// Draws a wire-frame edge as a 2D line when DirectDraw is set.
    std::function<void(TDIB16bit& surface, const TCanvasLine& line)> DrawCanvasLine;

    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor colour);
    bool EnableBackgroundBitmap() const { return enableBackground_; }
    void SetEnableBackgroundBitmap(bool enable);

    /// Takes a new view size, keeping the height at or below 768 (the width is
    /// not limited), recreates both surfaces and repaints. Returns the height
    /// actually used, which the owning window adopts.
    std::int32_t Resize(std::int32_t width, std::int32_t height);
    /// Background colour and picture only, then Flip; meshes wait for the next frame.
    void Paint();

    void SetLight(TVector3 from, TVector3 towards);
    void UpdateCameraAngles();
    void PrepareMesh(TMesh& mesh);
    void SetMeshColor(TMesh& mesh, TColor colour) const;
    void BeginFrame();
    void RenderMesh(TMesh& mesh, bool prepared);
    void Flip();

    /// The steps of preparing and drawing a mesh.
    void TranslateMesh(TMesh& mesh) const;
    void TransformMesh(TMesh& mesh);
    void ShadeFaces(TMesh& mesh) const;
    static void DepthSort(TMesh& mesh);
    void CopyBackground();
    void DrawLine3D(TVector3 p1, TVector3 p2);
    void TexturedEdge(TVector3 a, TVector3 b, TTexCoord ta, TTexCoord tb);
    TScreenPoint Project(TVector3 p) const;

    TDIB16bit& Surface() { return surface_; }
    TDIB16bit& BackgroundSurface() { return background_; }
    const TRowRasterizer& Rows() const { return rows_; }
    const TShadeTable& ShadeTable() const { return shadeTable_; }
    std::int32_t ViewWidth() const { return viewWidth_; }
    std::int32_t ViewHeight() const { return viewHeight_; }
    std::int32_t CenterX() const { return centerX_; }
    std::int32_t CenterY() const { return centerY_; }
    std::int32_t FocalLength() const { return focalLength_; }
    std::int32_t Ambient() const { return ambient_; }
    TVector3 LightDirection() const { return lightDirection_; }
    TVector3 LightView() const { return lightView_; }
    const TCameraRotation& CameraRotation() const { return rotation_; }

private:
    void CreateSurfaces(std::int32_t width, std::int32_t height);
    void DrawFaceEdges(const TFace& face);
    void DrawTexturedFace(const TFace& face);
    void FillFace();

    TDIB16bit surface_;
    TDIB16bit background_;
    TRowRasterizer rows_;
    TShadeTable shadeTable_;
    TCameraRotation rotation_;
    TColor backColor_ = 0;
    bool enableBackground_ = false;
    std::uint16_t currentColor16_ = 0;
    std::uint8_t currentShade_ = 0;
    TColor penColor_ = 0;
    std::int32_t viewWidth_ = 0;
    std::int32_t viewHeight_ = 0;
    std::int32_t centerX_ = 0;
    std::int32_t centerY_ = 0;
    std::int32_t focalLength_ = 770;
    std::int32_t ambient_ = 4;
    TVector3 lightDirection_;
    TVector3 lightView_;
};

}  // namespace zorva
