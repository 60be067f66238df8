#include "ui/display_callback.h"

#include "connection/messaging.h"
#include "engine/engine.h"
#include "kernel/kernel.h"
#include "ui/run_dashboard.h"
#include "ui/status_bar.h"
#include "ui/zorva_form.h"

namespace zorva {
namespace {

void TraceEngineLines(const TZorvaForm& form) {
    if (!form.TraceOn()) return;
    if (std::string status = TakeStatusText(); !status.empty()) TraceText(status);
    if (ZorvaStatus().Switching && CurrentElement())
        TraceText(WallClockText() + "/" + TimeString() + "  " + CurrentElement()->Name + " is current now");
}

void RefreshClock(TZorvaForm& form) {
    if (SimTime() - form.LastStatusTime < form.StatusInterval) return;
    if (form.isVisible()) form.SetStatusText(0, ClockPanelText());
    form.LastStatusTime = SimTime();
}

}  // namespace

void DisplayCallback() {
    TZorvaForm* form = TheZorvaForm();
    if (!form) return;
    if (ZorvaStatus().Switching) form->Dashboard()->CountEvent();
    TraceEngineLines(*form);
    RefreshClock(*form);
    form->AnimationWindows().TakeDueSnapshots(SimTime());
    if (RunState() == rsInterrupted) {
        TraceText(TimeString() + " *** Interrupt ***");
        form->ShowInterrupted();
    } else if (RunState() == rsRunning) {
        form->AnimationWindows().RedrawWhenDue(SimTime(), TimeString());
    }
}

}  // namespace zorva
