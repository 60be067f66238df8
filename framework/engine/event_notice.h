#pragma once
#include <cstdint>
#include <map>

#include "engine/element_status.h"
#include "engine/stack_segment.h"

namespace zorva {

class ZorvaProcessElement;

// One pending resumption of an element, in the time list or the state list.
// A sentinel is a notice without an element, at NeverTime.
struct EventNotice;

// Ordered index over the time list: time -> notice, equal times in list order.
using TimeIndex = std::multimap<double, EventNotice*>;

struct EventNotice {
    EventNotice* Next = this;
    EventNotice* Prev = this;
    ZorvaProcessElement* Element = nullptr;
    double Time = NeverTime;
    std::uint8_t OnStateList = 0;
    StackSegment SavedStack;  // empty for a fresh start
    TimeIndex::iterator indexed;  // valid while the time list is indexed
};

}  // namespace zorva
