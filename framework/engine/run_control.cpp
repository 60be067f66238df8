// Run control: small setters that window handlers call between two process
// steps. They only set values; the run loop acts on them at its next check.
#include <utility>

#include "engine/engine.h"
#include "engine/engine_state.h"
#include "wire/number_text.h"

namespace zorva {

const TZorvaStatus& ZorvaStatus() {
    return TheEngine().Status;
}
double SimTime() {
    return TheEngine().Status.SimTime;
}
ZorvaProcessElement* CurrentElement() {
    return TheEngine().Status.CurrentElement;
}
std::uint8_t RunState() {
    return TheEngine().Status.RunState;
}
bool StepMode() {
    return TheEngine().StepMode;
}
std::string ClockText() {
    return FormatFixedRight(SimTime(), 10);
}

void InterruptRun() {
    TheEngine().Status.RunState = rsInterrupted;
}

void ResumeRun() {
    Engine& e = TheEngine();
    if (e.StepMode) {
        e.Status.RunState = rsStepping;
        e.Status.Proceed = true;
    } else {
        e.Status.RunState = rsRunning;
    }
}

void EnterStepMode() {
    Engine& e = TheEngine();
    e.Status.RunState = rsStepping;
    e.Status.Proceed = false;
    e.StepMode = true;
}

void LeaveStepMode() {
    Engine& e = TheEngine();
    e.StepMode = false;
    if (e.Status.RunState > rsEnded) {
        e.Status.RunState = rsRunning;
        e.Status.Proceed = true;
    }
}

void StepOnce() {
    TheEngine().Status.Proceed = true;
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
    TheEngine().Status.ServerAddress = address;
}

std::string TakeStatusText() {
    return std::exchange(TheEngine().Status.StatusText, std::string());
}

void SetDisplayCallback(std::function<void()> callback) {
    TheEngine().DisplayCallback = std::move(callback);
}
void SetEventProcessor(std::function<void()> processEvents) {
    TheEngine().ProcessEvents = std::move(processEvents);
}
void SetPaceHook(std::function<void(double t)> hook) {
    TheEngine().PaceHook = std::move(hook);
}
void SetServerLink(ServerLink* link) {
    TheEngine().Link = link;
}

}  // namespace zorva
