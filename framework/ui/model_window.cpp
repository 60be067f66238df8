#include "ui/model_window.h"

#include "engine/fatal_error.h"
#include "ui/zorva_form.h"

namespace zorva {
namespace {

TZorvaForm& MainWindow(const char* operation) {
    TZorvaForm* form = TheZorvaForm();
    if (!form) FatalError(std::string("Error(") + operation + "): there is no main window yet");
    return *form;
}

}  // namespace

void SetTrace(bool on) {
    MainWindow("SetTrace").SetTrace(on);
}
void SetStepMode(bool on) {
    MainWindow("SetStepMode").SetStepMode(on);
}
TAnimationScene& AnimationScene() {
    return MainWindow("AnimationScene").AnimationWindows().Scene();
}

}  // namespace zorva
