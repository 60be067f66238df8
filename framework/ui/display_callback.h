#pragma once
// The one way the engine reports to the window: at every resumption, at an
// interrupt, at the end of a run and after each incoming line of interest.

namespace zorva {

// Hands pending questions and texts to the model, writes the engine's lines
// into the trace, keeps the status bar's clock current and redraws the
// animation. Does nothing without a main window.
void DisplayCallback();

}  // namespace zorva
