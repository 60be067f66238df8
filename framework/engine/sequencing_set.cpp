#include "engine/sequencing_set.h"

#include <utility>

#include "engine/process_element.h"

namespace zorva {

SequencingSet::SequencingSet(bool indexLongLists) : indexLongLists_(indexLongLists) { StateList.OnStateList = 1; }

SequencingSet::~SequencingSet() { Clear(); }

void SequencingSet::LinkBefore(EventNotice* notice, EventNotice* position) {
    notice->Next = position;
    notice->Prev = position->Prev;
    position->Prev->Next = notice;
    position->Prev = notice;
}

EventNotice* SequencingSet::NewNotice(ZorvaProcessElement* element, double time, std::uint8_t onStateList,
                                      StackSegment segment) {
    auto* notice = new EventNotice;
    notice->Element = element;
    notice->Time = time;
    notice->OnStateList = onStateList;
    notice->SavedStack = std::move(segment);
    element->notice_ = notice;
    return notice;
}

EventNotice* SequencingSet::InsertTimed(ZorvaProcessElement* element, double t, double simTime,
                                        StackSegment segment) {
    EventNotice* notice = NewNotice(element, t, 0, std::move(segment));
    ++timedCount_;
    // A time before the insertion point's goes right before it; only then
    // can the insertion point move back to the new notice.
    const bool beforeInsertionPoint = InsertionPoint->Time > t;
    EventNotice* position = indexActive_           ? TimedPositionByIndex(notice, t)
                            : beforeInsertionPoint ? InsertionPoint
                                                   : TimedPositionByWalk(t);
    LinkBefore(notice, position);
    if (beforeInsertionPoint && simTime < t) InsertionPoint = notice;
    UpdateIndexing();
    return notice;
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
// is simply the first notice of the whole list with a time > t. A multimap
// puts an equal key behind the equal ones already there, as the walk does.
EventNotice* SequencingSet::TimedPositionByIndex(EventNotice* notice, double t) {
    notice->indexed = index_.emplace_hint(index_.upper_bound(t), t, notice);
    const auto next = std::next(notice->indexed);
    return next == index_.end() ? &TimeList : next->second;
}

void SequencingSet::UpdateIndexing() {
    if (!indexActive_ && indexLongLists_ && timedCount_ > kIndexAbove) {
        for (EventNotice* n = TimeList.Next; n != &TimeList; n = n->Next)
            n->indexed = index_.emplace_hint(index_.end(), n->Time, n);
        indexActive_ = true;
    } else if (indexActive_ && timedCount_ < kIndexBelow) {
        index_.clear();
        indexActive_ = false;
    }
}

EventNotice* SequencingSet::InsertState(ZorvaProcessElement* element, double simTime, bool reentry,
                                        StackSegment segment) {
    EventNotice* notice = NewNotice(element, simTime, 1, std::move(segment));
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
        if (indexActive_) index_.erase(notice->indexed);
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
    if (!indexActive_) return;
    index_.clear();
    for (EventNotice* n = TimeList.Next; n != &TimeList; n = n->Next)
        n->indexed = index_.emplace_hint(index_.end(), n->Time, n);
}

void SequencingSet::Clear() {
    for (EventNotice* sentinel : {&TimeList, &StateList}) {
        while (sentinel->Next != sentinel) {
            EventNotice* notice = sentinel->Next;
            Unlink(notice);
            delete notice;
        }
    }
    index_.clear();
    indexActive_ = false;
    timedCount_ = 0;
    InsertionPoint = &TimeList;
    ScanningStateList = false;
    ScanPosition = nullptr;
    ChosenNotice = nullptr;
}

}  // namespace zorva
