#pragma once

/// \file
/// What the animation window shows: loose shapes and groups of shapes that
/// model code adds and moves. The scene outlives the window, so a model can
/// build it before the user first switches the animation on.
///
/// Every add returns a reference that stays valid for the scene's lifetime;
/// after changing a mesh, an offset or a position through it, the model marks
/// it changed (the setters below do that themselves) and the next refresh
/// prepares it again. Unchanged meshes are drawn from their last preparation.
///
/// A model that animates its state installs an updater: every frame first
/// calls it with the simulated time the frame shows, and the updater moves,
/// colours, shows and hides the model's shapes from the model's state then.
/// Drawing thus adds no event to the run and changes nothing in it.

#include <functional>
#include <list>
#include <utility>
#include <vector>

#include "animation/gmp_renderer.h"
#include "animation/mesh.h"

namespace zorva {

/// Loose shapes are drawn in this grey whatever colour their mesh carries.
inline constexpr TColor kLooseShapeColor = RGBColor(128, 128, 128);

struct TAnimationShape {
    TMesh Mesh;
    TRenderMode RenderMode = TRenderMode::rmWireframe;
    bool Changed = true;

    void MarkChanged() { Changed = true; }
};

struct TGroupShape {
    TMesh Mesh;
    TColor Color = 0;
    TRenderMode RenderMode = TRenderMode::rmWireframe;
};

class TGroupMember {
public:
    explicit TGroupMember(TVector3 offset) : offset_(offset) {}

    TGroupShape& AddShape(const TMesh& mesh, TColor colour, TRenderMode mode);
    TVector3 Offset() const { return offset_; }
    void SetOffset(TVector3 offset);
    /// Gives every shape of the member this colour.
    void SetColor(TColor colour);
    bool Visible() const { return visible_; }
    /// A hidden member is left out of the frame, its group still drawn.
    void SetVisible(bool visible) { visible_ = visible; }
    bool Changed() const { return changed_; }
    void MarkChanged() { changed_ = true; }

private:
    friend class TAnimationScene;
    TVector3 offset_;
    bool visible_ = true;
    bool changed_ = true;
    std::list<TGroupShape> shapes_;
};

class TAnimationGroup {
public:
    explicit TAnimationGroup(TVector3 position) : position_(position) {}

    TGroupShape& AddShape(const TMesh& mesh, TColor colour, TRenderMode mode);
    TGroupMember& AddMember(TVector3 offset);
    TVector3 Position() const { return position_; }
    /// Moves the group with all its members.
    void SetPosition(TVector3 position);
    /// Gives the group's own shapes this colour; its members keep theirs.
    void SetColor(TColor colour);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Changed() const { return changed_; }
    void MarkChanged() { changed_ = true; }

private:
    friend class TAnimationScene;
    TVector3 position_;
    bool visible_ = true;
    bool changed_ = true;
    std::list<TGroupShape> shapes_;
    std::list<TGroupMember> members_;
};

/// One mesh of a frame with the colour and mode it is drawn in.
struct TDrawEntry {
    TMesh* Mesh = nullptr;
    TColor Color = 0;
    TRenderMode RenderMode = TRenderMode::rmWireframe;
};

/// Moves the model's shapes to where its state puts them at a simulated time.
using TSceneUpdater = std::function<void(double time)>;

class TAnimationScene {
public:
    TAnimationShape& AddShape(const TMesh& mesh, TRenderMode mode);
    TAnimationGroup& AddGroup(TVector3 position);
    /// Removes every shape and group, and the updater, which moved them.
    void Clear();

    std::size_t ShapeCount() const { return shapes_.size(); }
    std::size_t GroupCount() const { return groups_.size(); }

    /// Replaces the updater; an empty one leaves the shapes where they are.
    void SetUpdater(TSceneUpdater updater) { updater_ = std::move(updater); }
    void Update(double time) const {
        if (updater_) updater_(time);
    }

    /// Prepares what changed (everything with redraw_all, or when the last
    /// preparation was for another renderer) for the renderer's current
    /// camera and returns the frame's meshes in drawing order: loose shapes
    /// first, then each visible group's own shapes and its visible members'.
    std::vector<TDrawEntry> BuildDrawList(TGMPRenderer& renderer, bool redraw_all);

    /// A whole frame of the scene as it is at `time`: the updater, the draw
    /// list, every mesh in its own colour and mode, then the flip.
    void DrawFrame(TGMPRenderer& renderer, double time, bool redraw_all);

private:
    std::list<TAnimationShape> shapes_;
    std::list<TAnimationGroup> groups_;
    TSceneUpdater updater_;
    const TGMPRenderer* preparedFor_ = nullptr;
};

}  // namespace zorva
