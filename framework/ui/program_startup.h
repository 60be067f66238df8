#pragma once
/// \file
/// How a model program starts. A model program is its model unit and a main
/// of one line:
///
///   int main(int argc, char** argv) { return zorva::RunZorvaProgram(argc, argv, InitBrimWest); }
///
/// RunZorvaProgram starts the engine, then the kernel and the main window
/// (the model is named after the program file), then calls the model unit's
/// initialisation, applies the batch options of the command line, and waits
/// in the window system's event loop until the window is closed.

#include <functional>

namespace zorva {

using ModelInitialisation = std::function<void()>;

/// Returns the program's exit code (ui/exit_codes.h): kExitNormal when the
/// run went well or never began, else what went wrong, such as a bad command
/// line or a lost server. A fatal error ends the program with kExitFatal from
/// wherever it happens.
int RunZorvaProgram(int argc, char** argv, const ModelInitialisation& initModel);

}  // namespace zorva
