// The models' tests run without a main window: its trace switch is the
// kernel's alone.

#include "kernel/trace.h"
#include "ui/model_window.h"

namespace zorva {

void SetTrace(bool on) {
    SetTraceOn(on);
}

}  // namespace zorva
