#include "animation/mesh_builder.h"

namespace zorva {

TFace Triangle(TVector3 a, TVector3 b, TVector3 c) {
    TFace face;
    face.V0 = a;
    face.V1 = b;
    face.V2 = c;
    face.VertexCount = 3;
    return face;
}

TFace Quad(TVector3 a, TVector3 b, TVector3 c, TVector3 d) {
    TFace face = Triangle(a, b, c);
    face.V3 = d;
    face.VertexCount = 4;
    return face;
}

bool AddFace(TMesh& mesh, const TFace& face) {
    const std::int32_t used = UsedFaceCount(mesh);
    if (used >= kMaxMeshFaces) return false;
    mesh.ModelFaces[used] = face;
    mesh.FaceCount = used + 1;
    return true;
}

bool AddBox(TMesh& mesh, TVector3 centre, TVector3 size) {
    if (UsedFaceCount(mesh) + 6 > kMaxMeshFaces) return false;
    const float x0 = centre.X - size.X / 2.0f;
    const float x1 = centre.X + size.X / 2.0f;
    const float y0 = centre.Y - size.Y / 2.0f;
    const float y1 = centre.Y + size.Y / 2.0f;
    const float z0 = centre.Z - size.Z / 2.0f;
    const float z1 = centre.Z + size.Z / 2.0f;
    // Each side starts at its lower left corner as seen from outside, which
    // puts the texture upright on the four walls.
    AddFace(mesh, Quad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}));  // front
    AddFace(mesh, Quad({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}));  // back
    AddFace(mesh, Quad({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}));  // right
    AddFace(mesh, Quad({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}));  // left
    AddFace(mesh, Quad({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}));  // top
    AddFace(mesh, Quad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}));  // bottom
    return true;
}

}  // namespace zorva
