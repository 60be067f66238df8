#include <gtest/gtest.h>

#include "animation/gmp_renderer.h"
#include "render_fixture.h"

namespace zorva {
namespace {

using testing::InScreenTriangle;
using testing::kBlue16;
using testing::MeshOf;
using testing::ScreenTriangle;
using testing::SurfaceMatches;

constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr std::uint16_t kRed16 = 31744;
constexpr TColor kGreen = RGBColor(0, 255, 0);

class RenderModes : public ::testing::Test {
protected:
    RenderModes() {
        gmp_.SetBackColor(testing::kBlue);
        gmp_.BeginFrame();
    }
    void Render(TRenderMode mode, TMesh& mesh) {
        gmp_.RenderMode = mode;
        gmp_.RenderMesh(mesh, false);
    }
    ::testing::AssertionResult ShowsTriangle(std::uint16_t inside) {
        return SurfaceMatches(gmp_.Surface(), [&](int x, int y) { return InScreenTriangle(x, y) ? inside : kBlue16; });
    }
    void FillTexture(std::uint16_t texel) { gmp_.Texture.fill(texel); }

    TGMPRenderer gmp_;
};

TEST_F(RenderModes, SolidFillsWithTheFlatMeshColour) {
    auto mesh = MeshOf({ScreenTriangle(-10, true)}, kRed);
    Render(TRenderMode::rmSolid, *mesh);
    EXPECT_TRUE(ShowsTriangle(kRed16));
}

TEST_F(RenderModes, SolidShadeLightensTowardsTheLight) {
    // Facing the light: level 4 + 31 * 0.7071 * 0.75 = 20.44; each black
    // channel becomes 255 * 0.032258 * 20.44 = 168.1 -> 168, i.e. 20 of 31.
    auto facing = MeshOf({ScreenTriangle(-10, true)}, RGBColor(0, 0, 0));
    Render(TRenderMode::rmSolidShade, *facing);
    EXPECT_EQ(facing->ViewFaces[0].Shade, 20);
    EXPECT_TRUE(ShowsTriangle(20 * 1024 + 20 * 32 + 20));

    // Turned away: ambient level 4 only; 32.9 -> 33, i.e. 4 of 31.
    auto away = MeshOf({ScreenTriangle(-10, false)}, RGBColor(0, 0, 0));
    gmp_.BeginFrame();
    Render(TRenderMode::rmSolidShade, *away);
    EXPECT_EQ(away->ViewFaces[0].Shade, 4);
    EXPECT_TRUE(ShowsTriangle(4 * 1024 + 4 * 32 + 4));
}

TEST_F(RenderModes, WireFrameShowsRowEndsAndLeftToRightHorizontalEdges) {
    auto mesh = MeshOf({ScreenTriangle(-10, false)}, kRed);
    Render(TRenderMode::rmWireframe, *mesh);
    EXPECT_TRUE(SurfaceMatches(gmp_.Surface(), [](int x, int y) {
        const bool end = y >= 100 && y <= 177 && (x == 100 || x == 277 - y);
        const bool bottom = y == 100 && x >= 100 && x <= 177;
        return end || bottom ? kRed16 : kBlue16;
    }));
}

TEST_F(RenderModes, VertexNearTheCameraDropsTheFaceExceptInWireFrame) {
    TFace face;  // projects onto the same screen triangle
    face.V0 = {0, 0, -10};
    face.V1 = {1, 0, -10};
    face.V2 = {0, 0.05f, -0.5f};
    auto mesh = MeshOf({face}, kRed);
    FillTexture(kRed16);
    for (TRenderMode mode :
         {TRenderMode::rmSolid, TRenderMode::rmSolidShade, TRenderMode::rmSolidTexture, TRenderMode::rmShadedTexture}) {
        Render(mode, *mesh);
        EXPECT_TRUE(ShowsTriangle(kBlue16)) << static_cast<int>(mode);
    }
    Render(TRenderMode::rmWireframe, *mesh);
    EXPECT_EQ(gmp_.Surface().GetPixel(100, 177), kRed16);
    EXPECT_EQ(gmp_.Surface().GetPixel(100, 140), kRed16);
    EXPECT_EQ(gmp_.Surface().GetPixel(137, 140), kRed16);
    EXPECT_EQ(gmp_.Surface().GetPixel(120, 140), kBlue16);
}

TEST_F(RenderModes, SolidShowsTheNearerFaceWhateverTheOrder) {
    auto near = MeshOf({ScreenTriangle(-5, true)}, kRed);
    auto far = MeshOf({ScreenTriangle(-10, true)}, kGreen);
    Render(TRenderMode::rmSolid, *near);
    Render(TRenderMode::rmSolid, *far);
    EXPECT_TRUE(ShowsTriangle(kRed16));
    gmp_.BeginFrame();
    Render(TRenderMode::rmSolid, *far);
    Render(TRenderMode::rmSolid, *near);
    EXPECT_TRUE(ShowsTriangle(kRed16));
}

TEST_F(RenderModes, TextureModesLetTheLaterFaceWin) {
    // White texture: level 4 gives 8 of 31 per channel, level 20 stays white.
    FillTexture(32767);
    constexpr std::uint16_t kDim = 8 * 1024 + 8 * 32 + 8;
    auto near_away = MeshOf({ScreenTriangle(-5, false)});
    auto far_facing = MeshOf({ScreenTriangle(-10, true)});
    Render(TRenderMode::rmShadedTexture, *near_away);
    Render(TRenderMode::rmShadedTexture, *far_facing);
    EXPECT_TRUE(ShowsTriangle(32767)) << "no depth test between meshes";

    // Within a mesh the sort draws the nearer face last, whatever the order given.
    auto both = MeshOf({ScreenTriangle(-5, false), ScreenTriangle(-10, true)});
    gmp_.BeginFrame();
    Render(TRenderMode::rmShadedTexture, *both);
    EXPECT_TRUE(ShowsTriangle(kDim));
}

TEST_F(RenderModes, AllBlackTextureIsBlackUpToLevelFifteenAndGreyAbove) {
    auto away = MeshOf({ScreenTriangle(-10, false)});
    Render(TRenderMode::rmShadedTexture, *away);
    EXPECT_TRUE(ShowsTriangle(0));

    // Level 20: 5 * 31 / 16 = 9.69 -> 10 of 31.
    auto facing = MeshOf({ScreenTriangle(-10, true)});
    Render(TRenderMode::rmShadedTexture, *facing);
    EXPECT_TRUE(ShowsTriangle(10 * 1024 + 10 * 32 + 10));

    gmp_.LightStrength = 2.0f;  // saturates at level 31
    Render(TRenderMode::rmShadedTexture, *facing);
    EXPECT_EQ(facing->ViewFaces[0].Shade, 31);
    EXPECT_TRUE(ShowsTriangle(32767));

    Render(TRenderMode::rmSolidTexture, *facing);
    EXPECT_TRUE(ShowsTriangle(0));
}

TEST_F(RenderModes, TextureCornersMapToTheirTexels) {
    for (int i = 0; i < kTextureSize * kTextureSize; ++i) gmp_.Texture[i] = static_cast<std::uint16_t>(i);
    auto mesh = MeshOf({ScreenTriangle(-10, false)});
    Render(TRenderMode::rmSolidTexture, *mesh);
    // Row 100 runs from V0 (texel 63, 0) to V1 (texel 0, 127) over 78 columns:
    // steps -206 and 416 in 8.8, truncated towards zero.
    EXPECT_EQ(gmp_.Surface().GetPixel(100, 100), 63 * 128 + 0);
    EXPECT_EQ(gmp_.Surface().GetPixel(177, 100), 1 * 128 + 125);
    // The apex V2 ends the edge from V1 at texel (32494 / 256, 127).
    EXPECT_EQ(gmp_.Surface().GetPixel(100, 177), 126 * 128 + 127);
}

class WideView : public RenderModes {
protected:
    WideView() {
        gmp_.Resize(1100, 100);
        gmp_.BeginFrame();
    }
    // Spans rows 50..88 and, near row 50, far beyond both sides.
    std::unique_ptr<TMesh> Flat() {
        TFace face;
        face.V0 = {-80, 0, -10};
        face.V1 = {80, 0, -10};
        face.V2 = {0, 0.5f, -10};
        return MeshOf({face}, kRed);
    }
};

TEST_F(WideView, SolidStopsAtColumn1023AndTextureReachesTheEdge) {
    auto mesh = Flat();
    Render(TRenderMode::rmSolid, *mesh);
    for (int y : {50, 60, 70}) {
        EXPECT_EQ(gmp_.Surface().GetPixel(0, y), kRed16) << y;
        EXPECT_EQ(gmp_.Surface().GetPixel(1023, y), kRed16) << y;
        EXPECT_EQ(gmp_.Surface().GetPixel(1024, y), kBlue16) << y;
        EXPECT_EQ(gmp_.Surface().GetPixel(1099, y), kBlue16) << y;
    }
    EXPECT_EQ(gmp_.Surface().GetPixel(550, 88), kRed16);
    EXPECT_EQ(gmp_.Surface().GetPixel(550, 89), kBlue16);

    FillTexture(1234);
    Render(TRenderMode::rmSolidTexture, *mesh);
    for (int y : {50, 60, 70}) {
        EXPECT_EQ(gmp_.Surface().GetPixel(0, y), 1234) << y;
        EXPECT_EQ(gmp_.Surface().GetPixel(1099, y), 1234) << y;
    }
}

}  // namespace
}  // namespace zorva
