#include "engine/stack_segment.h"

#include <cstring>

#include "engine/block_pools.h"
#include "engine/sanitizer_support.h"
#include "engine/stack_switch.h"

namespace zorva {

std::uint32_t StackSegment::Length() const {
    std::uint32_t n = 0;
    if (block_) std::memcpy(&n, block_, sizeof n);
    return n;
}

const unsigned char* StackSegment::Bytes() const {
    return block_ ? static_cast<const unsigned char*>(block_) + sizeof(std::uint32_t) : nullptr;
}

}  // namespace zorva

extern "C" void* zorva_allocate_segment(std::size_t length) {  // NOLINT(readability-identifier-naming)
    return zorva::AllocateSegmentBlock(length);
}

extern "C" void zorva_segment_restored(void* block, void* destination) {  // NOLINT(readability-identifier-naming)
    std::uint32_t n = 0;
    std::memcpy(&n, block, sizeof n);
    zorva::ReleaseSegmentBlock(block);
    zorva::SanitizerRegionRestored(destination, n);
}
