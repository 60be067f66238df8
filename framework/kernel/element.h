#pragma once
/// \file
/// The element as models see it. A model class derives from ZorvaElement,
/// overrides Process with the element's life written as sequential code, and
/// passes `this` with the name so the kernel knows which Process it runs:
///
///   class TShip : public ZorvaElement {
///   public:
///       explicit TShip(const std::string& name) : ZorvaElement(this, name) {}
///       void Process() override { ... Hold(2.0); ... FinishAndDestroy(); }
///   };
///   new TShip("ShipL");   // ShipL, then ShipL2, ShipL3, ...
///
/// Elements are created with new: the kernel owns them until StopAndLeave, or
/// until the pass after FinishAndDestroy.

#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>

#include "engine/process_element.h"
#include "kernel/element_registry.h"
#include "kernel/queue.h"
#include "kernel/queue_node.h"

namespace zorva {

class ZorvaElement : public ZorvaProcessElement {
public:
    /// Counts the name under the class that declares the Process this class
    /// runs; a class that inherits Process shares its ancestor's count.
    /// Process must be public for that lookup.
    template <class Self>
    ZorvaElement(Self* /*self*/, std::string_view name) : ZorvaElement(ProcessKeyOf<Self>(), name) {
        static_assert(std::is_base_of_v<ZorvaElement, Self>, "pass this from a class derived from ZorvaElement");
    }
    /// Leaves every queue, oldest membership first. A scheduled element also
    /// leaves the sequencing set and a suspended process is freed with it;
    /// destroying the running element is fatal.
    ~ZorvaElement() override;

    /// Begins the element's Process at Time; fatal if it is already
    /// scheduled, passive or waiting.
    void Start(double Time);
    /// Continues a passive (or interrupted) element at Time, which may not lie
    /// before now; fatal for an element that is not passive.
    void Resume(double Time);
    /// Ends the element's life where it stands; a later Start begins Process
    /// anew. The current element finishes.
    void Stop();
    /// Destroys the element unless it is the current one, which is destroyed
    /// at the run loop's next pass. Do not use the pointer afterwards.
    void StopAndLeave();
    /// Takes a scheduled or interrupted element out of the run; it becomes
    /// plain data until it is started again.
    void Cancel();
    /// Takes a scheduled element out of the sequencing set, keeping what was
    /// left of its hold for Resume; fatal for the current element.
    void Interrupt();
    void Pause() { Interrupt(); }

    /// Queue membership: an element may be in several queues at once, and
    /// each queue counts its statistics as elements enter and leave.

    void EnterQueue(ZorvaQueue& queue) { queue.AddToTail(*this); }
    void EnterQueueInFront(ZorvaQueue& queue) { queue.AddToHead(*this); }
    void EnterQueueSorted(ZorvaQueue& queue, const SortPredicate& predicate) { queue.AddSorted(*this, predicate); }
    void LeaveQueue(ZorvaQueue& queue) { queue.Remove(*this); }
    ZorvaElement* Successor(const ZorvaQueue& queue) const { return queue.Successor(*this); }
    ZorvaElement* Predecessor(const ZorvaQueue& queue) const { return queue.Predecessor(*this); }
    bool IsInQueue(const ZorvaQueue& queue) const { return queue.Contains(this); }
    double QueueTime(const ZorvaQueue& queue) const;

    std::string StatusToString() const;
    /// The model's own trace line for this element; not switched off with the trace.
    void WriteTrace(const std::string& Text) const;

    TNode Memberships;
    double RemainingTime = -1.0;  // -2.0: interrupted while scheduled on state
    bool ClaimFlag = false;

private:
    ZorvaElement(std::type_index processKey, std::string_view name);
    void Trace(const std::string& event, double value = -1.0) const;
};

/// The text of a status code ("Data" ... "Current").
std::string StatusText(std::uint8_t status);

// --- what the running element does to itself --------------------------------
/// Lets Duration time units pass for the current element.
void Hold(double Duration);
/// Waits on the state list, examined between any two timed events: for
/// waiting on a condition rather than on a time (check it, StandBy, again).
void StandBy();
/// Waits, without a time, until another element calls Resume.
void Passivate();
/// Ends the current element's life; the element stays as data.
[[noreturn]] void Finish();
/// Ends the current element's life and destroys it at the next pass.
[[noreturn]] void FinishAndDestroy();

}  // namespace zorva
