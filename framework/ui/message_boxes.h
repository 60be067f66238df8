#pragma once
// How the framework's texts reach the user: modal boxes with an OK button
// on a desktop, standard error when the program runs headless, or whatever a
// test installs. Every box returns only when it has been answered.

#include <functional>
#include <string>

namespace zorva {

enum class BoxKind { Error, Warning };

using BoxPresenter = std::function<void(BoxKind kind, const std::string& text)>;

void ShowBox(BoxKind kind, const std::string& text);

// Empty: modal boxes over the main window.
void SetBoxPresenter(BoxPresenter presenter);
// Every box's text to standard error, answered OK at once.
void SendBoxesToStandardError();
// True when boxes are shown on screen (no presenter set): only then may the
// window ask the user anything that waits for an answer.
bool BoxesOnScreen();

}  // namespace zorva
