#pragma once
// The framework's part of a program's start-up and end, shared by the
// program start-up and the tests: the kernel and the main window with every
// hook that joins them to the engine and the connection.

#include <memory>

namespace zorva {

class TZorvaForm;

// After the engine's own start: makes the main window, installs the display
// callback, the event processing and the dialogs, names the model after the
// program file and creates the kernel's queues. Needs a QApplication.
std::unique_ptr<TZorvaForm> StartFramework();

// Removes the hooks and frees the model, the kernel and the connection, so
// that a new start-up begins afresh.
void StopFramework();

// Processes pending window events; while the run waits for the user it
// sleeps until an event arrives instead of spinning.
void ProcessWindowEvents();

}  // namespace zorva
