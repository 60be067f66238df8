#include "animation/camera_keys.h"

namespace zorva {

TCameraChange StepCamera(TCameraPose& pose, TCameraKey key, TCameraModifiers modifiers, float step) {
    const float s = modifiers.Shift ? step * 10.0f : step;
    TVector3& p = pose.Position;
    if (modifiers.Ctrl) {
        if (key == TCameraKey::Up) {
            p.Y += s;
        } else if (key == TCameraKey::Down) {
            p.Y -= s;
        } else {
            return TCameraChange::None;
        }
        return TCameraChange::Position;
    }
    if (modifiers.Alt) {
        auto& a = pose.AnglesDegrees;
        switch (key) {
            case TCameraKey::Left:
                a[1] += s;
                break;
            case TCameraKey::Right:
                a[1] -= s;
                break;
            case TCameraKey::Up:
                a[0] -= s;
                break;
            case TCameraKey::Down:
                a[0] += s;
                break;
        }
        return TCameraChange::Angles;
    }
    switch (key) {
        case TCameraKey::Left:
            p.X -= s;
            break;
        case TCameraKey::Right:
            p.X += s;
            break;
        case TCameraKey::Up:
            p.Z -= s;
            break;
        case TCameraKey::Down:
            p.Z += s;
            break;
    }
    return TCameraChange::Position;
}

}  // namespace zorva
