#pragma once
// The time list and the state list with their cursors. Pure bookkeeping: no
// switching, no clock of its own, no reporting to the server.

#include <cstddef>
#include <cstdint>

#include "engine/event_notice.h"
#include "engine/text_origin.h"
#include "engine/time_list_index.h"

namespace zorva {

class SequencingSet {
public:
    // indexLongLists false keeps the plain walk at every length (for measuring
    // what the index buys).
    explicit SequencingSet(bool indexLongLists = true);
    SequencingSet(const SequencingSet&) = delete;
    SequencingSet& operator=(const SequencingSet&) = delete;
    ~SequencingSet();

    // New notice on the time list at t, behind every notice with Time <= t.
    // simTime is the clock, which decides whether the insertion point moves.
    EventNotice* InsertTimed(ZorvaProcessElement* element, double t, double simTime, StackSegment&& segment);
    // The same for a notice that handling a text creates, read by a model
    // that may have run ahead of the text's time: among the notices of equal
    // Time it goes where it would have gone had the text been read at its
    // time, before those that were scheduled later.
    EventNotice* InsertTimedFrom(ZorvaProcessElement* element, double t, double simTime, StackSegment&& segment,
                                 const TextOrigin& origin);
    // New notice on the state list, at its tail or, for an element standing
    // by again during a pass, right before the pass's scan position.
    EventNotice* InsertState(ZorvaProcessElement* element, double simTime, bool reentry, StackSegment&& segment);

    // Takes a notice out of its list, moving the insertion point and the scan
    // position off it first, and clears its element's link to it. The caller
    // owns the notice afterwards.
    void Unlink(EventNotice* notice);

    EventNotice* FirstTimed() { return TimeList.Next; }
    bool StateListEmpty() const { return StateList.Next == &StateList; }
    bool Empty() const { return StateListEmpty() && TimeList.Next == &TimeList; }
    bool IsSentinel(const EventNotice* n) const { return n == &TimeList || n == &StateList; }

    // Adds delta to every timed notice except those at NeverTime (and to its
    // element's EventTime). Adding one amount keeps the order.
    void ShiftTimes(double delta);

    // Frees every notice (and the segments they own); the lists end empty.
    void Clear();

    EventNotice TimeList;
    EventNotice StateList;
    // Every notice before it has Time <= the clock: searches for an insertion
    // place start here and never pass the notices of the current time again.
    EventNotice* InsertionPoint = &TimeList;
    bool ScanningStateList = false;
    EventNotice* ScanPosition = nullptr;
    EventNotice* ChosenNotice = nullptr;

    // Long time lists get an ordered index beside them, so that finding an
    // insertion place costs O(log n) instead of a walk over every notice.
    // It yields exactly the place the walk would find.
    bool Indexed() const { return indexActive_; }

private:
    static constexpr std::size_t kIndexAbove = 128;
    static constexpr std::size_t kIndexBelow = 48;

    EventNotice* TimedPositionByWalk(double t);
    EventNotice* TimedPositionByIndex(EventNotice* notice);
    // Called after every change of the time list's length: cheap when
    // nothing changes, which is nearly always.
    void UpdateIndexing() {
        if (indexActive_ ? timedCount_ < kIndexBelow : indexLongLists_ && timedCount_ > kIndexAbove) SwitchIndexing();
    }
    void SwitchIndexing();

    TimeListIndex index_;
    bool indexLongLists_;
    bool indexActive_ = false;
    std::size_t timedCount_ = 0;

    static void LinkBefore(EventNotice* notice, EventNotice* position);
    static bool ScheduledAfter(const EventNotice& notice, const TextOrigin& origin);
    static EventNotice* NewNotice(ZorvaProcessElement* element, double time, double simTime, std::uint8_t onStateList,
                                  StackSegment&& segment);
};

}  // namespace zorva
