#include "animation/animation_scene.h"

#include <gtest/gtest.h>

#include "animation/mesh_builder.h"
#include "render_fixture.h"

namespace zorva {
namespace {

TMesh OneTriangle() {
    TMesh mesh;
    AddFace(mesh, Triangle({0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}));
    return mesh;
}

class SceneTest : public ::testing::Test {
protected:
    TGMPRenderer renderer_;
    TAnimationScene scene_;
};

TEST_F(SceneTest, LooseShapesFirstInGreyThenGroupsWithMembers) {
    renderer_.CameraPosition = {0.0f, 0.0f, 10.0f};
    const TColor red = RGBColor(255, 0, 0);
    const TColor blue = RGBColor(0, 0, 255);
    TAnimationShape& loose = scene_.AddShape(OneTriangle(), TRenderMode::rmSolid);
    TAnimationGroup& group = scene_.AddGroup({1.0f, 2.0f, 3.0f});
    TGroupShape& hull = group.AddShape(OneTriangle(), red, TRenderMode::rmSolidShade);
    TGroupShape& cabin = group.AddMember({0.5f, 0.25f, -1.0f}).AddShape(OneTriangle(), blue, TRenderMode::rmWireframe);

    const std::vector<TDrawEntry> list = scene_.BuildDrawList(renderer_, false);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Mesh, &loose.Mesh);
    EXPECT_EQ(list[0].Color, RGBColor(128, 128, 128));
    EXPECT_EQ(list[0].RenderMode, TRenderMode::rmSolid);
    EXPECT_EQ(list[1].Mesh, &hull.Mesh);
    EXPECT_EQ(list[1].Color, red);
    EXPECT_EQ(list[2].Mesh, &cabin.Mesh);
    EXPECT_EQ(list[2].RenderMode, TRenderMode::rmWireframe);

    // Prepared at the group's position, the member at position plus offset.
    EXPECT_FLOAT_EQ(hull.Mesh.WorldFaces[0].V1.X, 2.0f);
    EXPECT_FLOAT_EQ(cabin.Mesh.WorldFaces[0].V2.Y, 3.25f);
    EXPECT_FLOAT_EQ(cabin.Mesh.WorldFaces[0].V0.Z, 2.0f);
    // The loose shape was prepared in its own mode and shaded from grey.
    EXPECT_EQ(loose.Mesh.ViewFaces[0].Visible, 1);
    EXPECT_EQ(loose.Mesh.Color, RGBColor(128, 128, 128));
    EXPECT_FALSE(loose.Changed);
    EXPECT_FALSE(group.Changed());
}

TEST_F(SceneTest, OnlyChangedMeshesArePreparedAgainUnlessRedrawAll) {
    TAnimationShape& loose = scene_.AddShape(OneTriangle(), TRenderMode::rmSolid);
    scene_.BuildDrawList(renderer_, false);
    // Moving the camera is seen only by a mesh that is prepared again.
    renderer_.CameraPosition = {0.0f, 0.0f, 10.0f};
    scene_.BuildDrawList(renderer_, false);
    EXPECT_FLOAT_EQ(loose.Mesh.ViewFaces[0].V0.Z, 0.0f);
    scene_.BuildDrawList(renderer_, true);
    EXPECT_FLOAT_EQ(loose.Mesh.ViewFaces[0].V0.Z, -10.0f);
    renderer_.CameraPosition = {0.0f, 0.0f, 20.0f};
    loose.MarkChanged();
    scene_.BuildDrawList(renderer_, false);
    EXPECT_FLOAT_EQ(loose.Mesh.ViewFaces[0].V0.Z, -20.0f);
}

TEST_F(SceneTest, MovingAGroupCarriesItsUnchangedMembers) {
    TAnimationGroup& group = scene_.AddGroup({0.0f, 0.0f, 0.0f});
    TGroupMember& member = group.AddMember({1.0f, 0.0f, 0.0f});
    TGroupShape& shape = member.AddShape(OneTriangle(), 0, TRenderMode::rmWireframe);
    scene_.BuildDrawList(renderer_, false);
    group.SetPosition({5.0f, 0.0f, 0.0f});
    scene_.BuildDrawList(renderer_, false);
    EXPECT_FLOAT_EQ(shape.Mesh.WorldFaces[0].V0.X, 6.0f);
    member.SetOffset({2.0f, 0.0f, 0.0f});
    scene_.BuildDrawList(renderer_, false);
    EXPECT_FLOAT_EQ(shape.Mesh.WorldFaces[0].V0.X, 7.0f);
}

TEST_F(SceneTest, HiddenGroupIsLeftOutAndShowsWhereItWasMovedTo) {
    TAnimationGroup& group = scene_.AddGroup({0.0f, 0.0f, 0.0f});
    TGroupShape& shape = group.AddShape(OneTriangle(), 0, TRenderMode::rmSolid);
    scene_.BuildDrawList(renderer_, false);
    group.SetVisible(false);
    group.SetPosition({0.0f, 4.0f, 0.0f});
    EXPECT_TRUE(scene_.BuildDrawList(renderer_, false).empty());
    group.SetVisible(true);
    ASSERT_EQ(scene_.BuildDrawList(renderer_, false).size(), 1u);
    EXPECT_FLOAT_EQ(shape.Mesh.WorldFaces[0].V0.Y, 4.0f);
}

TEST_F(SceneTest, GroupShapesAreShadedInTheirOwnColourAndMode) {
    // Solid shade: the face colour comes from the mesh colour at preparation.
    TAnimationGroup& group = scene_.AddGroup({0.0f, 0.0f, -10.0f});
    TGroupShape& shape = group.AddShape(OneTriangle(), RGBColor(0, 0, 0), TRenderMode::rmSolidShade);
    renderer_.RenderMode = TRenderMode::rmWireframe;
    scene_.BuildDrawList(renderer_, false);
    // Facing away from the default light: ambient level 4, 33 above black.
    EXPECT_EQ(shape.Mesh.ViewFaces[0].Color, RGBColor(33, 33, 33));
    EXPECT_EQ(shape.Mesh.ViewFaces[0].Visible, 1);
}

TEST_F(SceneTest, HiddenMemberIsLeftOutAndRecolouringPreparesItAgain) {
    TAnimationGroup& group = scene_.AddGroup({0.0f, 0.0f, -10.0f});
    TGroupShape& hull = group.AddShape(OneTriangle(), 0, TRenderMode::rmSolidShade);
    TGroupMember& cabin = group.AddMember({0.0f, 0.0f, 0.0f});
    TGroupShape& roof = cabin.AddShape(OneTriangle(), RGBColor(0, 0, 0), TRenderMode::rmSolidShade);
    scene_.BuildDrawList(renderer_, false);
    cabin.SetVisible(false);
    group.SetPosition({0.0f, 3.0f, -10.0f});
    const std::vector<TDrawEntry> list = scene_.BuildDrawList(renderer_, false);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Mesh, &hull.Mesh);
    // Shown again where the group went meanwhile, shaded from its new colour.
    cabin.SetVisible(true);
    cabin.SetColor(RGBColor(255, 255, 255));
    group.SetColor(RGBColor(255, 0, 0));
    EXPECT_EQ(scene_.BuildDrawList(renderer_, false).size(), 2u);
    EXPECT_FLOAT_EQ(roof.Mesh.WorldFaces[0].V0.Y, 3.0f);
    EXPECT_EQ(roof.Mesh.ViewFaces[0].Color, RGBColor(255, 255, 255));
    EXPECT_EQ(hull.Color, RGBColor(255, 0, 0));
    EXPECT_EQ(hull.Mesh.ViewFaces[0].Color, RGBColor(255, 33, 33));
}

