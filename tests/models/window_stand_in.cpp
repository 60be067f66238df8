// The models' tests run without a main window: its trace switch is the
// kernel's alone.

#include "animation/animation_scene.h"
#include "kernel/trace.h"
#include "ui/model_window.h"

namespace zorva {

void SetTrace(bool on) {
    SetTraceOn(on);
}

// A scene that no window draws.
TAnimationScene& AnimationScene() {
    static TAnimationScene scene;
    return scene;
}

}  // namespace zorva
