#include "engine/sequencing_set.h"

#include <utility>

#include "engine/process_element.h"
#include "wire/protocol.h"

namespace zorva {

SequencingSet::SequencingSet(bool indexLongLists) : indexLongLists_(indexLongLists) {
    StateList.OnStateList = 1;
}

SequencingSet::~SequencingSet() {
    Clear();
}

void SequencingSet::LinkBefore(EventNotice* notice, EventNotice* position) {
    notice->Next = position;
    notice->Prev = position->Prev;
    position->Prev->Next = notice;
    position->Prev = notice;
}

// Inline: one per scheduling, and at -O2 the compiler otherwise calls it.
inline EventNotice* SequencingSet::NewNotice(ZorvaProcessElement* element, double time, double simTime,
                                             std::uint8_t onStateList, StackSegment&& segment) {
    auto* notice = new EventNotice;
    notice->Element = element;
    notice->Time = time;
    notice->OnStateList = onStateList;
    notice->SavedStack = std::move(segment);
    notice->Origin = simTime;
    element->notice_ = notice;
    return notice;
}

EventNotice* SequencingSet::InsertTimed(ZorvaProcessElement* element, double t, double simTime,
                                        StackSegment&& segment) {
    EventNotice* notice = NewNotice(element, t, simTime, 0, std::move(segment));
    ++timedCount_;
    // A time before the insertion point's goes right before it; only then
    // can the insertion point move back to the new notice.
    const bool beforeInsertionPoint = InsertionPoint->Time > t;
    EventNotice* position = indexActive_           ? TimedPositionByIndex(notice)
                            : beforeInsertionPoint ? InsertionPoint
                                                   : TimedPositionByWalk(t);
    LinkBefore(notice, position);
    if (beforeInsertionPoint && simTime < t) InsertionPoint = notice;
    UpdateIndexing();
    return notice;
}

EventNotice* SequencingSet::InsertTimedFrom(ZorvaProcessElement* element, double t, double simTime,
                                            StackSegment&& segment, const TextOrigin& origin) {
    EventNotice* notice = InsertTimed(element, t, simTime, std::move(segment));
    notice->Origin = origin.Stamp;
    notice->OriginRank = origin.Rank;
    EventNotice* after = notice->Prev;
    while (after != &TimeList && after->Time == t && ScheduledAfter(*after, origin)) after = after->Prev;
    if (after == notice->Prev) return notice;
    // Rare: a notice of the same time scheduled after the text was sent.
    for (EventNotice* passed = after->Next; passed != notice; passed = passed->Next)
        if (InsertionPoint == passed) InsertionPoint = notice;
    notice->Prev->Next = notice->Next;
    notice->Next->Prev = notice->Prev;
    LinkBefore(notice, after->Next);
    if (indexActive_) {
        index_.Clear();
        index_.Build(TimeList.Next, &TimeList);
    }
    return notice;
}

// Steps are taken in the order of their times rounded as they travel, and at
// one such time in the rank order of their models.
bool SequencingSet::ScheduledAfter(const EventNotice& notice, const TextOrigin& origin) {
    const double scheduled = *ParseTime(FormatTime(notice.Origin));
    return scheduled > origin.Stamp || (scheduled == origin.Stamp && notice.OriginRank > origin.Rank);
}

// First come, first served: pass every notice at or before t. The sentinel's
// NeverTime stops the walk for any finite t.
EventNotice* SequencingSet::TimedPositionByWalk(double t) {
    EventNotice* position = InsertionPoint->Next;
    while (position != &TimeList && position->Time <= t) position = position->Next;
    return position;
}

// The clock never decreases and nothing is scheduled on time before it, so
// every notice before the insertion point has a time <= t: the walk's answer
// is simply the first notice of the whole list with a time > t, which the
// index finds without walking.
EventNotice* SequencingSet::TimedPositionByIndex(EventNotice* notice) {
    EventNotice* next = index_.Insert(notice);
    return next ? next : &TimeList;
}

void SequencingSet::SwitchIndexing() {
    if (!indexActive_) {
        index_.Build(TimeList.Next, &TimeList);
        indexActive_ = true;
    } else {
        index_.Clear();
        indexActive_ = false;
    }
}

EventNotice* SequencingSet::InsertState(ZorvaProcessElement* element, double simTime, bool reentry,
                                        StackSegment&& segment) {
    EventNotice* notice = NewNotice(element, simTime, simTime, 1, std::move(segment));
    EventNotice* position = (reentry && ScanPosition) ? ScanPosition : &StateList;
    LinkBefore(notice, position);
    return notice;
}

void SequencingSet::Unlink(EventNotice* notice) {
    if (InsertionPoint == notice) InsertionPoint = notice->Next;
    if (ScanPosition == notice) ScanPosition = notice->Next;
    // A handler that runs while a pass waits may take the chosen element out;
    // the pass must then choose again instead of resuming a freed notice.
    if (ChosenNotice == notice) ChosenNotice = nullptr;
    notice->Prev->Next = notice->Next;
    notice->Next->Prev = notice->Prev;
    notice->Next = notice->Prev = notice;
    if (!notice->OnStateList) {
        --timedCount_;
        if (indexActive_) index_.Erase(notice);
        UpdateIndexing();
    }
    if (notice->Element && notice->Element->notice_ == notice) notice->Element->notice_ = nullptr;
}

void SequencingSet::ShiftTimes(double delta) {
    for (EventNotice* n = TimeList.Next; n != &TimeList; n = n->Next) {
        if (n->Time == NeverTime) continue;
        n->Time += delta;
        if (n->Element) n->Element->EventTime = n->Time;
    }
    if (indexActive_) index_.Build(TimeList.Next, &TimeList);
}

void SequencingSet::Clear() {
    for (EventNotice* sentinel : {&TimeList, &StateList}) {
        while (sentinel->Next != sentinel) {
            EventNotice* notice = sentinel->Next;
            Unlink(notice);
            delete notice;
        }
    }
    index_.Clear();
    indexActive_ = false;
    timedCount_ = 0;
    InsertionPoint = &TimeList;
    ScanningStateList = false;
    ScanPosition = nullptr;
    ChosenNotice = nullptr;
}

}  // namespace zorva
