#include "kernel/element.h"

#include <limits>

#include "engine/engine.h"
#include "engine/fatal_error.h"
#include "kernel/kernel_setup.h"
#include "kernel/trace.h"

namespace zorva {
namespace {

void ShowElementCount() {
    ShowStatusBarText(1, "Elements: " + std::to_string(Elements().Length));
}

ZorvaProcessElement* RunningElement(const char* operation) {
    ZorvaProcessElement* current = CurrentElement();
    if (!current) FatalError(std::string("Error(") + operation + "): no current Element");
    return current;
}

void TraceCurrent(const ZorvaProcessElement& current, const std::string& event, double value = -1.0) {
    TraceLine(TimeString(), current.Name, event, value);
}

}  // namespace

std::string StatusText(std::uint8_t status) {
    switch (status) {
        case esData:
            return "Data";
        case esClaiming:
            return "Claiming";
        case esPassive:
            return "Passive";
        case esInterrupted:
            return "Interrupted";
        case esScheduledOnTime:
            return "Scheduled on Time";
        case esScheduledOnState:
            return "Scheduled on State";
        case esCurrent:
            return "Current";
        default:
            return "Unknown status " + std::to_string(status);
    }
}

ZorvaElement::ZorvaElement(std::type_index processKey, std::string_view name)
    : ZorvaProcessElement(NextElementName(processKey, name), SimTime()) {
    Memberships.MakeMemberHead();
    const bool allowed = TraceAllowed();
    SetTraceAllowed(false);
    EnterQueue(Elements());
    SetTraceAllowed(allowed);
    ShowElementCount();
    Trace("created");
}

ZorvaElement::~ZorvaElement() {
    // Checked before anything changes, so a fatal end leaves no half-destroyed element behind.
    if (CurrentElement() == this)
        FatalError(TimeString() + " Error(Destroy): " + Name + " is destroyed while its process runs");
    while (Memberships.MemberNext != &Memberships) {
        ZorvaQueue& queue = *Memberships.MemberNext->OwnerQueue;
        const std::uint16_t before = queue.Length;
        queue.Remove(*this);
        // A derived Remove that keeps the member would leave a dangling node.
        if (queue.Length >= before)
            FatalError(TimeString() + " Error(Destroy): " + Name + " was not removed from " + queue.Name);
    }
    ShowElementCount();
}

void ZorvaElement::Trace(const std::string& event, double value) const {
    TraceLine(TimeString(), Name, event, value);
}

void ZorvaElement::Start(double Time) {
    if (Status > esPassive) FatalError(TimeString() + " Error(StartProcess): " + Name + " already scheduled");
    if (Status == esClaiming || Status == esPassive)
        FatalError(TimeString() + " Error(StartProcess): " + Name + " passive or waiting");
    Trace("starts at", Time);
    ScheduleProcess(Time);
}

void ZorvaElement::Resume(double Time) {
    if (Status == esData || Status > esInterrupted)
        FatalError(TimeString() + " Error(ResumeProcess): " + Name + " not passive");
    if (SimTime() > Time) FatalError(TimeString() + " Error(ResumeProcess): " + Name + " resumes before now");
    if (Status == esInterrupted) {
        if (RemainingTime == -2.0) {
            // Interrupted while waiting on state: back to the state list now,
            // or on time at a later Time, never earlier than asked.
            ScheduleProcess(Time == SimTime() ? -std::numeric_limits<double>::infinity() : Time);
        } else {
            ScheduleProcess(Time + RemainingTime);
        }
        Trace("resumes");
        RemainingTime = -1.0;
    } else {
        ScheduleProcess(Time);
        Trace("resumes at ", Time);
    }
}

void ZorvaElement::Stop() {
    RemainingTime = -1.0;
    if (CurrentElement() == this) Finish();
    if (Scheduled()) {
        Trace(" finished");
        RemoveProcess(true);
    } else if (Status == esData) {
        FatalError("Error(Stop): State of " + Name + " is DATA");
    } else {
        // Passive, claiming or interrupted: the suspended process ends here,
        // so a later Start begins Process anew.
        CancelResume();
    }
}

void ZorvaElement::StopAndLeave() {
    if (CurrentElement() == this) FinishAndDestroy();
    if (Scheduled()) {
        Trace(" finished");
        RemoveProcess(true);
    } else if (Status == esData) {
        FatalError("Error(Stop): State of " + Name + " is DATA");
    }
    delete this;
}

void ZorvaElement::Cancel() {
    if (Status == esData || Status == esClaiming || Status == esCurrent)
        FatalError("Error(Cancel): " + Name + " is not scheduled or " + "interrupted");
    if (Scheduled()) CancelProcess();
    Status = esData;
    RemainingTime = -1.0;
}

void ZorvaElement::Interrupt() {
    if (Status <= esInterrupted)
        FatalError("Error(Interrupt): " + Name + " is not scheduled " + "or already interrupted");
    // The running process cannot step out of the sequencing set it is not in;
    // an interrupt that silently does nothing would hide a model error.
    if (Status == esCurrent)
        FatalError(TimeString() + " Error(Interrupt): " + Name + " is the current element and cannot be interrupted");
    RemainingTime = Status == esScheduledOnTime ? EventTime - SimTime() : -2.0;
    InterruptProcess();
    Trace(" interrupted");
}

double ZorvaElement::QueueTime(const ZorvaQueue& queue) const {
    // The first membership is always Elements, which is not asked about.
    for (const TNode* node = Memberships.MemberNext->MemberNext; node != &Memberships; node = node->MemberNext)
        if (node->OwnerQueue == &queue) return node->EntryTime;
    FatalError("Error(GetQueueTime): " + Name + " is not in queue " + queue.Name);
}

std::string ZorvaElement::StatusToString() const {
    return StatusText(Status);
}

void ZorvaElement::WriteTrace(const std::string& Text) const {
    WriteElementTrace(Name, Text);
}

void Hold(double Duration) {
    ZorvaProcessElement* current = RunningElement("Hold");
    TraceCurrent(*current, "holds until", SimTime() + Duration);
    HoldProcess(Duration);
}

void StandBy() {
    TraceCurrent(*RunningElement("StandBy"), "goes into StandBy");
    StandByProcess();
}

void Passivate() {
    ZorvaProcessElement* current = RunningElement("Passivate");
    const auto* element = dynamic_cast<const ZorvaElement*>(current);
    if (element && element->ClaimFlag) {
        current->Status = esClaiming;
        TraceCurrent(*current, "starts claiming");
    } else {
        current->Status = esPassive;
        TraceCurrent(*current, "suspends");
    }
    PassivateProcess();
}

void Finish() {
    TraceCurrent(*RunningElement("finish"), " finished");
    FinishProcess();
}

void FinishAndDestroy() {
    TraceCurrent(*RunningElement("FinishAndDestroy"), " finished and destroyed");
    FinishAndDestroyProcess();
}

}  // namespace zorva
