#include "engine/stack_segment.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "engine/fatal_error.h"
#include "engine/sanitizer_support.h"
#include "engine/stack_switch.h"

namespace zorva {

StackSegment& StackSegment::operator=(StackSegment&& other) noexcept {
    if (this != &other) {
        Free();
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

std::uint32_t StackSegment::Length() const {
    std::uint32_t n = 0;
    if (block_) std::memcpy(&n, block_, sizeof n);
    return n;
}

const unsigned char* StackSegment::Bytes() const {
    return block_ ? static_cast<const unsigned char*>(block_) + sizeof(std::uint32_t) : nullptr;
}

void StackSegment::Free() {
    std::free(block_);
    block_ = nullptr;
}

}  // namespace zorva

extern "C" void* zorva_allocate_segment(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max())
        zorva::FatalError("Error(Suspend): a process stack of more than 4 GiB cannot be saved");
    void* block = std::malloc(sizeof(std::uint32_t) + length);
    if (!block) zorva::FatalError("Error(Suspend): out of memory saving a process stack");
    const auto n = static_cast<std::uint32_t>(length);
    std::memcpy(block, &n, sizeof n);
    return block;
}

extern "C" void zorva_segment_restored(void* block, void* destination) {
    std::uint32_t n = 0;
    std::memcpy(&n, block, sizeof n);
    std::free(block);
    zorva::SanitizerRegionRestored(destination, n);
}
