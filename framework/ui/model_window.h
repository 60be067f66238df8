#pragma once
/// \file
/// What a model unit may ask of the program's main window during its
/// initialisation (and later, between two process steps).

namespace zorva {

class TAnimationScene;

/// Switches the trace on or off, with the window's Trace check box.
void SetTrace(bool on);
/// Switches step mode on or off, with the window's Step Mode check box.
void SetStepMode(bool on);
/// The scene of the animation window, for the model's meshes.
TAnimationScene& AnimationScene();

}  // namespace zorva
