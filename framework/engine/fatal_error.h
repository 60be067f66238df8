#pragma once
/// \file
/// The one way out for misuse of the framework: the text is shown (a modal
/// dialog once the main window has installed one, standard error otherwise)
/// and the program ends with exit code 255.

#include <functional>
#include <string>

namespace zorva {

inline constexpr int kFatalExitCode = 255;

using MessageHandler = std::function<void(const std::string&)>;

[[noreturn]] void FatalError(const std::string& text);

/// Replaces how fatal errors and warnings are shown; an empty handler restores
/// the default (standard error).
void SetFatalErrorHandler(MessageHandler handler);
void SetWarningHandler(MessageHandler handler);

/// Shows a warning and returns when the user has acknowledged it.
void ShowWarning(const std::string& text);

}  // namespace zorva