TEST_F(SceneTest, EveryFrameFirstMovesTheShapesToTheirPlaceAtTheFramesTime) {
    renderer_.RenderMode = TRenderMode::rmSolid;
    TMesh big;
    AddFace(big, Triangle({-5.0f, -5.0f, 0.0f}, {5.0f, -5.0f, 0.0f}, {0.0f, 5.0f, 0.0f}));
    TAnimationGroup& group = scene_.AddGroup({0.0f, 0.0f, -10.0f});
    group.AddShape(big, testing::kBlue, TRenderMode::rmSolid);
    std::vector<double> times;
    scene_.SetUpdater([&](double time) {
        times.push_back(time);
        group.SetVisible(time < 5.0);
    });
    scene_.DrawFrame(renderer_, 2.5, false);
    EXPECT_EQ(renderer_.Surface().GetPixel(100, 100), testing::kBlue16);
    scene_.DrawFrame(renderer_, 7.0, false);
    EXPECT_EQ(renderer_.Surface().GetPixel(100, 100), 0);
    EXPECT_EQ(times, (std::vector<double>{2.5, 7.0}));
}

TEST_F(SceneTest, AnotherRendererGetsEveryMeshPreparedForItsOwnCamera) {
    TAnimationShape& loose = scene_.AddShape(OneTriangle(), TRenderMode::rmSolid);
    scene_.BuildDrawList(renderer_, false);
    TGMPRenderer other;
    other.CameraPosition = {0.0f, 0.0f, 10.0f};
    scene_.BuildDrawList(other, false);
    EXPECT_FLOAT_EQ(loose.Mesh.ViewFaces[0].V0.Z, -10.0f);
    scene_.BuildDrawList(renderer_, false);
    EXPECT_FLOAT_EQ(loose.Mesh.ViewFaces[0].V0.Z, 0.0f);
}

}  // namespace
}  // namespace zorva
