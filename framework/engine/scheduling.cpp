// The engine's instance and the scheduling operations that keep the notices,
// the elements' status and the server's view in step.
#include <utility>

#include "engine/block_pools.h"
#include "engine/engine.h"
#include "engine/engine_state.h"
#include "engine/fatal_error.h"
#include "engine/process_element.h"
#include "engine/server_link.h"
#include "wire/protocol.h"

namespace zorva {

Engine* TheEngineInstance() {
    // Never destroyed: elements freed by static destructors after main may
    // still reach the sequencing set.
    static Engine* engine = new Engine;
    return engine;
}

Engine* const theEngine = TheEngineInstance();

void ScheduleOnTime(ZorvaProcessElement* element, double t, StackSegment&& segment) {
    Engine& e = TheEngine();
    if (e.Delivery && e.Link && e.Link->RunsAhead())
        e.Set.InsertTimedFrom(element, t, e.Status.SimTime, std::move(segment), e.Delivery->Origin);
    else
        e.Set.InsertTimed(element, t, e.Status.SimTime, std::move(segment));
    element->Status = esScheduledOnTime;
    element->EventTime = t;
    ReportNewEvent();
}

void ScheduleOnState(ZorvaProcessElement* element, bool reentry, StackSegment&& segment) {
    Engine& e = TheEngine();
    e.Set.InsertState(element, e.Status.SimTime, reentry, std::move(segment));
    element->Status = esScheduledOnState;
    element->EventTime = e.Status.SimTime;
    ReportNewEvent();
}

void SendEarliestEvent() {
    Engine& e = TheEngine();
    const TZorvaStatus& st = e.Status;
    if (st.ServerAddress.empty() || st.CurrentElement || st.RunState < rsInterrupted || !e.Link) return;
    SequencingSet& s = e.Set;
    // During a scan of the state list the chosen notice stays: a timed event
    // taken now would run without the clock advancing to its time.
    double t = st.SimTime;
    if (!s.ScanningStateList) {
        s.ChosenNotice = s.FirstTimed();
        t = s.ChosenNotice->Time;
    } else if (s.ChosenNotice) {
        t = s.ChosenNotice->Time;
    }
    const double earliest = t >= e.StopTime ? e.StopTime : t;
    if (!e.Link->RunsAhead())
        e.Link->SendNewEvent(earliest);
    else if (e.AwaitingServer)
        e.Link->SendContinue(earliest);  // asks again, counting what it handled
}

void CheckLookaheadKept(const ZorvaProcessElement& element, double t) {
    Engine& e = TheEngine();
    if (!e.Delivery || !e.Link || !e.Link->RunsAhead() || t >= e.Status.SimTime) return;
    const TextDelivery& text = *e.Delivery;
    FatalError(ClockText() + " Error(lookahead): the text that " + text.Sender + " sent at " +
               FormatTime(text.Origin.Stamp) + " starts " + element.Name + " at " + FormatTime(t) + ", before " +
               FormatTime(e.Status.SimTime) + ", which " + text.Receiver + " has already reached: the lookahead that " +
               text.Sender + " promised was not kept");
}

void ResetEngine() {
    Engine& e = TheEngine();
    e.Set.Clear();
    e.DestroyList.clear();
    e.Status = TZorvaStatus();
    e.InRun = false;
    e.StopTime = NeverTime;
    e.BreakTime = -1.0;
    e.KeyBreak = -1.0;
    e.StepMode = false;
    e.ServerAnswered = false;
    e.PassAbandoned = false;
    e.Delivering = false;
    e.Delivery = nullptr;
    e.AwaitingServer = false;
    e.RequestGranted = false;
    e.YieldCounter = e.YieldReload = 1;
    FlushBlockPools();
}

}  // namespace zorva
