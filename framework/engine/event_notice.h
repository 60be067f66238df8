#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/block_pools.h"
#include "engine/element_status.h"
#include "engine/stack_segment.h"

namespace zorva {

class ZorvaProcessElement;

// One pending resumption of an element, in the time list or the state list.
// A sentinel is a notice without an element, at NeverTime.
struct EventNotice {
    EventNotice* Next = this;
    EventNotice* Prev = this;
    ZorvaProcessElement* Element = nullptr;
    double Time = NeverTime;
    StackSegment SavedStack;  // empty for a fresh start
    // When the notice was scheduled: the clock then, or the time a text was
    // sent at for a notice its handling created. Orders notices of equal Time
    // when a model running ahead reads a text late (see TextOrigin).
    double Origin = 0.0;
    std::uint8_t OnStateList = 0;
    std::int8_t OriginRank = 0;  // 0 own; -1 from a model that comes first at equal times, 1 from one after

    // One notice per scheduling: recycled rather than returned to the heap.
    static void* operator new(std::size_t size) { return AllocateNoticeBlock(size); }
    static void operator delete(void* block) { ReleaseNoticeBlock(block); }
};

}  // namespace zorva
