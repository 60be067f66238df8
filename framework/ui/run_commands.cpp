// The run commands of the main window and its closing rules.
#include <QAction>
#include <QTimer>

#include "connection/messaging.h"
#include "engine/engine.h"
#include "ui/header_strip.h"
#include "ui/zorva_form.h"

namespace zorva {

void TZorvaForm::GoStartSimulation() {
    interruptItem_->setEnabled(true);
    startItem_->setEnabled(false);
    RunBegins();
    StartSimulation();
    RunHasEnded();
    if (runEnded_) runEnded_();
    if (closeRequested_) close();
}

void TZorvaForm::StartSimulation() {
    runTicker_->start();
    RunSimulation();
    runTicker_->stop();
}

void TZorvaForm::GoInterruptSimulation() {
    if (RunState() != rsRunning && RunState() != rsStepping) return;
    resumeItem_->setEnabled(true);
    interruptItem_->setEnabled(false);
    InterruptRun();
    LookAtRun();
}

void TZorvaForm::GoResumeSimulation() {
    interruptItem_->setEnabled(true);
    resumeItem_->setEnabled(false);
    ResumeRun();
}

void TZorvaForm::ExecuteNextStep() {
    StepOnce();
}

void TZorvaForm::GoQuitSimulation() {
    SetStopTime(SimTime());
}

void TZorvaForm::ShowInterrupted() {
    resumeItem_->setEnabled(true);
    interruptItem_->setEnabled(false);
    if (BreakTime() == -1.0) header_->SetSectionText(hsBreak, "Break: ");
    LookAtRun();
}

// A closed program must not stay alive in any wait: the run is told to stop
// now, and a wait for the server (its greeting, a grant, an answer) ends as
// if the connection had closed.
bool TZorvaForm::CheckClosing() {
    SetStopTime(SimTime());
    AbandonConnection();
    if (closeRequested_ || RunState() != rsRunning) {
        // A run that waits proceeds, reaches the stop time at once and
        // unwinds; one that has ended or never began stays as it is.
        if (RunState() == rsInterrupted || RunState() == rsStepping) ResumeRun();
        return true;
    }
    closeRequested_ = true;
    LeaveStepMode();
    return false;
}

}  // namespace zorva
