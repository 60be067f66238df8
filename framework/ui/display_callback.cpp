#include "ui/display_callback.h"

#include "connection/messaging.h"
#include "engine/engine.h"
#include "kernel/kernel.h"
#include "ui/zorva_form.h"

namespace zorva {
namespace {

std::string TrimmedTimeString() {
    std::string text = TimeString();
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

void TraceEngineLines(const TZorvaForm& form) {
    if (!form.TraceOn()) return;
    if (std::string status = TakeStatusText(); !status.empty()) TraceText(status);
    if (ZorvaStatus().Switching && CurrentElement())
        TraceText(WallClockText() + "/" + TimeString() + "  " + CurrentElement()->Name + " is current now");
}

void RefreshClock(TZorvaForm& form) {
    if (SimTime() - form.LastStatusTime < form.StatusInterval) return;
    if (form.isVisible()) form.SetStatusText(0, "Time: " + TrimmedTimeString());
    form.LastStatusTime = SimTime();
}

}  // namespace

void DisplayCallback() {
    TZorvaForm* form = TheZorvaForm();
    if (!form) return;
    TraceEngineLines(*form);
    RefreshClock(*form);
    if (RunState() == rsInterrupted) {
        TraceText(TimeString() + " *** Interrupt ***");
        form->ShowInterrupted();
    } else if (RunState() == rsRunning) {
        form->AnimationWindows().RedrawWhenDue(SimTime(), TimeString());
    }
}

}  // namespace zorva
