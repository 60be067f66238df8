#include "animation/mesh_builder.h"

#include <gtest/gtest.h>

#include "animation/camera.h"

namespace zorva {
namespace {

TVector3 FaceCentre(const TFace& face) {
    TVector3 sum;
    for (int i = 0; i < CornerCount(face); ++i) {
        sum = {sum.X + Corner(face, i).X, sum.Y + Corner(face, i).Y, sum.Z + Corner(face, i).Z};
    }
    const float n = static_cast<float>(CornerCount(face));
    return {sum.X / n, sum.Y / n, sum.Z / n};
}

TEST(AddBox, SixQuadsWhoseNormalsPointOutwards) {
    TMesh mesh;
    const TVector3 centre{1.0f, 2.0f, -3.0f};
    ASSERT_TRUE(AddBox(mesh, centre, {2.0f, 4.0f, 6.0f}));
    ASSERT_EQ(mesh.FaceCount, 6);
    for (int i = 0; i < 6; ++i) {
        const TFace& face = mesh.ModelFaces[i];
        EXPECT_EQ(face.VertexCount, 4u);
        // Lighting takes (V1 - V0) x (V2 - V0) as the lit side.
        const TVector3 normal = Cross(Subtract(face.V1, face.V0), Subtract(face.V2, face.V0));
        EXPECT_GT(Dot(normal, Subtract(FaceCentre(face), centre)), 0.0f) << "face " << i;
    }
    // The front side lies at z = -3 + 3.
    EXPECT_FLOAT_EQ(mesh.ModelFaces[0].V0.Z, 0.0f);
}

TEST(AddBox, RefusesWhenTheMeshIsAlmostFull) {
    TMesh mesh;
    mesh.FaceCount = kMaxMeshFaces - 5;
    EXPECT_FALSE(AddBox(mesh, {}, {1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(mesh.FaceCount, kMaxMeshFaces - 5);
    mesh.FaceCount = kMaxMeshFaces;
    EXPECT_FALSE(AddFace(mesh, Triangle({}, {}, {})));
}

}  // namespace
}  // namespace zorva
