#pragma once
/// \file
/// The process engine's public face: run control for the window, the clock
/// for everyone, the suspend primitives for the kernel, and the hooks through
/// which a window (or a test) plugs in.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/element_status.h"
#include "engine/run_status.h"
#include "engine/text_origin.h"

namespace zorva {

class ZorvaProcessElement;
class ServerLink;

// --- reading the run status -------------------------------------------------
const TZorvaStatus& ZorvaStatus();
double SimTime();
ZorvaProcessElement* CurrentElement();
std::uint8_t RunState();
bool StepMode();
/// The clock right-aligned in 10 characters with 2 decimals.
std::string ClockText();

// --- run control (window handlers call these between two process steps) ---
/// Runs scheduler passes until no event remains before the stop time; returns
/// when the run has ended. A program makes one run.
void RunSimulation();
void InterruptRun();
void ResumeRun();
void EnterStepMode();
void LeaveStepMode();
void StepOnce();
void RequestKeyBreak(char key);
void SetBreakTime(double t);  // -1: none
double BreakTime();
void SetStopTime(double t);
double StopTime();
std::string TakeStatusText();
void SetDisplayCallback(std::function<void()> callback);

// --- suspend and finish primitives for the current element ----------------
void HoldProcess(double Delta);
void StandByProcess();
void PassivateProcess();
[[noreturn]] void FinishProcess();
[[noreturn]] void FinishAndDestroyProcess();

// --- plugging in -------------------------------------------------------------
/// Processes pending window events. The run loop calls it once per pass and
/// while it waits (interrupted, stepping, waiting for the server).
void SetEventProcessor(std::function<void()> processEvents);
void ProcessPendingEvents();
/// Called while running, before a pass goes on to its chosen event at time t
/// (beyond the stop time when the run is about to end): a window that paces
/// the run in wall-clock time waits here, processing window events.
void SetPaceHook(std::function<void(double t)> hook);
void SetServerLink(ServerLink* link);

// --- the connection's operations on the run status --------------------------
/// The address of the message server for the run; empty runs the model alone.
/// The connection's SetServerAddress is the one setter and calls this.
void AssignServerAddress(const std::string& address);
/// A connection status or problem for the trace: StatusText, then the
/// display callback.
void ShowConnectionStatus(const std::string& text);

// --- answers from the server (called by the connection while a pass waits) --
/// "$$continue:" t. t is only the request rounded to two decimals, so it never
/// sets the clock: the resumed event brings its own exact time.
void ServerGrantedTime(double t);
/// "$$horizon:" H, to a model running ahead: every event before H may run;
/// the connection keeps H (see ServerLink::WithinHorizon).
void ServerGrantedHorizon();
/// "$$stop:" t: the waiting pass is abandoned and a new one starts once the
/// wait has returned, never from inside the handler that read the line (a
/// model running ahead goes on with what it chose).
void ServerStoppedAt(double t);
/// The greeting's time: the clock starts there and every pending timed event
/// moves forward by it.
void StartClockAt(double t);
/// The time of a text or a "$$simtime:" line. Between steps the clock moves
/// forward to it, but never past the earliest pending event: times travel
/// rounded to two decimals, and an event that ran later than its own time
/// would shift everything it schedules, differently from run to run. Inside
/// a step (a text read while AskModel waits) or a pass over the state list,
/// the clock stays where the elements see it; a model running ahead keeps
/// its own. The clock never moves backwards.
void ClockFromServer(double t);
/// After an incoming text or question that the connection keeps for the
/// model: the link hands it to the model's handler and the display callback
/// follows, as for every call of the display callback; then the server is
/// told of the earliest event, whether or not the handler created one, when
/// the model is between steps (running ahead: asked again while it waits).
/// A text comes with where it came from: read late by a model running
/// ahead, what it creates is put in order as of its time, and an event
/// before the time the model has reached is a broken promise.
void DeliverIncoming(const TextDelivery* text = nullptr);

/// Program end followed by a fresh start-up: frees every notice, resets the
/// run status and the engine values. Elements are the kernel's to free.
void ResetEngine();

}  // namespace zorva
