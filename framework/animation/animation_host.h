#pragma once

// What the animation windows need from the program's main window. The main
// window fills these in once, before it first applies the Animation setting;
// a hook left empty is skipped, except ProcessPendingEvents, which falls back
// to Qt's own event dispatch.

#include <QString>
#include <QWidget>
#include <functional>

namespace zorva {

struct AnimationHost {
    // The main window's Interrupt command: a running or stepping run stops
    // while the camera-positions window is open. Other states are left alone.
    std::function<void()> InterruptSimulation;
    // Given when the camera-positions window closes: the main window's
    // Resume command for a run that waits, nothing before Start or after
    // the end.
    std::function<void()> ResumeSimulation;
    // Dispatches all pending window events once; the camera keeps moving
    // between two calls and stops when a key release arrives during one.
    std::function<void()> ProcessPendingEvents;
    // The main window, which the first showing of the animation window moves
    // to the top left corner and narrows to 120 pixels, placing the animation
    // window to its right over the rest of the screen. Null: no placing.
    std::function<QWidget*()> MainWindow;
    // Problems worth telling the user (an unreadable camera-positions file).
    // Empty: a warning box.
    std::function<void(const QString& message)> ShowMessage;
};

}  // namespace zorva
