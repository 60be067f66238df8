#pragma once
/// \file
/// The engine's view of a model element: what switching and scheduling need.
/// Model classes derive from the kernel's ZorvaElement, which derives from this.

#include <cstdint>
#include <string>

#include "engine/element_status.h"
#include "engine/stack_segment.h"

namespace zorva {

struct EventNotice;

class ZorvaProcessElement {
public:
    ZorvaProcessElement(std::string name, double arrivalTime);
    ZorvaProcessElement(const ZorvaProcessElement&) = delete;
    ZorvaProcessElement& operator=(const ZorvaProcessElement&) = delete;
    /// Leaves the sequencing set if still in it and releases a saved stack, so
    /// freeing an element never leaves a dangling notice or leaks its segment.
    virtual ~ZorvaProcessElement();

    /// The element's life. Never returns: it ends through Finish,
    /// FinishAndDestroy or StopAndLeave, or stays suspended for ever. The
    /// default warns that the class has no process and gives up the processor.
    virtual void Process();

    /// Enters the sequencing set: at Time on the time list, or on the state
    /// list when Time lies before the clock. Continues from SavedStack if the
    /// element has one, otherwise starts Process afresh.
    void ScheduleProcess(double Time);
    /// Leaves the sequencing set, discarding the suspended process.
    void RemoveProcess(bool ToData);
    /// Leaves the sequencing set, keeping the suspended process in SavedStack.
    void InterruptProcess();
    void CancelProcess();
    /// Discards the saved process of an element without a notice.
    void CancelResume();
    bool Scheduled() const { return notice_ != nullptr; }

    std::string Name;
    ResumePointKind ResumePoint = ResumePointKind::None;
    StackSegment SavedStack;
    std::uint8_t Status = esData;
    double ArrivalTime = 0.0;
    double EventTime = NeverTime;

private:
    friend class SequencingSet;
    void TakeOutKeepingProcess(std::uint8_t newStatus);

    /// Back link to the element's notice: finding it costs nothing, whatever
    /// the length of the lists.
    EventNotice* notice_ = nullptr;
};

}  // namespace zorva
