#include "animation/gmp_renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "render_fixture.h"

namespace zorva {
namespace {

using testing::MeshOf;
using testing::ScreenTriangle;

TEST(GMPRenderer, StartsWithASquareViewAndTheLightFromTheRightInFront) {
    TGMPRenderer gmp;
    EXPECT_EQ(gmp.ViewWidth(), 200);
    EXPECT_EQ(gmp.Surface().Height(), 200);
    EXPECT_EQ(gmp.CenterY(), 100);
    EXPECT_EQ(gmp.RenderMode, TRenderMode::rmWireframe);
    EXPECT_FLOAT_EQ(gmp.LightDirection().X, std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(gmp.LightDirection().Y, 0.0f);
    EXPECT_FLOAT_EQ(gmp.LightDirection().Z, -std::sqrt(0.5f));
    gmp.SetLight({1, 2, 3}, {1, 2, 3});
    EXPECT_EQ(gmp.LightDirection().X, 0.0f) << "a null light direction stays finite";
}

TEST(GMPRenderer, ResizeCapsTheHeightAt768ButNotTheWidth) {
    TGMPRenderer gmp;
    EXPECT_EQ(gmp.Resize(300, 1000), 768);
    EXPECT_EQ(gmp.ViewHeight(), 768);
    EXPECT_EQ(gmp.Surface().Height(), 768);
    EXPECT_EQ(gmp.BackgroundSurface().Height(), 768);
    EXPECT_EQ(gmp.CenterY(), 384);

    EXPECT_EQ(gmp.Resize(1100, 99), 99);
    EXPECT_EQ(gmp.Surface().Width(), 1100);
    EXPECT_EQ(gmp.CenterX(), 550);
    EXPECT_EQ(gmp.CenterY(), 49);
}

TEST(GMPRenderer, TallViewDrawsUpToItsTopRow) {
    TGMPRenderer gmp;
    gmp.Resize(300, 1000);
    gmp.RenderMode = TRenderMode::rmSolid;
    TFace big;  // far larger than the view
    big.V0 = {-100, -100, -10};
    big.V1 = {100, -100, -10};
    big.V2 = {0, 100, -10};
    auto mesh = MeshOf({big}, RGBColor(255, 0, 0));
    gmp.BeginFrame();
    gmp.RenderMesh(*mesh, false);
    EXPECT_EQ(gmp.Surface().GetPixel(150, 767), 31744);
    EXPECT_EQ(gmp.Surface().GetPixel(150, 0), 31744);
}

TEST(GMPRenderer, PaintAndFramesHandTheSurfaceOn) {
    TGMPRenderer gmp;
    int flips = 0;
    int pictures = 0;
    gmp.OnFlip = [&](const TDIB16bit& surface) {
        ++flips;
        EXPECT_EQ(surface.GetPixel(7, 7), testing::kBlue16);
    };
    gmp.DrawBackgroundPicture = [&](TDIB16bit& background) {
        ++pictures;
        background.SetPixel(3, 4, 999);
    };
    gmp.SetBackColor(testing::kBlue);
    EXPECT_EQ(flips, 1);
    EXPECT_EQ(pictures, 1);

    gmp.SetEnableBackgroundBitmap(true);
    gmp.Surface().SetPixel(7, 7, 1);
    gmp.BackgroundSurface().SetPixel(5, 5, 0);
    bool before_flip_saw_background = false;
    gmp.BeforeFlip = [&](TDIB16bit& surface) {
        before_flip_saw_background = surface.GetPixel(3, 4) == 999;
        surface.SetPixel(9, 9, 555);
    };
    gmp.BeginFrame();
    EXPECT_TRUE(before_flip_saw_background);
    EXPECT_EQ(gmp.Surface().GetPixel(5, 5), testing::kBlue16) << "black background is transparent";
    EXPECT_EQ(gmp.Surface().GetPixel(9, 9), 555);
    EXPECT_EQ(gmp.Surface().DepthAt(9, 9), TDIB16bit::kFarthestDepth);
    gmp.Flip();
    EXPECT_EQ(flips, 3);

    gmp.SetEnableBackgroundBitmap(false);
    gmp.BeforeFlip = nullptr;
    gmp.BeginFrame();
    EXPECT_EQ(gmp.Surface().GetPixel(3, 4), testing::kBlue16);
}

TEST(GMPRenderer, PreparationMovesTurnsAndShadesFaces) {
    TGMPRenderer gmp;
    gmp.RenderMode = TRenderMode::rmSolidShade;
    auto mesh = MeshOf({ScreenTriangle(-10, true)});
    mesh->Position = {1, 2, 3};
    gmp.CameraPosition = {1, 2, 3};
    // A quarter turn left about y: the camera now looks along -x.
    gmp.CameraAngles[1] = std::numbers::pi_v<float> / 2;
    gmp.UpdateCameraAngles();
    mesh->ModelFaces[0].V0 = {-10, 0, 0};
    gmp.PrepareMesh(*mesh);
    EXPECT_FLOAT_EQ(mesh->WorldFaces[0].V0.X, -9.0f);
    EXPECT_FLOAT_EQ(mesh->WorldFaces[0].V0.Z, 3.0f);
    const TVector3 seen = mesh->ViewFaces[0].V0;
    EXPECT_NEAR(seen.X, 0.0f, 1e-5);
    EXPECT_NEAR(seen.Y, 0.0f, 1e-5);
    EXPECT_NEAR(seen.Z, -10.0f, 1e-5);
    // The light turns with the camera.
    EXPECT_NEAR(gmp.LightView().X, std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(gmp.LightView().Z, std::sqrt(0.5f), 1e-6);
}

TEST(GMPRenderer, ShadeFacesHidesFacesAtTheCameraPlaneOrEdgeOn) {
    TGMPRenderer gmp;
    gmp.RenderMode = TRenderMode::rmSolid;
    TFace at_minus_one = ScreenTriangle(-10, true);
    at_minus_one.V2.Z = -1.0f;
    TFace beyond = ScreenTriangle(-10, true);
    beyond.V2.Z = -0.999f;
    TFace edge_on;  // in the plane x = 0, which holds the eye
    edge_on.V0 = {0, -5, -10};
    edge_on.V1 = {0, 5, -10};
    edge_on.V2 = {0, 0, -20};
    TFace quad = ScreenTriangle(-10, false);
    quad.VertexCount = 4;
    quad.V3 = {0, 0, 2};
    auto mesh = MeshOf({at_minus_one, beyond, edge_on, quad, ScreenTriangle(-10, false)});
    gmp.PrepareMesh(*mesh);
    EXPECT_EQ(mesh->ViewFaces[0].Visible, 1);
    EXPECT_EQ(mesh->ViewFaces[1].Visible, 0);
    EXPECT_EQ(mesh->ViewFaces[2].Visible, 0);
    EXPECT_EQ(mesh->ViewFaces[3].Visible, 0) << "the fourth corner counts";
    EXPECT_EQ(mesh->ViewFaces[4].Visible, 1) << "faces turned away stay visible";
    EXPECT_EQ(mesh->ViewFaces[4].Shade, 4);
}

TEST(GMPRenderer, DepthSortPutsTheFarthestFirstAndKeepsTies) {
    TGMPRenderer gmp;
    TFace near = ScreenTriangle(-2, false);
    TFace far = ScreenTriangle(-30, false);
    TFace tie_a = ScreenTriangle(-10, false);
    TFace tie_b = ScreenTriangle(-10, false);
    tie_a.Color = 1;
    tie_b.Color = 2;
    TFace quad = ScreenTriangle(-20, false);
    quad.VertexCount = 4;
    quad.V3 = {0, 0, -24};
    auto mesh = MeshOf({near, tie_a, far, tie_b, quad});
    gmp.PrepareMesh(*mesh);
    TGMPRenderer::DepthSort(*mesh);
    const auto& faces = mesh->ViewFaces;
    EXPECT_FLOAT_EQ(faces[0].SortDepth, -90 * 0.333f);
    EXPECT_FLOAT_EQ(faces[1].SortDepth, -21.0f);
    EXPECT_EQ(faces[2].Color, 1u);
    EXPECT_EQ(faces[3].Color, 2u);
    EXPECT_FLOAT_EQ(faces[4].SortDepth, -6 * 0.333f);
}

TEST(GMPRenderer, FaceCountBeyondTheArraysIsCut) {
    TGMPRenderer gmp;
    gmp.RenderMode = TRenderMode::rmSolid;
    auto mesh = MeshOf({});
    mesh->FaceCount = 5000;
    gmp.BeginFrame();
    gmp.RenderMesh(*mesh, false);
    mesh->FaceCount = -3;
    gmp.RenderMesh(*mesh, false);
    EXPECT_EQ(gmp.Surface().GetPixel(100, 100), 0);
}

}  // namespace
}  // namespace zorva
