// The scheduler pass and the switch into and out of processes.
//
// Rule for everything below StackBase: a pass never returns. It either
// resumes a process (copying its segment over the pass's own frames) or ends
// the run by jumping back to RunSimulation's caller. Frames abandoned that way
// must hold no live object with a destructor at the moment of the jump.

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/engine_state.h"
#include "engine/fatal_error.h"
#include "engine/process_element.h"
#include "engine/sanitizer_support.h"
#include "engine/server_link.h"
#include "wire/number_text.h"

namespace zorva {

namespace {
// Every pass calls it: inline, where the compiler would otherwise call the
// exported function.
[[gnu::always_inline]] inline void ProcessWindowEvents() {
    Engine& e = TheEngine();
    if (e.ProcessEvents) e.ProcessEvents();
}
}  // namespace

// Here rather than with the run control's setters: the pass shares its body.
void ProcessPendingEvents() {
    ProcessWindowEvents();
}

namespace {

enum class SuspendKind { Hold, StandBy, Passivate };

struct SuspendRequest {
    SuspendKind Kind;
    double Delta;
};

// The request of the suspension under way. Kept here rather than in the
// suspending frame, so that zorva_suspend is the primitive's last call: the
// compiler then jumps to it instead of calling it, the primitive's own frame
// is neither saved nor restored, and the resumption returns straight into the
// model's code.
SuspendRequest suspendRequest{SuspendKind::Hold, 0.0};

// Every resumption calls it; unconnected and without a window it does
// nothing, which the inline test finds without a call.
[[gnu::noinline]] void HandOverAndDisplay() {
    Engine& e = TheEngine();
    if (e.Link) e.Link->HandOverToModel();
    if (e.DisplayCallback) e.DisplayCallback();
}

[[gnu::always_inline]] inline void CallDisplay() {
    const Engine& e = TheEngine();
    if (e.Link || e.DisplayCallback) HandOverAndDisplay();
}

void DestroyFinishedElements() {
    Engine& e = TheEngine();
    while (!e.DestroyList.empty()) {
        ZorvaProcessElement* element = e.DestroyList.front();
        e.DestroyList.pop_front();
        delete element;
    }
}

// Every element on the state list is examined once, at the current clock,
// between any two timed events; after a complete scan one timed event is taken.
void ChooseNotice() {
    Engine& e = TheEngine();
    SequencingSet& s = e.Set;
    if (s.StateListEmpty()) {
        s.ScanningStateList = false;
        s.ScanPosition = nullptr;
        s.ChosenNotice = s.FirstTimed();
    } else if (!s.ScanningStateList) {
        s.ChosenNotice = s.StateList.Next;
        s.ScanningStateList = true;
        s.ScanPosition = s.ChosenNotice->Next;
    } else if (s.ScanPosition == &s.StateList) {
        s.ScanningStateList = false;
        s.ScanPosition = nullptr;
        s.ChosenNotice = s.FirstTimed();
    } else {
        s.ChosenNotice = s.ScanPosition;
        s.ScanPosition = s.ScanPosition->Next;
    }
    if (s.ScanningStateList) s.ChosenNotice->Time = e.Status.SimTime;
}

// The clock never moves backwards: a break time already behind the clock is
// no break, and a key break never sets the clock back.
[[gnu::noinline]] void BreakRun() {
    Engine& e = TheEngine();
    TZorvaStatus& st = e.Status;
    if (e.KeyBreak != -1.0) {
        st.SimTime = std::max(st.SimTime, e.KeyBreak);
        e.KeyBreak = -1.0;
    } else {
        st.SimTime = e.BreakTime;
        e.BreakTime = -1.0;
    }
    st.RunState = rsInterrupted;
    CallDisplay();
}

inline void HonourBreaks() {
    const Engine& e = TheEngine();
    const TZorvaStatus& st = e.Status;
    const bool breakTimeReached =
        e.BreakTime != -1.0 && e.BreakTime >= st.SimTime && e.Set.ChosenNotice->Time >= e.BreakTime;
    if (breakTimeReached || e.KeyBreak != -1.0) [[unlikely]]
        BreakRun();
}

// A space pressed while a pass processes events interrupts that same pass,
// before its event runs: the run stops with the clock the user saw, instead
// of one event later with the clock set back.
void HonourKeyBreak() {
    if (TheEngine().KeyBreak != -1.0) HonourBreaks();
}

// The pace hook processes window events while it waits: a handler may have
// interrupted the run, pressed the space key or taken the chosen element out.
void PaceTheRun() {
    Engine& e = TheEngine();
    if (!e.PaceHook || e.Status.RunState != rsRunning || !e.Set.ChosenNotice) return;
    e.PaceHook(e.Set.ChosenNotice->Time);
    if (e.Set.ChosenNotice) HonourKeyBreak();
}

bool MayResume() {
    const TZorvaStatus& st = TheEngine().Status;
    const bool active = st.RunState == rsEnded || st.RunState == rsRunning || st.RunState == rsStepping;
    return active && st.Proceed;
}

// Waits for the user: an interrupted run, or step mode between two steps.
void WaitForPermissionToProceed() {
    Engine& e = TheEngine();
    while (!MayResume()) {
        if (!e.ProcessEvents)
            FatalError("Error(Run): the run waits to be resumed, but nothing processes window events");
        e.ProcessEvents();
        HonourKeyBreak();
    }
}

// Asks the server for time t and waits for its answer. False when the answer
// was "$$stop:": the pass is then abandoned and a new one starts.
bool AwaitServer(double t) {
    Engine& e = TheEngine();
    if (e.Link->WithinHorizon(t)) return true;
    e.PassAbandoned = false;
    e.ServerAnswered = false;
    e.RequestGranted = false;
    e.AwaitingServer = true;
    e.Link->SendContinue(t);
    while (!e.ServerAnswered && !e.Link->ConnectionClosed()) e.Link->WaitForServer();
    e.AwaitingServer = false;
    return e.ServerAnswered && !e.PassAbandoned;
}

// A text handled during the wait may have changed the chosen notice: an
// earlier event is covered by the grant, a later one (or none) is asked for
// again. A horizon covers what lies before it, and nothing else: it may
// answer an earlier request than the last.
bool GrantCovers(double requested) {
    const Engine& e = TheEngine();
    const EventNotice* n = e.Set.ChosenNotice;
    if (!n || e.Set.IsSentinel(n) || n->Time >= e.StopTime) return false;
    return (e.RequestGranted && n->Time <= requested) || e.Link->WithinHorizon(n->Time);
}

// A model running ahead never chooses anew because of what the server
// says: answers to requests it made before, the end of the run and texts
// come at no fixed moment, and every new pass would examine the state list
// once more. Its state list is examined once after every timed event,
// whenever the lines come. Null when a new pass must choose: the clock has
// reached the end, the connection is gone, or a handler took the chosen
// element out.
EventNotice* PermissionRunningAhead() {
    Engine& e = TheEngine();
    TZorvaStatus& st = e.Status;
    for (;;) {
        const EventNotice* chosen = e.Set.ChosenNotice;
        if (!chosen || e.Link->ConnectionClosed()) return nullptr;
        if (chosen->Time < e.StopTime) {
            const double requested = chosen->Time;
            if (AwaitServer(requested) && GrantCovers(requested)) return e.Set.ChosenNotice;
        } else if (st.SimTime < e.StopTime) {
            // A text read meanwhile may have created an event before the end.
            const bool answered = AwaitServer(e.StopTime);
            const bool endGranted = e.RequestGranted || e.Link->WithinHorizon(e.StopTime);
            if (answered && endGranted && e.Set.FirstTimed()->Time >= e.StopTime) {
                st.SimTime = e.StopTime;
                return nullptr;
            }
        } else {
            return nullptr;
        }
    }
}

// A run that ends because the server is gone keeps its clock: nothing was
// granted beyond it, and jumping to a stop time nobody set (NeverTime) would
// report a clock the model never reached.
[[noreturn]] void EndRun(bool connectionLost = false) {
    Engine& e = TheEngine();
    TZorvaStatus& st = e.Status;
    if (!connectionLost && e.StopTime >= 0 && e.StopTime > st.SimTime) st.SimTime = e.StopTime;
    st.RunState = rsEnded;
    CallDisplay();
    e.InRun = false;
    SanitizerBeforeJump();
    zorva_run_leave(&e.Context);
}

// Steps 1 to 8 of a pass: returns the notice to resume, or ends the run.
EventNotice* ChooseWithPermission() {
    Engine& e = TheEngine();
    TZorvaStatus& st = e.Status;
    for (;;) {
        st.CurrentElement = nullptr;
        DestroyFinishedElements();
        ChooseNotice();
        HonourBreaks();
        if (st.RunState == rsStepping) st.Proceed = false;
        if (--e.YieldCounter <= 0) {
            ProcessWindowEvents();
            e.YieldCounter = e.YieldReload;
            HonourKeyBreak();
        }
        PaceTheRun();
        WaitForPermissionToProceed();
        // A handler may have taken the chosen element out while we waited.
        if (!e.Set.ChosenNotice) continue;

        const bool connected = !st.ServerAddress.empty() && e.Link;
        // Without a server nobody grants time any more: the run ends here.
        if (connected && e.Link->ConnectionClosed()) EndRun(true);
        if (connected && e.Link->RunsAhead() && (e.Set.ChosenNotice->Time < e.StopTime || st.SimTime < e.StopTime)) {
            if (EventNotice* granted = PermissionRunningAhead()) return granted;
            continue;
        }
        if (e.Set.ChosenNotice->Time < e.StopTime) {
            if (!connected) return e.Set.ChosenNotice;
            // Asked again, for what is chosen now, until the answer covers
            // it: choosing anew would start another pass over the state list
            // although no timed event has run.
            for (;;) {
                const EventNotice* chosen = e.Set.ChosenNotice;
                if (!chosen || e.Set.IsSentinel(chosen) || chosen->Time >= e.StopTime) break;
                const double requested = chosen->Time;
                if (!AwaitServer(requested)) break;  // "$$stop:": a new pass
                if (GrantCovers(requested)) return e.Set.ChosenNotice;
            }
            continue;
        }
        if (connected && st.SimTime < e.StopTime) {
            // The grant of the stop time brings the clock there, unless a
            // text meanwhile created an event before it.
            if (AwaitServer(e.StopTime) && e.Set.FirstTimed()->Time >= e.StopTime)
                st.SimTime = std::max(st.SimTime, e.StopTime);
            continue;
        }
        EndRun();
    }
}

// Out of line for the same reason as the hold's error paths below: the
// string temporaries would widen ProcessEntry's frame, which lies at the
// bottom of every saved segment.
[[noreturn, gnu::cold, gnu::noinline]] void ProcessReturned(const ZorvaProcessElement& element) {
    FatalError(ClockText() + " Error(Process): the process of " + element.Name +
               " returned; a process must end with Finish, FinishAndDestroy or StopAndLeave");
}

[[noreturn]] void ProcessEntry(void* element) {
    auto* self = static_cast<ZorvaProcessElement*>(element);
    self->Process();
    ProcessReturned(*self);
}

// Step 9: make the chosen element current and switch to it.
[[noreturn]] void ResumeChosen(EventNotice* notice) {
    Engine& e = TheEngine();
    SequencingSet& s = e.Set;
    TZorvaStatus& st = e.Status;
    ZorvaProcessElement* element = notice->Element;
    element->Status = esCurrent;
    st.CurrentElement = element;
    if (!s.ScanningStateList && st.SimTime != notice->Time) {
        // Unconnected the notice is never behind the clock; connected, a
        // text stamped with a rounded time may have moved the clock past it.
        st.SimTime = std::max(st.SimTime, notice->Time);
        s.InsertionPoint = notice->Next;
    }
    if (s.InsertionPoint == notice) s.InsertionPoint = notice->Next;
    element->EventTime = NeverTime;
    st.Switching = true;
    CallDisplay();
    st.Switching = false;

    s.Unlink(notice);
    void* block = notice->SavedStack.Release();
    delete notice;
    SanitizerBeforeJump();
    if (block) zorva_restore(block, e.Context.StackBase);
    zorva_call_on_region(e.Context.StackBase, reinterpret_cast<void*>(e.Context.Rbp), &ProcessEntry, element);
}

[[noreturn]] void SchedulerPass(void*) {
    ResumeChosen(ChooseWithPermission());
}

// Runs below the suspended process's segment, which is already saved in block.
[[noreturn]] void OnSuspend(void* request, void* block) {
    Engine& e = TheEngine();
    const auto& r = *static_cast<const SuspendRequest*>(request);
    ZorvaProcessElement* element = e.Status.CurrentElement;
    const ResumePointKind before = element->ResumePoint;
    switch (r.Kind) {
        case SuspendKind::Hold:
            element->ResumePoint = ResumePointKind::AfterHold;
            ScheduleOnTime(element, e.Status.SimTime + r.Delta, StackSegment::Adopt(block));
            break;
        case SuspendKind::StandBy:
            element->ResumePoint = ResumePointKind::AfterStandBy;
            ScheduleOnState(element, before == ResumePointKind::AfterStandBy, StackSegment::Adopt(block));
            break;
        case SuspendKind::Passivate:
            element->ResumePoint = ResumePointKind::AfterPassivate;
            element->SavedStack = StackSegment::Adopt(block);
            element->EventTime = NeverTime;
            break;
    }
    EnterScheduler();
}

// The error paths live out of line: their string temporaries would otherwise
// widen the frames that every suspension copies.
[[noreturn, gnu::cold, gnu::noinline]] void NoCurrentElement(const char* operation) {
    FatalError(std::string("Error(") + operation + "): no current Element");
}

[[noreturn, gnu::cold, gnu::noinline]] void BadHoldDuration(double delta) {
    const TZorvaStatus& st = TheEngine().Status;
    FatalError(FormatFixedRight(st.SimTime, 12) + " Error(Hold): " + st.CurrentElement->Name +
               " holds for a negative or invalid duration " + FormatFixed(delta));
}

// A hold whose end is the run's very next event, in a run that nothing
// watches between two events (unconnected, no window's hooks, no break, not
// stepping): the pass would take this element again at once, with nothing
// else happening in between. The clock moves on without the switch, and
// everything the pass would leave behind is as it would leave it. Equal
// times do not qualify: the notices already there come first.
bool ResumesAtOnce(const Engine& e, double t) {
    const TZorvaStatus& st = e.Status;
    return t < e.Set.TimeList.Next->Time && t > st.SimTime && t < e.StopTime && e.Set.StateListEmpty() &&
           st.RunState == rsRunning && st.Proceed && !e.Link && st.ServerAddress.empty() && !e.Delivering &&
           e.BreakTime == -1.0 && e.KeyBreak == -1.0 && !e.DisplayCallback && !e.ProcessEvents && !e.PaceHook &&
           e.DestroyList.empty();
}

void ContinueAt(Engine& e, double t) {
    TZorvaStatus& st = e.Status;
    SequencingSet& s = e.Set;
    ZorvaProcessElement* element = st.CurrentElement;
    element->ResumePoint = ResumePointKind::AfterHold;
    element->Status = esCurrent;
    element->EventTime = NeverTime;
    st.SimTime = t;
    s.InsertionPoint = s.TimeList.Next;  // behind the notice the pass would have taken
    s.ChosenNotice = nullptr;
    if (--e.YieldCounter <= 0) e.YieldCounter = e.YieldReload;
}

void Suspend(const char* operation, SuspendKind kind, double delta) {
    Engine& e = TheEngine();
    if (!e.Status.CurrentElement) [[unlikely]]
        NoCurrentElement(operation);
    suspendRequest = {kind, delta};
    zorva_suspend(&suspendRequest, &OnSuspend, e.Context.StackBase);
}

}  // namespace

void EnterScheduler() {
    Engine& e = TheEngine();
    SanitizerBeforeJump();
    zorva_call_on_region(e.Context.StackBase, reinterpret_cast<void*>(e.Context.Rbp), &SchedulerPass, nullptr);
}

void RunSimulation() {
    Engine& e = TheEngine();
    TZorvaStatus& st = e.Status;
    if (e.InRun) FatalError("Error(RunSimulation): a run is already in progress");
    e.InRun = true;
    st.SimTime = 0.0;
    if (!e.StepMode) st.RunState = rsRunning;
    st.Proceed = true;
    if (!st.ServerAddress.empty() && e.Link) e.Link->ConnectToServer();
    zorva_run_enter(&e.Context, &SchedulerPass, nullptr);
}

void HoldProcess(double Delta) {
    Engine& e = TheEngine();
    if (e.Status.CurrentElement && !(Delta >= 0.0)) [[unlikely]]
        BadHoldDuration(Delta);
    if (e.Status.CurrentElement && ResumesAtOnce(e, e.Status.SimTime + Delta)) {
        ContinueAt(e, e.Status.SimTime + Delta);
        return;
    }
    Suspend("Hold", SuspendKind::Hold, Delta);
}

void StandByProcess() {
    Suspend("StandBy", SuspendKind::StandBy, 0.0);
}

void PassivateProcess() {
    Suspend("Passivate", SuspendKind::Passivate, 0.0);
}

void FinishProcess() {
    Engine& e = TheEngine();
    if (!e.Status.CurrentElement) FatalError("Error(finish): no current Element");
    e.Status.CurrentElement->Status = esData;
    EnterScheduler();
}

void FinishAndDestroyProcess() {
    Engine& e = TheEngine();
    if (!e.Status.CurrentElement) FatalError("Error(FinishAndDestroy): no current Element");
    e.Status.CurrentElement->Status = esData;
    e.DestroyList.push_back(e.Status.CurrentElement);
    EnterScheduler();
}

void ServerGrantedTime(double) {
    Engine& e = TheEngine();
    e.ServerAnswered = true;
    e.RequestGranted = true;
}

void ServerGrantedHorizon() {
    TheEngine().ServerAnswered = true;
}

void ServerStoppedAt(double t) {
    Engine& e = TheEngine();
    e.StopTime = t;
    e.ServerAnswered = true;
    e.PassAbandoned = true;
}

void StartClockAt(double t) {
    Engine& e = TheEngine();
    e.Status.SimTime = t;
    e.Set.ShiftTimes(t);
}

void ClockFromServer(double t) {
    Engine& e = TheEngine();
    TZorvaStatus& st = e.Status;
    // Inside a step, or during a pass over the state list, the elements see
    // the clock: it stays. A model running ahead may be past the time.
    if (st.CurrentElement || e.Set.ScanningStateList || (e.Link && e.Link->RunsAhead())) return;
    st.SimTime = std::max(st.SimTime, std::min(t, e.Set.FirstTimed()->Time));
}

void ShowConnectionStatus(const std::string& text) {
    TheEngine().Status.StatusText = text;
    CallDisplay();
}

void DeliverIncoming(const TextDelivery* text) {
    Engine& e = TheEngine();
    e.Delivering = true;
    e.Delivery = text;
    CallDisplay();
    e.Delivery = nullptr;
    e.Delivering = false;
    SendEarliestEvent();
}

}  // namespace zorva
