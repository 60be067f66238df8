#include "animation/animation_scene.h"

namespace zorva {

namespace {

TVector3 Add(TVector3 a, TVector3 b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}

// Shading takes its colour from the mesh and depends on the mode, so both are
// set before the mesh is prepared, not only when it is drawn.
void Prepare(TGMPRenderer& renderer, TMesh& mesh, TColor colour, TRenderMode mode) {
    renderer.SetMeshColor(mesh, colour);
    renderer.RenderMode = mode;
    renderer.PrepareMesh(mesh);
}

void PrepareGroupShapes(TGMPRenderer& renderer, std::list<TGroupShape>& shapes, TVector3 position, bool prepare,
                        std::vector<TDrawEntry>& list) {
    for (TGroupShape& shape : shapes) {
        if (prepare) {
            shape.Mesh.Position = position;
            Prepare(renderer, shape.Mesh, shape.Color, shape.RenderMode);
        }
        list.push_back({&shape.Mesh, shape.Color, shape.RenderMode});
    }
}

}  // namespace

TGroupShape& TGroupMember::AddShape(const TMesh& mesh, TColor colour, TRenderMode mode) {
    changed_ = true;
    return shapes_.emplace_back(TGroupShape{mesh, colour, mode});
}

void TGroupMember::SetOffset(TVector3 offset) {
    offset_ = offset;
    changed_ = true;
}

void TGroupMember::SetColor(TColor colour) {
    for (TGroupShape& shape : shapes_) shape.Color = colour;
    changed_ = true;
}

TGroupShape& TAnimationGroup::AddShape(const TMesh& mesh, TColor colour, TRenderMode mode) {
    changed_ = true;
    return shapes_.emplace_back(TGroupShape{mesh, colour, mode});
}

TGroupMember& TAnimationGroup::AddMember(TVector3 offset) {
    return members_.emplace_back(offset);
}

void TAnimationGroup::SetPosition(TVector3 position) {
    position_ = position;
    changed_ = true;
}

void TAnimationGroup::SetColor(TColor colour) {
    for (TGroupShape& shape : shapes_) shape.Color = colour;
    changed_ = true;
}

void TAnimationGroup::SetVisible(bool visible) {
    visible_ = visible;
}

TAnimationShape& TAnimationScene::AddShape(const TMesh& mesh, TRenderMode mode) {
    return shapes_.emplace_back(TAnimationShape{mesh, mode, true});
}

TAnimationGroup& TAnimationScene::AddGroup(TVector3 position) {
    return groups_.emplace_back(position);
}

void TAnimationScene::Clear() {
    shapes_.clear();
    groups_.clear();
    updater_ = nullptr;
}

std::vector<TDrawEntry> TAnimationScene::BuildDrawList(TGMPRenderer& renderer, bool redraw_all) {
    // Prepared meshes hold view coordinates for one renderer's camera.
    if (&renderer != preparedFor_) redraw_all = true;
    preparedFor_ = &renderer;
    std::vector<TDrawEntry> list;
    for (TAnimationShape& shape : shapes_) {
        if (shape.Changed || redraw_all) {
            Prepare(renderer, shape.Mesh, kLooseShapeColor, shape.RenderMode);
            shape.Changed = false;
        }
        list.push_back({&shape.Mesh, kLooseShapeColor, shape.RenderMode});
    }
    for (TAnimationGroup& group : groups_) {
        if (group.visible_) {
            // A moved group carries all its members along.
            const bool group_moved = group.changed_ || redraw_all;
            PrepareGroupShapes(renderer, group.shapes_, group.position_, group_moved, list);
            for (TGroupMember& member : group.members_) {
                if (!member.visible_) {
                    // Prepared once it shows, wherever the group is then.
                    if (group_moved) member.changed_ = true;
                    continue;
                }
                PrepareGroupShapes(renderer, member.shapes_, Add(group.position_, member.offset_),
                                   member.changed_ || group_moved, list);
                member.changed_ = false;
            }
            // A hidden group keeps its mark, so that it shows where it was
            // moved to meanwhile once it is visible again.
            group.changed_ = false;
        }
    }
    return list;
}

void TAnimationScene::DrawFrame(TGMPRenderer& renderer, double time, bool redraw_all) {
    Update(time);
    const std::vector<TDrawEntry> draw_list = BuildDrawList(renderer, redraw_all);
    renderer.BeginFrame();
    for (const TDrawEntry& entry : draw_list) {
        renderer.SetMeshColor(*entry.Mesh, entry.Color);
        renderer.RenderMode = entry.RenderMode;
        renderer.RenderMesh(*entry.Mesh, true);
    }
    renderer.Flip();
}

}  // namespace zorva
