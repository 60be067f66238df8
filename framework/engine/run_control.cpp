// Run control: small setters that window handlers call between two process
// steps. They only set values; the run loop acts on them at its next check.
#include <utility>

#include "engine/engine.h"
#include "engine/engine_state.h"
#include "wire/number_text.h"

namespace zorva {

const TZorvaStatus& ZorvaStatus() {
    return TheEngine().status;
}
double SimTime() {
    return TheEngine().status.SimTime;
}
ZorvaProcessElement* CurrentElement() {
    return TheEngine().status.CurrentElement;
}
std::uint8_t RunState() {
    return TheEngine().status.RunState;
}
bool StepMode() {
    return TheEngine().StepMode;
}
std::string ClockText() {
    return FormatFixedRight(SimTime(), 10);
}

void InterruptRun() {
    TheEngine().status.RunState = rsInterrupted;
}

void ResumeRun() {
    Engine& e = TheEngine();
    if (e.StepMode) {
        e.status.RunState = rsStepping;
        e.status.Proceed = true;
    } else {
        e.status.RunState = rsRunning;
    }
}

void EnterStepMode() {
    Engine& e = TheEngine();
    e.status.RunState = rsStepping;
    e.status.Proceed = false;
    e.StepMode = true;
}

void LeaveStepMode() {
    Engine& e = TheEngine();
    e.StepMode = false;
    if (e.status.RunState > rsEnded) {
        e.status.RunState = rsRunning;
        e.status.Proceed = true;
    }
}

void StepOnce() {
    TheEngine().status.Proceed = true;
}

void RequestKeyBreak(char key) {
    if (key == ' ') TheEngine().KeyBreak = SimTime();
}

void SetBreakTime(double t) {
    TheEngine().BreakTime = t;
}
double BreakTime() {
    return TheEngine().BreakTime;
}
void SetStopTime(double t) {
    TheEngine().StopTime = t;
}
double StopTime() {
    return TheEngine().StopTime;
}

void AssignServerAddress(const std::string& address) {
    TheEngine().status.ServerAddress = address;
}

std::string TakeStatusText() {
    return std::exchange(TheEngine().status.StatusText, std::string());
}

void SetDisplayCallback(std::function<void()> callback) {
    TheEngine().DisplayCallback = std::move(callback);
}
void SetEventProcessor(std::function<void()> processEvents) {
    TheEngine().processEvents = std::move(processEvents);
}
void SetServerLink(ServerLink* link) {
    TheEngine().link = link;
}

void ProcessPendingEvents() {
    Engine& e = TheEngine();
    if (e.processEvents) e.processEvents();
}

}  // namespace zorva
