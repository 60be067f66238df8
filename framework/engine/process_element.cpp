#include "engine/process_element.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/engine_state.h"
#include "engine/fatal_error.h"
#include "wire/number_text.h"

namespace zorva {

ZorvaProcessElement::ZorvaProcessElement(std::string name, double arrivalTime)
    : Name(std::move(name)), ArrivalTime(arrivalTime) {}

ZorvaProcessElement::~ZorvaProcessElement() {
    Engine& e = TheEngine();
    if (e.Status.CurrentElement == this) FatalError("Error(Destroy): " + Name + " is destroyed while its process runs");
    if (notice_) {
        EventNotice* notice = notice_;
        e.Set.Unlink(notice);
        delete notice;
        ReportNewEvent();
    }
    auto& pending = e.DestroyList;
    pending.erase(std::remove(pending.begin(), pending.end(), this), pending.end());
}

void ZorvaProcessElement::Process() {
    ShowWarning(ClockText() + " Warning: " + Name + " has no process defined");
    EnterScheduler();
}

void ZorvaProcessElement::ScheduleProcess(double Time) {
    Engine& e = TheEngine();
    if (notice_) FatalError("Error(ScheduleProcess): " + Name + " is already scheduled");
    if (std::isnan(Time)) FatalError("Error(ScheduleProcess): " + Name + " scheduled at a time that is not a number");
    CheckLookaheadKept(*this, Time);
    // The notice takes the saved process, if any, out of SavedStack.
    if (!SavedStack) ResumePoint = ResumePointKind::ProcessEntry;
    if (e.Status.SimTime > Time)
        ScheduleOnState(this, false, std::move(SavedStack));
    else
        ScheduleOnTime(this, Time, std::move(SavedStack));
}

void ZorvaProcessElement::RemoveProcess(bool ToData) {
    if (!notice_) FatalError("Error(RemoveProcess): " + Name + " is not scheduled");
    Engine& e = TheEngine();
    EventNotice* notice = notice_;
    e.Set.Unlink(notice);
    delete notice;  // discards the suspended process with it
    EventTime = NeverTime;
    Status = ToData ? esData : esPassive;
    ReportNewEvent();
}

void ZorvaProcessElement::TakeOutKeepingProcess(std::uint8_t newStatus) {
    if (!notice_) FatalError("Error(InterruptProcess): " + Name + " is not scheduled");
    Engine& e = TheEngine();
    EventNotice* notice = notice_;
    e.Set.Unlink(notice);
    SavedStack = std::move(notice->SavedStack);
    delete notice;
    Status = newStatus;
    EventTime = NeverTime;
    ReportNewEvent();
}

void ZorvaProcessElement::InterruptProcess() {
    TakeOutKeepingProcess(esInterrupted);
}

void ZorvaProcessElement::CancelProcess() {
    TakeOutKeepingProcess(esPassive);
}

void ZorvaProcessElement::CancelResume() {
    SavedStack = StackSegment();
    Status = esData;
}

}  // namespace zorva
