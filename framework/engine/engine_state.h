#pragma once
// The engine's single instance of switching and scheduling state. Internal to
// the engine's own files.

#include <deque>
#include <functional>

#include "engine/run_status.h"
#include "engine/sequencing_set.h"
#include "engine/stack_segment.h"
#include "engine/stack_switch.h"

namespace zorva {

class ServerLink;

struct Engine {
    TZorvaStatus Status;
    SequencingSet Set;
    std::deque<ZorvaProcessElement*> DestroyList;
    RunContext Context{};
    bool InRun = false;

    double StopTime = NeverTime;
    double BreakTime = -1.0;
    double KeyBreak = -1.0;
    bool StepMode = false;
    bool ServerAnswered = false;
    bool PassAbandoned = false;              // "$$stop:" arrived while a pass waited
    bool Delivering = false;                 // an incoming text is being handed to the model
    const TextDelivery* Delivery = nullptr;  // the text being handed over, if it is one
    bool AwaitingServer = false;             // a pass waits for the server's answer
    bool RequestGranted = false;             // the answer was "$$continue:", not a horizon
    int YieldCounter = 1;
    int YieldReload = 1;

    std::function<void()> DisplayCallback;
    std::function<void()> ProcessEvents;
    std::function<void(double)> PaceHook;
    ServerLink* Link = nullptr;
};

// Created during static initialisation, before any model code runs; the
// function serves static initialisers of other files that run earlier.
Engine* TheEngineInstance();
extern Engine* const theEngine;
inline Engine& TheEngine() {
    return theEngine ? *theEngine : *TheEngineInstance();
}

// Internal scheduling operations shared by the element methods and the primitives.
// The notice takes over segment: the process to continue, empty for a fresh start.
void ScheduleOnTime(ZorvaProcessElement* element, double t, StackSegment&& segment);
void ScheduleOnState(ZorvaProcessElement* element, bool reentry, StackSegment&& segment);
// The report of the earliest event to the server, also made after every
// incoming text.
void SendEarliestEvent();
// After every scheduling. While an incoming text is handed over, one report
// follows it instead; a model without a server link has nobody to report to.
inline void ReportNewEvent() {
    const Engine& e = TheEngine();
    if (!e.Delivering && e.Link) SendEarliestEvent();
}
// A model running ahead that reads a text late: handling it must not start
// anything before the time the model has already reached.
void CheckLookaheadKept(const ZorvaProcessElement& element, double t);
[[noreturn]] void EnterScheduler();

}  // namespace zorva
